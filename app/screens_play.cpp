#include <algorithm>
#include <cstdlib>
#include <iostream>

#include "app/app.h"
#include "app/play_screen.h"
#include "audio/load_with_thread.h"
#include "audio/sound_banks.h"
#include "board/route.h"
#include "core/songs.h"
#include "game/game.h"
#include "game/tutorial.h"
#include "ui/interface.h"
#include "ui/timing_chart.h"

void App::playEvent(const sf::Event& event) {
    Interface& ui = *iface;
    if (ui.pauseOpening || ui.pauseClosing) return;
    if (event.type == sf::Event::KeyPressed) {
        if (event.key.code == sf::Keyboard::Space) {
            playAction(ReplayInput::pauseKey);
        } else if (event.key.code == sf::Keyboard::Escape) {
            playAction(ui.pauseShown ? ReplayInput::quit : ReplayInput::pauseKey);
        }
        return;
    }
    if (event.type == sf::Event::MouseButtonPressed &&
        event.mouseButton.button == sf::Mouse::Left && ui.pauseShown) {
        sf::Vector2f m = mousePosition();
        int r = ui.hitTestSidePanels(m.x, m.y);
        if (r == 2) {
            playAction(ReplayInput::resumeClick);
        } else if (r == 1) {
            playAction(ReplayInput::quit);
        }
    }
}

void App::quitPlay() {
    Interface& ui = *iface;
    Game& g = *game;
    int levels = 0;
    for (const Route& route : g.routes) levels += route.gaugeLevel;
    float completion = std::min(static_cast<float>(levels) / 36.0f, 1.0f);
    if (g.score > 0) completion = 1.0f;
    ui.showResults(static_cast<int>(g.score), completion, g.totalTime, g.explorePlay, g.mode);
    if (recordingOpen) {
        recordFrame();
        endRecording(playResults(static_cast<int>(g.score), completion, false));
    }
    ui.refreshRecordTexts();
    ui.updateCompletionDots();
    click();
    leaveToLevelSelect();
}

// The common way back from a play to the song list.
void App::leaveToLevelSelect() {
    if (watch.active) {
        // The watched play's final music, which no pause panel has held, and the list's kind.
        game->breakMusic.stop();
        game->explorePlay = watch.listExplore;
        stopWatching();
    }
    playMenuLoop();
    iface->showLevelSelect();
    iface->Screen = LevelSelect;
    platform.setMouseCursorVisible(true);
    endLoader();
    game->clearRoutes();
    showKeptPlays();
}

void App::restartPlay() {
    Interface& ui = *iface;
    Game& g = *game;
    // The player's own play takes over from a watched one.
    stopWatching();
    std::cout << "on recommence" << std::endl;
    platform.setMouseCursorVisible(false);
    seedPlay();
    startRoutes(ui, g);
    ui.Screen = g.explorePlay ? Exploring : Playing;
    ui.pauseShown = false;
    ui.hintVisible = false;
}

void App::resultsEvent(const sf::Event& event) {
    Interface& ui = *iface;
    if (ui.pauseOpening || ui.pauseClosing) return;
    if (event.type == sf::Event::KeyPressed) {
        if (event.key.code == sf::Keyboard::Space) {
            restartPlay();
        } else if (event.key.code == sf::Keyboard::Escape) {
            std::cout << "pressed esc game_end exiting" << std::endl;
            click();
            leaveToLevelSelect();
        } else if (event.key.code == sf::Keyboard::W && canWatchResults()) {
            click();
            watchResults();
        }
        return;
    }
    if (event.type == sf::Event::MouseButtonPressed &&
        event.mouseButton.button == sf::Mouse::Left) {
        sf::Vector2f m = mousePosition();
        int r = ui.hitTestSidePanels(m.x, m.y);
        if (r == 2) {
            click();
            restartPlay();
        } else if (r == 1) {
            click();
            leaveToLevelSelect();
        } else if (canWatchResults() && ui.hitTestWatchButton(m.x, m.y)) {
            click();
            watchResults();
        }
    }
}

