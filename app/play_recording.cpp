#include <algorithm>
#include <filesystem>
#include <iostream>
#include <system_error>

#include "app/app.h"
#include "board/route.h"
#include "core/songs.h"
#include "game/game.h"
#include "game/play_state.h"
#include "mirevo_version.h"
#include "ui/interface.h"

const char* const keptReplayFolder = "replays";

namespace {
// Frames reserved at every play start: over ten minutes at a hundred frames a second. A
// longer play grows the list, seldom.
const std::size_t reservedFrames = 65536;
}  // namespace

void App::beginRecording() {
    PlayRecording& rec = lastRecording;
    rec.gameVersion = MIREVO_VERSION;
    rec.mode = game->mode;
    rec.explore = game->explorePlay;
    rec.seed = playSeed;
    // The play's settings (its route keys and offsets): a recording played again brings those
    // it was played with (takePlayOffsets gave the game the recording's offsets).
    for (int r = 0; r < 4; ++r) {
        rec.routeKeys[r] = replaySource ? replaySource->routeKeys[r]
                                        : static_cast<std::int32_t>(options.routeKeys[r]);
    }
    rec.audioOffset = game->audioOffset;
    rec.inputOffset = game->inputOffset;
    rec.frames.clear();
    rec.frames.reserve(reservedFrames);
    rec.results = ReplayResults();
    recordingOpen = true;
    recordingFinished = false;
}

void App::recordFrame() {
    lastRecording.frames.push_back(ReplayFrame{frameDelta, frameInputs, playStateChecksum(*game)});
}

ReplayResults App::playResults(int shownScore, float completion, bool ended) const {
    const Game& g = *game;
    ReplayResults r;
    r.shownScore = shownScore;
    r.score = g.score;
    r.hits = g.hitCount;
    r.misses = g.missCount;
    r.completion = completion;
    r.playTime = g.totalTime;
    r.ended = ended;
    for (int i = 0; i < 4 && g.routes.size() == 4; ++i) {
        const CatchTally& t = g.routes[i].tally;
        r.routes[i] = ReplayRouteResult{t.good, t.early, t.late, t.missed};
    }
    return r;
}

void App::endRecording(const ReplayResults& results) {
    lastRecording.results = results;
    recordingOpen = false;
    recordingFinished = true;
    if (watch.active) {
        endWatchedPlay();
    } else if (replaySource) {
        finishReplay();
    } else if (results.ended) {
        keepRecording();
    }
}

std::string keptReplayName(int song, bool explore, bool best) {
    return std::string(keptReplayFolder) + "/song" + std::to_string(song + 1) +
           (explore ? "-explore-" : "-scored-") + (best ? "best" : "last") + ".replay";
}

void App::keepRecording() {
    std::error_code error;
    std::filesystem::create_directories(keptReplayFolder, error);
    const int song = songOfMode[lastRecording.mode];
    for (const bool best : {false, true}) {
        if (best && !iface->newRecord) continue;
        const std::string name = keptReplayName(song, lastRecording.explore, best);
        if (!writeReplayFile(name, lastRecording)) {
            std::cerr << name << ": the play cannot be kept" << std::endl;
        }
    }
}

void App::playAction(std::uint32_t action) {
    Interface& ui = *iface;
    Game& g = *game;
    frameInputs |= action;
    if (action == ReplayInput::quit) {
        quitPlay();
    } else if (action == ReplayInput::resumeClick) {
        click();
        ui.togglePause();
    } else if (action == ReplayInput::pauseKey) {
        ui.togglePause();
        if (ui.pauseShown) {
            platform.setMouseCursorVisible(true);
            g.pauseSounds();
            g.paused = true;
        }
    }
}

void App::startReplayedPlay() {
    Game& g = *game;
    g.mode = replaySource->mode;
    g.explorePlay = replaySource->explore;
    g.tutorialPlay = false;
    startPlay();
}

bool App::takeReplayedFrame() {
    const std::size_t next = lastRecording.frames.size();
    if (next >= replaySource->frames.size()) return false;
    frameDelta = replaySource->frames[next].frameTime;
    frameInputs = replaySource->frames[next].inputs;
    return true;
}

void App::applyReplayedActions() {
    Interface& ui = *iface;
    if ((ui.Screen != Playing && ui.Screen != Exploring) || ui.pauseOpening || ui.pauseClosing)
        return;
    if ((frameInputs & ReplayInput::quit) && ui.pauseShown) {
        playAction(ReplayInput::quit);
    } else if ((frameInputs & ReplayInput::resumeClick) && ui.pauseShown) {
        playAction(ReplayInput::resumeClick);
    } else if (frameInputs & ReplayInput::pauseKey) {
        playAction(ReplayInput::pauseKey);
    }
}

void App::finishReplay() {
    quitRequested = true;
    if (replayStatus >= 0) return;
    const int diverged = firstDivergentFrame(*replaySource, lastRecording);
    if (recordingFinished && diverged < 0 && lastRecording.results == replaySource->results) {
        replayStatus = 0;
        std::cout << "replay: the same play, frame by frame, to the same results" << std::endl;
        return;
    }
    replayStatus = 3;
    if (diverged >= 0) {
        std::cerr << "mirevo: replay: the play went another way from frame " << diverged << " of "
                  << replaySource->frames.size() << std::endl;
    } else {
        std::cerr << "mirevo: replay: the play went the same way to other results" << std::endl;
    }
}
