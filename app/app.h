#pragma once

#include <SFML/Audio.hpp>
#include <SFML/Graphics.hpp>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/calibration.h"
#include "app/controller.h"
#include "app/options.h"
#include "app/platform.h"
#include "app/vsync_watch.h"
#include "audio/held_samples.h"
#include "profile/replay_file.h"

// The folder, beside the records, where plays are kept.
extern const char* const keptReplayFolder;
// The file that keeps a song's (0..3) last or best scored or explore play.
std::string keptReplayName(int song, bool explore, bool best);

// Watching a recorded play in the game: the player's own last play and records, kept aside
// while the recording plays, and the playback's pacing.
struct WatchState {
    bool active = false;  // a recording is watched, from its start to the way out of its results
    bool paused = false;  // Space holds the playback (not the play's own pause)
    bool soundsHeld = false;   // the play's music was held by that pause
    float owed = 0.0f;         // seconds of real time the playback is behind (or ahead, below 0)
    bool listExplore = false;  // the kind of song list to go back to
    PlayRecording ownPlay;
    bool ownPlayFinished = false;
    unsigned ownSeed = 0;
    std::vector<float> bestCompletion;
    std::vector<float> bestScore;
    std::vector<float> bestExploreTime;
    bool exploreLocked = true;
    // The run's random draws go on from here once the watch ends.
    unsigned runSeed = 0;
};

class Interface;
class Game;
class LoadWithThread;
class TimingChart;
class PictureDecoder;
class SoundDecoder;
class DecodePool;

// The program entry's state: every long-lived object of the run, in order of creation
// (members are destroyed in reverse order), and the frame loop that drives them.
class App {
public:
    explicit App(Platform& platform, const Options& options = Options());
    virtual ~App();

    // The whole program: start-up, frame loop, end. Returns the exit status.
    int run();

    // Start-up (log, seed, window, loading). Returns -1 when the loop may start,
    // otherwise the exit status to end with.
    int startUp();
    // One frame of the loop. False when the loop is to end (quit, or a play-start failure).
    bool frame();
    // The window's and the controllers' events of the frame, to the screens. False when the
    // loop is to end.
    bool pollEvents();
    // The steps of a frame (frame() marks it for the decoding threads).
    bool frameSteps();
    // End of the program after the loop: profile saved, "Exiting !", log closed.
    // Returns the exit status.
    int finish();

    // Hooks of the start-up and of the screens.
    int loadBoardTextures();  // loading picture, gauges, atlas; -1 to go on
    int startUpInterface();   // interface, game, sounds; -1 to go on
    void handleEvent(const sf::Event& event);
    void drawInterface();
    void frameStep();
    // Ends the program from inside a frame (a play-start failure) with this status.
    void failFrame(int status);
    // Waits for the background loader (unless it has finished) and deletes it.
    void endLoader();
    // Opens the window again as asked (full screen or a window of a size) and lays
    // everything out for its new size, keeping every picture loaded. Alt+Return comes here.
    void applyWindow(const WindowRequest& request);
    // The layout of the window's present size: the drawn area and its view, the
    // interface, the board of the routes and particles, and the kept profile values.
    void layoutWindow();

    // Menu screens (screens_menu.cpp).
    bool menuInputBlocked() const;
    void mainMenuEvent(const sf::Event& event);
    void levelSelectEvent(const sf::Event& event);
    // Its steps: the mouse over and on the rows, the keys.
    void pointAtListRow();
    void clickListRow();
    void listKey(sf::Keyboard::Key key);
    void moveSongHighlight(bool up);
    void moveExploreHighlight(bool up);
    void startHighlighted();
    void makingOfEvent(const sf::Event& event);
    void mainMenuStep();
    void levelSelectStep();
    void makingOfStep();
    void startPlay();
    // At the start of every scored or explore play, before its first random draw: the play's
    // own seed is drawn from the run's generator (playSeed) and the generator starts again
    // from it, so that the play depends on that one number and its inputs.
    void seedPlay();
    // At every play start: the offsets the play is heard and judged with (Game audioOffset and
    // inputOffset), the options' or, in a play played again, its recording's.
    void takePlayOffsets();

    // Recorded plays (play_recording.cpp). Every scored or explore play is recorded from its
    // start (seedPlay) frame by frame into lastRecording, finished with its results when they
    // show; a play left any other way (the tutorial's Escape) leaves it unfinished.
    void beginRecording();
    // The frame just played: its time, its inputs and the play's fingerprint after it.
    void recordFrame();
    // What the results panel shows of the play now, and whether the results came by themselves.
    ReplayResults playResults(int shownScore, float completion, bool ended) const;
    void endRecording(const ReplayResults& results);
    // A play whose results showed is kept as the last play of its song and kind, and, when it
    // set a record, as the best (keptReplayName); a file that cannot be written says so in one
    // line and the game goes on.
    void keepRecording();
    // A pause key, the pause panel's resume button or its quit button, taking effect (one of
    // ReplayInput's pauseKey, resumeClick, quit).
    void playAction(std::uint32_t action);