void App::tutorialEvent(const sf::Event& event) {
    if (event.type != sf::Event::KeyPressed) return;
    Interface& ui = *iface;
    Game& g = *game;
    ui.tutorialStep = tutorialKeyStep(ui.tutorialStep, g.routes);
    if (ui.tutorialStep == 4) {
        // The last page: the real scored play begins.
        std::cout << "start !" << std::endl;
        ui.Screen = Playing;
        seedPlay();
        startRoutes(ui, g);
    }
    if (event.key.code == sf::Keyboard::Escape) {
        recordingOpen = false;  // a play begun by the last page and left at once
        click();
        playMenuLoop();
        ui.showLevelSelect();
        ui.Screen = LevelSelect;
        platform.setMouseCursorVisible(true);
        g.clearRoutes();
        endLoader();
    }
}

bool App::heldOrReplayed(sf::Keyboard::Key key, std::uint32_t bit) const {
    return replaying() ? (frameInputs & bit) != 0 : platform.isKeyPressed(key);
}

void App::pollPlayKeys(bool developerKeys) {
    Game& g = *game;
    if (g.routes.size() == 4) {
        for (int i = 0; i < 4; ++i) {
            Route& route = g.routes[i];
            const std::uint32_t bit = ReplayInput::route0 << i;
            bool down = replaying()
                            ? (frameInputs & bit) != 0
                            : platform.isKeyPressed(options.routeKeys[i]) ||
                                  padKeys.holds(options.routeKeys[i]) || pressedThisFrame[i];
            if (!down) continue;
            frameInputs |= bit;
            if (route.buttonState == 0) {
                route.buttonState = 1;
            } else if (route.buttonState == 2) {
                route.buttonTimer = 0.0f;
            }
        }
    }
    if (!developerKeys || g.routes.size() != 4) return;
    if (heldOrReplayed(sf::Keyboard::M, ReplayInput::errorMusic0)) {
        frameInputs |= ReplayInput::errorMusic0;
        g.routes[0].startErrorMusic();
    }
    if (heldOrReplayed(sf::Keyboard::O, ReplayInput::errorMusic1)) {
        frameInputs |= ReplayInput::errorMusic1;
        g.routes[1].startErrorMusic();
    }
    if (heldOrReplayed(sf::Keyboard::B, ReplayInput::special)) {
        frameInputs |= ReplayInput::special;
        int a = std::rand() % 2 + 1;
        if (g.routes[0].specialKind == 0) g.routes[0].specialKind = a;
        std::cout << "special ! a=" << a << std::endl;
    }
}

void App::drawRoutes() {
    for (const Route& route : game->routes) route.drawOn(platform.target());
}

void App::drawPlayStill() {
    drawRoutes();
    if (iface->pauseShown) drawPauseOverlay();
    if (iface->Screen == Results) drawResultsOverlay();
}

void App::drawPauseOverlay() {
    sf::RenderTarget& target = platform.target();
    target.draw(iface->pauseSprite);
    for (int k : {MenuText::quit, MenuText::paused, MenuText::resume})
        target.draw(iface->menuTextSprites[k]);
}

void App::drawResultsOverlay() {
    Interface& ui = *iface;
    sf::RenderTarget& target = platform.target();
    target.draw(ui.pauseSprite);
    target.draw(ui.menuTextSprites[MenuText::back]);
    target.draw(
        ui.menuTextSprites[ui.levelCompleted ? MenuText::completed : MenuText::notFinished]);
    if (ui.newRecord) {
        sf::RenderStates multiply(sf::BlendMultiply);
        target.draw(ui.menuTextSprites[ui.firstCompletion ? MenuText::firstCompletion
                                                          : MenuText::newRecord],
                    multiply);
    }
    target.draw(ui.menuTextSprites[MenuText::retry]);
    if (canWatchResults()) {
        target.draw(ui.watchButtonTop);
        target.draw(ui.watchButtonFoot);
        target.draw(ui.watchButtonLabel);
    }
    target.draw(ui.resultText);
    if (game->routes.size() == 4) target.draw(timingChart());
}

