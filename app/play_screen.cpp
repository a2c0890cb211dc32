#include "app/play_screen.h"

#include <iostream>

#include "game/game.h"
#include "ui/interface.h"

PlayView playViewOf(const Interface& ui) {
    PlayView view;
    view.scoredPlay = ui.Screen == Playing;
    view.explorePlay = ui.Screen == Exploring;
    view.pauseShown = ui.pauseShown;
    view.counterVisible = ui.counterVisible;
    return view;
}

bool showPlayEvents(Interface& ui, const Game& game, const PlayEvents& events, std::ostream* log) {
    bool ended = false;
    for (const PlayEvent& e : events) {
        switch (e.kind) {
            case PlayEventKind::ScoreShown:
                ui.showHeadlineNumber(e.number);
                break;
            case PlayEventKind::ExploreUnlocked:
                ui.exploreLocked = false;
                if (ui.menuTextSprites.size() > 3) {
                    ui.menuTextSprites[MenuText::exploreItem].setColor(
                        sf::Color(255, 255, 255, 255));
                }
                break;
            case PlayEventKind::FinalStageHud:
                ui.counterVisible = true;
                ui.layoutFinalStageHud();
                ui.hintVisible = true;
                break;
            case PlayEventKind::HintHidden:
                ui.hintVisible = false;
                break;
            case PlayEventKind::TimeShown:
                ui.showHeadlineTime(e.seconds);
                break;
            case PlayEventKind::CounterShown:
                ui.showCounter(e.number);
                break;
            case PlayEventKind::ScoredPlayEnded:
                ui.Screen = Results;
                ui.showResults(e.number, 1.0f, e.seconds, false, game.mode);
                if (log) *log << "Explore end. Score: " << game.score << std::endl;
                ended = true;
                break;
        }
    }
    return ended;
}

bool endFailedExplore(Interface& ui, Game& game) {
    if (!game.stopRequested || ui.Screen != Exploring) return false;
    ui.showResults(0, 0.0f, game.totalTime, true, game.mode);
    ui.Screen = Results;
    game.stopRequested = false;
    return true;
}

void startRoutes(Interface& ui, Game& game) {
    game.initRoutes();
    ui.resetHud(game.explorePlay);
}

void applyMuteStage(Interface& ui, Game& game) {
    const int stage = ui.muteStage;
    std::cout << "animmutestage" << stage << std::endl;
    if (stage == 0) {
        ui.volumeFactor = 0.0f;
        ui.startMuteAnim();
    } else if (stage == 8) {
        ui.volumeFactor = ui.masterVolume;
        ui.startMuteAnim();
    }
    game.volumeFactor = ui.volumeFactor;
}
