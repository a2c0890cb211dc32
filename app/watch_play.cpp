// Watching a recorded play in the game: from the results panel, the play just played; from
// the song list, a song's kept best play.
#include <array>
#include <cstdlib>
#include <filesystem>
#include <iostream>

#include "app/app.h"
#include "app/options.h"
#include "app/play_screen.h"
#include "board/route.h"
#include "game/game.h"
#include "ui/interface.h"

namespace {
// At most this many recorded frames in one frame of the display: a display much slower than
// the recording's frames lets the playback fall behind rather than stall.
const int maxFramesPerDisplayFrame = 16;
}  // namespace

bool App::canWatchResults() const {
    return iface && iface->Screen == Results && recordingFinished && !recordingOpen &&
           !lastRecording.frames.empty();
}

void App::watchResults() {
    // The watched play again, or the play whose results show; its song is the one loaded.
    auto recording = std::make_unique<PlayRecording>(watch.active ? *replaySource : lastRecording);
    beginWatch(std::move(recording));
    Interface& ui = *iface;
    Game& g = *game;
    g.breakMusic.stop();
    platform.setMouseCursorVisible(false);
    g.mode = replaySource->mode;
    g.explorePlay = replaySource->explore;
    seedPlay();
    startRoutes(ui, g);
    ui.Screen = g.explorePlay ? Exploring : Playing;
    ui.pauseShown = false;
    ui.hintVisible = false;
}

void App::chooseKeptPlay(int song) {
    const std::string name = keptReplayName(song, game->explorePlay, true);
    auto recording = std::make_unique<PlayRecording>();
    const ReplayRefusal refusal = readReplayFile(name, *recording);
    if (refusal != ReplayRefusal::none) {
        std::cerr << "mirevo: " << quotedText(name) << " " << replayRefusalText(refusal)
                  << std::endl;
        errorSound();
        return;
    }
    click();
    chosenKeptPlay = std::move(recording);
}

void App::showKeptPlays() {
    std::array<bool, 4> kept = {false, false, false, false};
    for (int song = 0; song < 4; ++song) {
        std::error_code error;
        kept[song] =
            std::filesystem::is_regular_file(keptReplayName(song, game->explorePlay, true), error);
    }
    iface->showKeptPlays(kept);
}

void App::beginWatch(std::unique_ptr<PlayRecording> recording) {
    Interface& ui = *iface;
    if (!watch.active) {
        watch.active = true;
        watch.listExplore = game->explorePlay;
        watch.ownPlay = std::move(lastRecording);
        watch.ownPlayFinished = recordingFinished;
        watch.ownSeed = playSeed;
        watch.bestCompletion = ui.bestCompletion;
        watch.bestScore = ui.bestScore;
        watch.bestExploreTime = ui.bestExploreTime;
        watch.exploreLocked = ui.exploreLocked;
        watch.runSeed = static_cast<unsigned>(std::rand());
    }
    lastRecording = PlayRecording();
    recordingOpen = false;
    recordingFinished = false;
    replaySource = std::move(recording);
    watch.paused = false;
    watch.soundsHeld = false;
    watch.owed = 0.0f;
    ui.showReplaySign(true, false);
}

void App::watchEvent(const sf::Event& event) {
    if (event.type != sf::Event::KeyPressed) return;
    if (event.key.code == sf::Keyboard::Space) {
        toggleWatchPause();
    } else if (event.key.code == sf::Keyboard::Escape) {
        click();
        leaveToLevelSelect();
    }
}

void App::toggleWatchPause() {
    Game& g = *game;
    watch.paused = !watch.paused;
    if (watch.paused) {
        // The music is held unless the recorded play holds it already (its own pause).
        watch.soundsHeld = !g.paused;
        if (watch.soundsHeld) g.pauseSounds();
    } else if (watch.soundsHeld) {
        g.resumeSounds();
        watch.soundsHeld = false;
    }
    // The real time of the pause is not owed to the playback.
    watch.owed = 0.0f;
    iface->showReplaySign(true, watch.paused);
}

bool App::watchedFrames() {
    sf::RenderTarget& target = platform.target();
    if (!watch.paused) watch.owed += frameDelta;
    int played = 0;
    while (!watch.paused && replaying() && played < maxFramesPerDisplayFrame) {
        const std::size_t next = lastRecording.frames.size();
        if (next >= replaySource->frames.size()) {
            // A recording that ends before its play's results.
            std::cerr << "mirevo: replay: stopped before the recorded play's end" << std::endl;
            leaveToLevelSelect();
            break;
        }
        // A recorded frame is played once the real time has reached its middle, so that a
        // display as fast as the recording plays one of them in each of its frames.
        const float frameTime = replaySource->frames[next].frameTime;
        if (watch.owed < frameTime / 2) break;
        watch.owed -= frameTime;
        takeReplayedFrame();
        applyReplayedActions();
        target.clear(sf::Color(0, 0, 0, 255));
        drawInterface();
        frameStep();
        if (failStatus >= 0) return false;
        ++played;
    }
    if (played == maxFramesPerDisplayFrame) watch.owed = 0.0f;
    if (played == 0) {
        target.clear(sf::Color(0, 0, 0, 255));
        drawInterface();
        if (iface->Screen == Playing || iface->Screen == Exploring) drawPlayStill();
    }
    platform.display();
    return true;
}

void App::endWatchedPlay() {
    restoreRecords();
    // It sets no record of the player's.
    iface->newRecord = false;
    iface->firstCompletion = false;
    const int diverged = firstDivergentFrame(*replaySource, lastRecording);
    if (diverged >= 0) {
        std::cerr << "mirevo: replay: the play went another way from frame " << diverged << " of "
                  << replaySource->frames.size() << std::endl;
    } else if (lastRecording.results != replaySource->results) {
        std::cerr << "mirevo: replay: the play went the same way to other results" << std::endl;
    }
}

void App::restoreRecords() {
    Interface& ui = *iface;
    ui.bestCompletion = watch.bestCompletion;
    ui.bestScore = watch.bestScore;
    ui.bestExploreTime = watch.bestExploreTime;
    ui.exploreLocked = watch.exploreLocked;
    if (ui.exploreLocked && ui.menuTextSprites.size() > MenuText::exploreItem) {
        ui.menuTextSprites[MenuText::exploreItem].setColor(sf::Color(255, 255, 255, 50));
    }
    ui.refreshRecordTexts();
    ui.updateCompletionDots();
}

void App::stopWatching() {
    if (!watch.active) return;
    restoreRecords();
    lastRecording = std::move(watch.ownPlay);
    recordingFinished = watch.ownPlayFinished;
    recordingOpen = false;
    playSeed = watch.ownSeed;
    replaySource.reset();
    std::srand(watch.runSeed);
    iface->showReplaySign(false, false);
    watch = WatchState();
}