TimingChart App::timingChart() const {
    std::array<CatchTally, 4> tallies;
    std::array<CatchTiming, 4> timings;
    for (int r = 0; r < 4; ++r) {
        tallies[r] = game->routes[r].tally;
        timings[r] = game->routes[r].timing;
    }
    return TimingChart(tallies, timings, iface->font, static_cast<float>(windowWidth),
                       static_cast<float>(windowHeight), iface->pauseSprite.getPosition().y);
}

void App::playStep() {
    Interface& ui = *iface;
    Game& g = *game;
    // A frame of the play being recorded (its last one included, when its results show).
    const bool recorded = recordingOpen;
    bool ended = false;
    ReplayResults results;
    if (g.routes.size() == 4) {
        for (int i = 0; i < 4; ++i) {
            if (!g.routes[i].missedPress) continue;
            g.routes[i].missedPress = false;
            // A press that caught nothing still sounds, once the touch is loaded.
            playTouchSound(touchSounds, i, ui.volumeFactor);
        }
    }
    if (!ui.pauseShown) pollPlayKeys(true);
    if (g.paused && !ui.pauseShown) {
        g.resumePlay();
        platform.setMouseCursorVisible(false);
    }
    // Developer chord: left Control + left Shift + F marks every route full.
    const bool chord = platform.isKeyPressed(sf::Keyboard::LControl) &&
                       platform.isKeyPressed(sf::Keyboard::LShift) &&
                       platform.isKeyPressed(sf::Keyboard::F);
    if (replaying() ? (frameInputs & ReplayInput::fillAll) != 0 : chord) {
        frameInputs |= ReplayInput::fillAll;
        g.forceFull = true;
    }
    // A play played again writes nothing to the log.
    std::ostream* playLog = replaySource ? nullptr : &log;
    if (!ui.pauseShown) showPlayEvents(ui, g, g.update(frameDelta, playViewOf(ui)), playLog);
    drawRoutes();
    if (ui.pauseShown) drawPauseOverlay();
    if (ui.Screen == Results) drawResultsOverlay();
    if (endFailedExplore(ui, g)) {
        platform.setMouseCursorVisible(true);
        results = playResults(0, 0.0f, true);
        ended = true;
    }
    if (g.finalStageStarted &&
        showPlayEvents(ui, g, g.finalStageStep(frameDelta, playViewOf(ui)), playLog)) {
        platform.setMouseCursorVisible(true);
        results = playResults(static_cast<int>(g.score), 1.0f, true);
        ended = true;
    }
    ui.animatePause(frameDelta);
    ui.animateHud(frameDelta);
    if (recorded) {
        recordFrame();
        if (ended) endRecording(results);
    }
}

void App::tutorialFrameStep() {
    Interface& ui = *iface;
    Game& g = *game;
    if (!ui.pauseShown) pollPlayKeys(false);
    if (g.routes.size() == 4) {
        ui.tutorialStep = tutorialAdvance(ui.tutorialStep, g.routes);
        if (g.routes[2].firstGrabEvent) {
            g.stopDrones();
            std::cout << "start music !" << std::endl;
            for (Route& route : g.routes) route.grabStarted = true;
        }
        ui.tutorialOverlay = tutorialRelaunch(ui.tutorialOverlay, g.routes);
        if (!ui.pauseShown) {
            for (Route& route : g.routes) route.update(frameDelta);
            g.totalTime += frameDelta;
        }
    }
    drawRoutes();
    if (ui.pauseShown) drawPauseOverlay();
    ui.stepOverlayTimer(frameDelta);
}
