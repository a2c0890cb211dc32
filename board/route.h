#pragma once

#include <SFML/Audio/Sound.hpp>
#include <SFML/Graphics/RenderTarget.hpp>
#include <SFML/Graphics/Sprite.hpp>
#include <SFML/Graphics/Texture.hpp>
#include <array>
#include <memory>
#include <vector>

#include "board/board_layout.h"
#include "board/particle.h"

// By song.
extern const int missToleranceOfSong[4];
extern const int fillStepOfSong[4];
extern const int exploreLoopCount[4];
// A launch happens when rand() % 15 < launchChance[song][gaugeLevel], levels 0..9.
extern const int launchChance[4][10];

// A route's launch phase: 0..2 warming up, then the first launch, then normal launches (explore
// launches in an explore play); the game switches normal to a special phase and to the final
// stage's, winds the final stage down near its end, and holds the tutorial's routes in theirs.
namespace RoutePhase {
const int warmingUp = 0;  // .. 2
const int firstLaunch = 3;
const int normal = 4;
const int specialEasy = 5;
const int specialHard = 6;
const int finalStage = 7;
const int windingDown = 8;  // no launches
const int tutorial = 9;
const int explore = 10;
}  // namespace RoutePhase

// A route's button: idle, pressed by the key, held (from the frame after), released (1/12 s
// after the key is let go), then idle again 1/12 s later.
namespace ButtonState {
const int idle = 0;
const int pressed = 1;
const int held = 2;
const int released = 3;
}  // namespace ButtonState

// How a route's creatures ended over one play: caught in time, too early, too late, or
// missed (never caught, or spoilt by a held key).
struct CatchTally {
    int good = 0;
    int early = 0;
    int late = 0;
    int missed = 0;
    void count(int judgement);
};

// How far from their ideal moment a route's catches came over one play, in ms (positive:
// late), kept as three counters so that nothing grows during the play.
struct CatchTiming {
    int count = 0;
    double sumMs = 0.0;
    double sumSquaresMs = 0.0;
    void add(double ms);
    double meanMs() const;
    double spreadMs() const;  // the standard deviation
};

// One of the four routes of the board: launches particles on the song's beat, judges the
// player's presses, scores finished particles, keeps the gauge, animates slime and button,
// and plays its layered share of the song.
class Route {
public:
    Route(int index, float volumeFactor);
    virtual ~Route() = default;

    // The per-frame step, dt in seconds.
    void update(float dt);
    void launchParticle(int a1, int a2, int a3);
    void launchTrickParticle(int a1, int a2, int a3, int rewindSeed, int blinkSeed);
    // Draws button, slime (once shown), the filled gauge cells and the particles.
    void drawOn(sf::RenderTarget& target) const;

    // Music score -> gauge level 0..10, and gauge level -> layers deserved.
    int fillLevel(int n) const;
    int layersForLevel(int level) const;
    void setFillCount(int n);

    // Layered music.
    void startErrorMusic();
    // Plays the current layer and its silent companion from `offset` seconds into the loop
    // (heard audioShift seconds ahead).
    void startLayers(float offset = 0.0f);
    void stopNextLayer();
    void switchToNextLayer();
    void pauseLayers(bool explore);
    void resumeLayers(bool explore);
    void stopSoundsOnRoute();
    float audibleVolume();
    void setAudibleVolume(float v);
    void setAudibleOffset(float t);

    // The steps of update, in their order.
    void updateSlime(float dt);
    void updateGauge(float dt);
    void updateGlide(float dt);
    void updateButton(float dt);
    void updateLauncher(float dt);
    void updateLoopScheduler(float dt);
    void updateExploreSequencer(float dt);
    void updateErrorMusic(float dt);
    void advanceLoopTimer(float dt);
    void resolveParticles();
    void updateParticles(float dt);

    // Parts of those steps. launchPhase runs the launcher's beat by phase, one step each.
    void launchPhase();
    void warmUp();
    void launchFirst();
    void launchNormal();
    void launchSpecial();
    void launchFinal();
    void launchForTutorial();
    void launchExplore();
    bool stillWaiting();
    int songZeroExtraWait() const;
    void updateLayers();
    // What a loop boundary does in normal play (the loop scheduler's).
    void passLoopBoundary();
    // A catch judged `ago` seconds of the particle's time before now (the input offset).
    void catchParticle(Particle& particle, int landing, bool spoilt, float ago = 0.0f);
    // Judges a press counted as made `ago` seconds of the particles' time before now.
    void judgePress(float ago);
    // A particle that finished uncaught stays within reach of a press counted as made earlier.
    bool withinReach(const Particle& particle) const;
    // The loop as it is heard: the layers' starts ahead of a boundary (the music heard ahead
    // of the board) or after it (heard behind).
    void followHeardLoop();
    bool restartsAtBoundary() const;
    // Layers started ahead of the boundary that the boundary did not keep are stopped.
    void settleLayersAhead();
    void showGaugeCell(int cell, int state);
    void showButtonFrame();
    float beatLength() const;
    // Places slime, button, gauge cells and particles again for the board scale and
    // offset now shared by the routes (relayoutRoutes).
    void relayout();
    // Where the slime's picture stands when it shows frame `frame`.
    sf::Vector2f slimeFramePosition(int frame) const;