    // Playing a recording again (--replay): the recording's seed starts the run and its play,
    // which begins at the first frame; its frame times stand for the clock and its inputs for
    // the player's. When the play's results show (or the recording's frames run out), the two
    // plays are compared and the run ends with replayStatus.
    bool replaying() const { return replaySource && recordingOpen; }
    void startReplayedPlay();
    // The recorded frame's time and inputs for this frame. False when none is left.
    bool takeReplayedFrame();
    // The pause keys and panel buttons of the recorded frame, as the events took effect.
    void applyReplayedActions();
    void finishReplay();

    // Watching a recorded play (watch_play.cpp): the play of a results panel again, or the
    // best play of a song on the song list, runs from its recording at the speed it was played,
    // in the game, with its music and pictures. Neither the records, the log nor the kept plays
    // change, and the player's own last play stays lastRecording.
    // The results panel's watch button and W: the play whose results show (lastRecording), or
    // the watched one again.
    bool canWatchResults() const;
    void watchResults();
    // The song list's W (the highlighted song) and a click on a row's sign: that song's kept
    // best play of the list's kind. A file that cannot be played is one line on standard
    // error and the error sound; the list stays.
    void chooseKeptPlay(int song);
    // Whether each song's best play of the list's kind is kept, shown on the list.
    void showKeptPlays();
    // Starts watching `recording`: what the player's own play leaves is kept aside.
    void beginWatch(std::unique_ptr<PlayRecording> recording);
    // Space and Escape while the recording plays.
    void watchEvent(const sf::Event& event);
    void toggleWatchPause();
    // A frame while the recording plays: as many of its frames as the real time since the
    // last one calls for (none while paused), the last one drawn.
    bool watchedFrames();
    // The watched play's results show: the player's records are as they were, and a play that
    // went another way than the recorded one says so.
    void endWatchedPlay();
    // The way out of the watch: the player's own play, records and random draws are back.
    void stopWatching();
    // The player's records as they were before the watch.
    void restoreRecords();

    // Play screens (screens_play.cpp).
    void playEvent(const sf::Event& event);
    void resultsEvent(const sf::Event& event);
    void tutorialEvent(const sf::Event& event);
    void playStep();
    void tutorialFrameStep();
    void quitPlay();
    void leaveToLevelSelect();
    void restartPlay();
    void pollPlayKeys(bool developerKeys);
    // A key held now, or in a play played again its bit in the recorded frame.
    bool heldOrReplayed(sf::Keyboard::Key key, std::uint32_t bit) const;
    void drawRoutes();
    // The play as it stands, without a step (a watched play held or ahead of its time).
    void drawPlayStill();
    void drawPauseOverlay();
    void drawResultsOverlay();
    // The play's timing per route, laid out on the results panel where it stands now.
    TimingChart timingChart() const;

    // Options panel (screens_options.cpp): the main menu's top direction.
    void openOptions();
    void optionsEvent(const sf::Event& event);
    void optionsStep();
    void showOptionsValues();
    void changeOption(int row, int direction);
    void dragVolume();
    // Each change takes effect at once and is kept in the settings file.
    void setVolume(int volume, bool keep);
    void chooseDisplay(int choice);
    void choosePacing(int pacing);
    // Keeps one setting in the settings file, unless the file is locked (the panel says so).
    bool keepSetting(const std::string& name, const std::string& value);
    int framePacing() const;   // a FramePacing
    unsigned capRate() const;  // the display's refresh rate, 60 when unknown
    // The route keys' row: a slot is chosen with Left/Right or a click; on a route's slot,
    // Return or the click waits for the next key pressed, which becomes the route's key
    // unless keyRefusal refuses it (the slot then flashes red with the reason, and the error
    // sound plays); Escape gives up waiting. The reset button binds the default keys.
    void chooseKeySlot(int slot, bool start);
    void bindAwaitedKey(sf::Keyboard::Key key);
    // The run's route keys from now on: the play, the controller, the pictures; kept in the
    // settings file when keep is set.
    void bindRouteKeys(const sf::Keyboard::Key keys[4], bool keep);

    // Calibration pages (screens_calibration.cpp), from the options panel's calibration row:
    // the listening test, the watching test, then the results with apply, retry and back.
    void openCalibration();
    void calibrationEvent(const sf::Event& event);
    void calibrationStep();
    void startTapTest(int page);
    void calibrationTap();
    // The beat's click, started so that its sound begins on the beat.
    void scheduleBeatClicks();
    // The watch test's creature where it is at the frame's time, placed before the frame is
    // drawn (the interface is drawn before the screen's frame step).
    void placeHoppingCreature();
    void finishTapTest();
    void showCalibrationPage();
    void pressCalibrationButton(int button);
    void leaveCalibration();
    bool loadBeatClick();

    // Small shared actions.
    sf::Vector2f mousePosition() const;
    void click();
    void errorSound();
    void playMenuLoop();
    void applyMenuVolumes();
    // The decode pool of the run, made on first use (at start-up).
    DecodePool& pool();

    Platform& platform;
    Options options;

