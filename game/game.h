#pragma once

#include <SFML/Audio/Music.hpp>
#include <SFML/Audio/Sound.hpp>
#include <vector>

#include "board/route.h"
#include "game/play_events.h"

// Everything that belongs to one play of a song: the four routes, the drones, the song's
// final music, the counts and the score, and the clocks of the final stage. The frame loop
// reads and writes the fields directly; what the screen is to show, the game reports as
// events and the frame loop shows.
class Game {
public:
    Game();
    virtual ~Game() = default;
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    // Opens the final music of a song (0..3). False when the file cannot be opened.
    bool loadBreakMusic(int song);
    // Starts a new play of `mode`: clears the old one, draws the route set-up, builds the routes.
    void initRoutes();
    // Ends the current play: stops the route sounds and drones, drops the routes, resets counts.
    void clearRoutes();

    void startDrone();
    void stopDrones();
    void pauseDrone();
    void resumeDrone();
    // Holds the play's music: the drone, the final music once its stage has begun, the
    // routes' layers. resumeSounds picks it up again: the final music, or else the routes'
    // layers; then the drone.
    void pauseSounds();
    void resumeSounds();
    // Picks up a paused play: its sounds, and paused is cleared.
    void resumePlay();
    // Starts the final music as heard against the board: audioOffset seconds in, or, heard
    // behind, once the final stage is that far in (finalStageStep).
    void startBreakMusic();

    // One frame of the play (not while the pause panel shows), on the screen `view`.
    PlayEvents update(float dt, const PlayView& view);
    void startFinalStage();
    // The final stage's clock, run by the frame loop after update while finalStageStarted is
    // set, paused or not. Reports the countdown, and ScoredPlayEnded in the frame a scored
    // play ends.
    PlayEvents finalStageStep(float dt, const PlayView& view);

    void addHit();
    void checkSpecials();
    void raiseDifficulty();

    // Song of the current mode (0 for a mode outside 0..3) and its final-stage length.
    int song() const;
    float stageLength() const;

    std::vector<sf::Sound> drones;
    sf::Music breakMusic;
    std::vector<Route> routes;
    std::vector<int> routeOrder;
    int mode = 0;
    int droneIndex = 0;
    int fullRouteCount = 0;  // -1 once the final stage has begun
    int idleRouteCount = 0;
    int hitCount = 0;
    int missCount = 0;
    float score = 0.0f;
    bool explorePlay = false;
    bool stopRequested = false;
    bool finalStageStarted = false;
    bool tutorialPlay = false;
    bool dronePlaying = false;
    bool startPending = false;
    bool restartPending = false;
    bool paused = false;
    bool forceFull = false;
    float totalTime = 0.0f;
    float stageTime = 0.0f;
    float exploreTimer = 0.0f;
    int musicLoops = 0;
    float tickAccumulator = 0.0f;
    // Master volume by which the game's sounds are multiplied (the interface's, kept equal
    // by the frame loop).
    float volumeFactor = 1.0f;
    // The play's offsets in seconds, set by the frame loop before each play's routes are built
    // and handed to them: the music is heard audioOffset ahead of the board (behind when
    // negative); a press counts as made inputOffset earlier (later when negative).
    float audioOffset = 0.0f;
    float inputOffset = 0.0f;
    // Heard behind the board, the final music waits for its moment.
    bool breakMusicDue = false;
    std::vector<int> routeHits;
    std::vector<int> routeMisses;

private:
    // A shuffled 0, 1, 2, 3: for p = 1, 2, 3, swaps p with rand() % (p + 1).
    static void shuffleFour(int order[4]);
    bool fourRoutes() const { return routes.size() == 4; }
};