    int missStreak = 0;
    int hits = 0;
    int misses = 0;
    std::vector<Particle> particles;
    int index = 0;
    int song = 0;
    float loopLength = 0.0f;
    sf::Sprite slimeSprite;
    sf::Sprite buttonSprite;
    std::vector<sf::Sprite> gaugeSprites;
    float buttonPosX = 0.0f;
    float buttonPosY = 0.0f;
    float slimePosX = 0.0f;
    float slimePosY = 0.0f;
    int slimeFrame = -1;                  // frame of the slime shown, -1 before the first
    std::array<int, 11> gaugeCellStates;  // state each cell shows, -1 never shown
    float speedFactor = 1.0f;
    int fillCount = 0;
    int missTolerance = 0;
    int fillStep = 1;
    int fillMax = 11;
    bool grabStarted = false;
    bool musicRunning = false;
    bool firstGrabEvent = false;
    bool finalSignal = false;
    bool fullSignal = false;
    bool gaugeBounceUp = false;
    bool slimeShown = false;
    bool stopEvent = false;
    bool tutorialLaunch = false;
    bool missedPress = false;
    bool specialPlaying = false;
    bool errorMusicOn = false;
    bool volumeGlide = false;
    bool gaugeRising = false;
    int rampA = 0;
    int rampB = 0;
    int tutorialResult = 0;
    int buttonState = 0;
    int gaugeLevel = 0;
    int phase = 0;
    int gaugePhase = 3;
    int exploreMode = 0;
    int exploreQuota = 0;  // gauge cells an explore play starts with
    bool loopToggle = false;
    bool missEvent = false;
    bool hitEvent = false;
    int beatCount = 0;
    int waitCounter = 0;
    int minWait = 5;
    int layerCount = 0;
    int layerTotal = 0;
    int exploreLayer = -1;
    int specialCheck = 0;
    int specialLaunches = 0;
    int currentLayer = -1;
    int nextLayer = -1;
    int specialKind = 0;
    int errorKind = 0;
    int errorStep = 0;
    int exploreRepeats = 0;
    float glideStep = 2.0f;
    float volumeFactor = 1.0f;
    float slimeTimer = 0.0f;
    float gaugeTimer = 0.0f;
    float loopTimer = 0.0f;
    float loopCarry = 0.0f;  // what a plain float sum of the frames would lose of loopTimer
    float beatTimer = 0.0f;
    float buttonTimer = 0.0f;
    float glideTimer = 0.0f;
    float errorTime = 0.0f;
    float errorLength = 0.0f;
    float errorReturnOffset = 0.0f;
    float glideTarget = 50.0f;
    float baseVolume = 50.0f;
    CatchTally tally;  // the play's timing, shown on its results
    // The play's offsets, seconds. audioShift: the music is heard that much ahead of the board
    // (behind when negative), on the loop grid. inputShift: a press counts as made that much
    // earlier (later when negative).
    float audioShift = 0.0f;
    float inputShift = 0.0f;
    // A press counted as made later waits pressWait more seconds to be judged.
    bool pressDue = false;
    float pressWait = 0.0f;
    // Heard behind: the layers started at the boundary sound once the board is audioShift past
    // it. Heard ahead: the layers started before the boundary, one bit per layer.
    bool layersDue = false;
    unsigned layersAhead = 0;
    CatchTiming timing;  // and how early or late its catches were

    // Shared by every route, set by setupRouteResources before every play.
    static std::vector<sf::Texture>* slimeTextures;
    static std::vector<sf::Texture>* gaugeTextures;
    static std::unique_ptr<sf::Texture> buttonTexture;
    static std::vector<std::vector<sf::Sound>>* waveLayers;
    static float windowWidth;
    static float boardScale;
    static float menuTopOffset;
    static float frameRectScale;
    static int mode;
    // Told of every start of a layer, with the playing offset it was started at; null in
    // the game (benchmarks and tests listen here to know where the sound is).
    static void (*onLayerStart)(const Route& route, int layer, float offset);

private:
    // The only way to a sound of the route's layer list: null for an index outside the list,
    // while the list is not there, or while the loader has not yet handed that layer over.
    sf::Sound* layerSound(int k);
    // The layer the player hears: exploreLayer in explore mode when set, else currentLayer.
    sf::Sound* audibleSound();
    // Starts layer k over at volume v, `offset` seconds in (left at 0 past the sound's end).
    // A layer started ahead of this boundary plays on, at volume v.
    void playLayer(int k, float volume, float offset);
    // Starts layer k over at its volume, `offset` seconds in.
    void restartLayer(int k, float offset);
    // The explore layer starts at volume v at `offset` seconds into the loop, as heard.
    void startExploreLayer(float volume, float offset);
    int audibleLayer() const;
};

// Hands the routes their pictures, their wave layers and the board layout of this play.
void setupRouteResources(std::vector<sf::Texture>& slimeTextures, const sf::Texture& buttonTexture,
                         std::vector<sf::Texture>& gaugeTextures,
                         std::vector<std::vector<sf::Sound>>* waveLayers, float windowWidth,
                         float menuTopOffset, int mode);
// The part of it without pictures: wave layers, board scale and offset, mode.
void setupRouteLayout(std::vector<std::vector<sf::Sound>>* waveLayers, float windowWidth,
                      float menuTopOffset, int mode);
// A new board width and offset during a play or between plays: the routes' and the
// particles' shared scale follows and every route is placed again.
void relayoutRoutes(std::vector<Route>& routes, float windowWidth, float menuTopOffset);