    // Frame loop.
    bool quitRequested = false;
    float previousStamp = 0.0f;
    float frameDelta = 0.0f;
    // Whether the vertical sync asked for is in effect, told from the frame times.
    VsyncWatch vsyncWatch;
    int failStatus = -1;

    // Long-lived objects, in order of creation.
    std::ofstream log;
    // Decodes pictures and sounds ahead for every batch of the run: the start-up's, the song
    // list's and the song loader's. Made before, and gone after, every batch it decodes.
    std::unique_ptr<DecodePool> decodePool;
    sf::Texture loadingTexture;
    sf::Sprite loadingSprite;
    std::vector<std::vector<sf::Texture>> atlasTextures;
    std::vector<sf::Texture> slimeTextures;
    std::vector<sf::Texture> gaugeTextures;
    sf::Texture buttonTexture;
    std::unique_ptr<Interface> iface;
    std::unique_ptr<Game> game;
    std::vector<std::vector<sf::Sound>> waveSounds;
    std::vector<std::vector<HeldBuffer>> waveBuffers;
    std::vector<HeldBuffer> droneBuffers;
    std::vector<HeldBuffer> menuBuffers;
    std::vector<sf::Sound> touchSounds;
    std::vector<HeldBuffer> touchBuffers;
    std::vector<sf::Sound> menuSounds;
    std::unique_ptr<LoadWithThread> backgroundLoader;
    // Tests: called with each play's loader right before it starts (to hold it back, say).
    std::function<void(LoadWithThread&)> beforeLoaderLaunch;
    // Start-up pictures and sounds decoded ahead (from loadBoardTextures until used), and
    // the pictures of the plays the song list may start (from the list's opening) with the
    // first sounds of the likeliest one (once the pictures are done).
    std::unique_ptr<PictureDecoder> startUpPictures;
    std::unique_ptr<SoundDecoder> startUpSounds;
    std::unique_ptr<PictureDecoder> playPictures;
    std::unique_ptr<SoundDecoder> playSounds;
    int playSoundsSong = -1;  // whose first sounds playSounds holds
    int lastSong = -1;        // the song of the last play started
    unsigned playSeed = 0;    // the seed the last scored or explore play started from

    // The scored or explore play being recorded, or the last one.
    PlayRecording lastRecording;
    bool recordingOpen = false;      // frames are being added to lastRecording
    bool recordingFinished = false;  // lastRecording holds a whole play and its results
    // The play's inputs in this frame (ReplayInput bits), gathered as they take effect.
    std::uint32_t frameInputs = 0;
    // The recording played again, when there is one; -1 until the comparison, then 0 (the
    // same play and results) or 3 (another).
    std::unique_ptr<PlayRecording> replaySource;
    bool replayStartPending = false;
    int replayStatus = -1;
    // Watching a recording in the game; the one chosen on the song list, started by the
    // list's frame step.
    WatchState watch;
    std::unique_ptr<PlayRecording> chosenKeptPlay;

    // Play keys pressed (as events) during this frame, counted even when released before
    // the keyboard is polled.
    bool pressedThisFrame[4] = {false, false, false, false};
    // Game controllers, as the keys they stand for.
    PadKeys padKeys;
    std::vector<sf::Event> padEvents;

    // Kept from the display profile for every play start.
    float keptScaleX = 1.0f;
    float keptMenuTopOffset = 0.0f;
    // Size of the drawn area: the window, or its middle of the closest picture set's shape.
    unsigned windowWidth = 0;
    unsigned windowHeight = 0;
    // How the window was opened last.
    WindowRequest windowRequest;
    // Without vertical sync, the frames are capped at the display's refresh rate.
    bool framesCapped = false;
    // The volume slider follows the mouse while its button is held.
    bool draggingVolume = false;
    // The options panel waits for the key to bind to the chosen slot's route; a refused key
    // shows its reason for keyRefusalTime seconds.
    int keySlot = 0;  // 0..3 a route's key, resetSlot
    bool awaitingKey = false;
    int keyRefusalShown = 0;  // a KeyRefusal
    float keyRefusalTime = 0.0f;
    // Where the options panel keeps the player's changes.
    std::string settingsPath = settingsFileName;

    // The calibration: the page shown (a CalibrationPage), the test under way, the results of
    // the two tests and the offsets they give; the page's texts are written again when what
    // they say changes (calibrationShown).
    int calibrationPage = 0;
    TapTest tapTest;
    TapResult listenResult;
    TapResult watchResult;
    CalibrationOffsets measuredOffsets;
    int calibrationChoice = 0;
    int calibrationShown = -1;
    bool menuMusicPaused = false;
    // Route keys held down: the window repeats a held key's press, which is no new tap.
    bool tapKeysDown[4] = {false, false, false, false};
    // The beat's click: the generated click after beatClickLead seconds of silence, so that
    // it can be started ahead of its beat (scheduleBeatClicks). Where the last one started
    // (clock seconds) and at which playing offset, for tests.
    sf::SoundBuffer beatClickBuffer;
    sf::Sound beatClick;
    bool beatClickLoaded = false;
    double beatClickStartedAt = -1.0;
    double beatClickOffset = 0.0;
};
