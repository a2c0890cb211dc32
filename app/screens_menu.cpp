#include <algorithm>
#include <iostream>

#include "app/app.h"
#include "app/play_screen.h"
#include "audio/load_with_thread.h"
#include "audio/sound_banks.h"
#include "board/particle.h"
#include "board/route.h"
#include "core/songs.h"
#include "game/game.h"
#include "game/tutorial.h"
#include "ui/interface.h"
#include "ui/menu_logic.h"
#include "ui/picture_decoder.h"

namespace {

bool isListPosition(int hovered) {
    return hovered >= 0 && hovered <= 3;
}

// Number keys of the song list: key k starts the mode at list position k - 1.
int numberKeyMode(sf::Keyboard::Key key) {
    switch (key) {
        case sf::Keyboard::Num1:
        case sf::Keyboard::Numpad1:
            return 1;
        case sf::Keyboard::Num2:
        case sf::Keyboard::Numpad2:
            return 3;
        case sf::Keyboard::Num3:
        case sf::Keyboard::Numpad3:
            return 2;
        case sf::Keyboard::Num4:
        case sf::Keyboard::Numpad4:
            return 0;
        default:
            return -1;
    }
}

bool isZeroKey(sf::Keyboard::Key key) {
    return key == sf::Keyboard::Num0 || key == sf::Keyboard::Numpad0;
}
}  // namespace

sf::Vector2f App::mousePosition() const {
    sf::Vector2i m = platform.mousePosition();
    return sf::Vector2f(static_cast<float>(m.x), static_cast<float>(m.y));
}

void App::click() {
    if (menuSounds.size() < 4) return;
    menuSounds[0].stop();
    menuSounds[0].play();
}

void App::errorSound() {
    if (menuSounds.size() < 4) return;
    menuSounds[3].stop();
    menuSounds[3].play();
}

void App::playMenuLoop() {
    if (menuSounds.size() < 4) return;
    menuSounds[1].stop();
    menuSounds[1].play();
}

void App::applyMenuVolumes() {
    if (menuSounds.size() >= 4) ::setMenuVolumes(menuSounds, iface->volumeFactor);
}

bool App::menuInputBlocked() const {
    return iface->panelOpening || iface->panelClosing || iface->pageTurnForward ||
           iface->pageTurnBack;
}

void App::mainMenuEvent(const sf::Event& event) {
    if (menuInputBlocked()) return;
    Interface& ui = *iface;
    if (event.type == sf::Event::KeyPressed) {
        switch (event.key.code) {
            case sf::Keyboard::Escape:
                quitRequested = true;
                break;
            case sf::Keyboard::Up:
                openOptions();
                click();
                break;
            case sf::Keyboard::Down:
                ui.MenuChoice = ChoiceDown;
                ui.openPanel();
                click();
                break;
            case sf::Keyboard::Left:
                if (ui.noSongCompleted()) {
                    errorSound();
                } else {
                    ui.MenuChoice = ChoiceLeft;
                    game->explorePlay = true;
                    showKeptPlays();
                    ui.openPanel();
                    click();
                }
                break;
            case sf::Keyboard::Right:
                ui.MenuChoice = ChoiceRight;
                game->explorePlay = false;
                showKeptPlays();
                ui.openPanel();
                click();
                break;
            default:
                break;
        }
        return;
    }
    if (event.type == sf::Event::MouseButtonPressed &&
        event.mouseButton.button == sf::Mouse::Left) {
        click();
        sf::Vector2f m = mousePosition();
        int r = ui.hitTestMenuSector(m.x, m.y);
        if (r == -1 && ui.hitTestMenuTop(m.x, m.y)) openOptions();
        if (r == -1) return;
        if (r == ChoiceLeft) {
            if (ui.noSongCompleted()) {
                errorSound();
                return;
            }
            game->explorePlay = true;
        } else {
            game->explorePlay = false;
        }
        ui.MenuChoice = r;
        showKeptPlays();
        ui.openPanel();
    }
}

void App::mainMenuStep() {
    Interface& ui = *iface;
    ui.atlasVisible = false;
    ui.animatePanel(frameDelta);
    if (!ui.panelSettled) return;
    if (ui.MenuChoice == ChoiceDown) {
        ui.Screen = MakingOf;
    } else if (ui.MenuChoice == ChoiceUp) {
        ui.Screen = OptionsPanel;
    } else if (ui.MenuChoice == ChoiceLeft || ui.MenuChoice == ChoiceRight) {
        bool scored = ui.MenuChoice == ChoiceRight;
        sf::Texture& picture = scored ? atlasTextures[2][25] : atlasTextures[0][24];
        ui.Screen = LevelSelect;
        ui.hovered = -1;
        ui.highlighted = -1;
        picture.setSmooth(true);
        ui.startAtlasAnim(scored, picture);
        ui.stepAtlasAnim(0.0f);
        ui.atlasVisible = true;
    }
    ui.panelSettled = false;
}

void App::levelSelectEvent(const sf::Event& event) {
    if (menuInputBlocked()) return;
    if (event.type == sf::Event::MouseMoved) {
        pointAtListRow();
    } else if (event.type == sf::Event::MouseButtonPressed) {
        if (event.mouseButton.button == sf::Mouse::Right) {
            iface->closePanel();
            click();
        } else if (event.mouseButton.button == sf::Mouse::Left) {
            clickListRow();
        }
    } else if (event.type == sf::Event::KeyPressed) {
        listKey(event.key.code);
    }
}

// The mouse writes the hit result (a mode, the tutorial, an edge) into hovered.
void App::pointAtListRow() {
    Interface& ui = *iface;
    const bool explore = game->explorePlay;
    sf::Vector2f m = mousePosition();
    ui.hovered = explore ? ui.hitTestExploreList(m.x, m.y) : ui.hitTestSongList(m.x, m.y);
    ui.placeAtlas(ui.hovered, explore);
}

void App::clickListRow() {
    Interface& ui = *iface;
    Game& g = *game;
    const bool explore = g.explorePlay;
    sf::Vector2f m = mousePosition();
    // The sign of a kept best play, inside its row, watches that play.
    const int kept = ui.hitTestKeptPlaySign(m.x, m.y);
    if (kept >= 0) {
        chooseKeptPlay(kept);
        return;
    }
    int r = explore ? ui.hitTestExploreList(m.x, m.y) : ui.hitTestSongList(m.x, m.y);
    g.mode = r;
    if (r == (explore ? ListHit::rightEdge : ListHit::leftEdge)) {  // the back edge
        ui.closePanel();
        g.mode = -1;
    } else if (r == ListHit::tutorial) {
        g.tutorialPlay = true;
        g.mode = 1;
    } else if (r == ListHit::locked) {
        errorSound();
    } else if (isListPosition(r)) {
        g.tutorialPlay = false;  // the song clicked last wins over a tutorial click
    }
    if (menuSounds.size() >= 4) menuSounds[3].setVolume(50.0f * ui.volumeFactor);
    if (g.mode >= 0 && g.mode <= 3) {
        g.startPending = true;
        click();
    }
}

void App::listKey(sf::Keyboard::Key key) {
    Interface& ui = *iface;
    Game& g = *game;
    if (key == sf::Keyboard::Up || key == sf::Keyboard::Down) {
        if (g.explorePlay) {
            moveExploreHighlight(key == sf::Keyboard::Up);
        } else {
            moveSongHighlight(key == sf::Keyboard::Up);
        }
        return;
    }
    // Escape, or the arrow pointing back to the side the panel came from.
    if (key == sf::Keyboard::Escape ||
        (key == sf::Keyboard::Left && ui.MenuChoice == ChoiceRight) ||
        (key == sf::Keyboard::Right && ui.MenuChoice == ChoiceLeft)) {
        ui.closePanel();
        click();
        return;
    }
    int numbered = numberKeyMode(key);
    if (numbered >= 0) {
        click();
        g.startPending = true;
        g.tutorialPlay = false;  // the song chosen last wins over a tutorial click
        g.mode = numbered;
        return;
    }
    if (isZeroKey(key) && !g.explorePlay) {
        g.tutorialPlay = true;
        g.mode = 1;
        click();
        g.startPending = true;
        return;
    }
    // Any other key cancels a start chosen earlier in this frame, a tutorial start included.
    g.startPending = false;
    g.tutorialPlay = false;
    if (key == sf::Keyboard::Return) startHighlighted();
    if (key == sf::Keyboard::W) {
        // The highlighted song's best play, when it is kept.
        if (ui.highlighted >= 0 && ui.highlighted < 4 && ui.keptPlays[ui.highlighted]) {
            chooseKeptPlay(ui.highlighted);
        } else {
            errorSound();
        }
    }
}

// The keys read hovered as a list position (0..3 top to bottom, the tutorial above).
void App::moveSongHighlight(bool up) {
    Interface& ui = *iface;
    if (up) {
        // A mouse result other than a row or the tutorial entry (the edges, or nothing)
        // counts as nothing highlighted.
        if (!isListPosition(ui.hovered) && ui.hovered != ListHit::tutorial) {
            ui.hovered = ListHit::nothing;
        }
        if (ui.hovered == ListHit::tutorial) {
            ui.placeAtlas(ListHit::tutorial, false);
        } else if (ui.hovered == 0) {
            ui.hovered = ListHit::tutorial;
            ui.placeAtlas(ListHit::tutorial, false);
        } else {
            // From nothing highlighted, Up starts at the bottom of the list.
            ui.hovered = ui.hovered == ListHit::nothing ? 3 : ui.hovered - 1;
            ui.placeAtlas(modeOrder[ui.hovered], false);
        }
    } else {
        // One row down, at most the bottom row: from an edge (5 or 6) that is the bottom
        // row, from nothing highlighted the top one.
        ui.hovered = ui.hovered == ListHit::tutorial ? 0 : std::clamp(ui.hovered + 1, 0, 3);
        ui.placeAtlas(modeOrder[ui.hovered], false);
    }
}

// Only completed songs can be highlighted in the explore list.
void App::moveExploreHighlight(bool up) {
    Interface& ui = *iface;
    if (!isListPosition(ui.hovered)) ui.hovered = ListHit::nothing;
    int from = ui.hovered == ListHit::nothing && up ? 4 : ui.hovered;
    int next = ui.nextCompletedSong(from, !up);
    ui.hovered =
        isListPosition(next) ? next : (isListPosition(ui.hovered) ? ui.hovered : ListHit::nothing);
    if (isListPosition(ui.hovered)) ui.placeAtlas(modeOrder[ui.hovered], true);
}

void App::startHighlighted() {
    Interface& ui = *iface;
    Game& g = *game;
    if (ui.hovered == ListHit::tutorial) {
        g.tutorialPlay = true;
        g.mode = 1;
        click();
        g.startPending = true;
    } else if (isListPosition(ui.hovered)) {
        g.mode = modeOrder[ui.hovered];
        click();
        g.startPending = true;
    } else {
        std::cout << "hovered :" << ui.hovered << std::endl;
    }
}

void App::levelSelectStep() {
    Interface& ui = *iface;
    Game& g = *game;
    // While the list is open, the pictures of every play it can start are decoded by the
    // pool, so that the play-start frame only makes their textures.
    if (!playPictures && !g.startPending && !g.restartPending) {
        std::vector<std::string> files;
        for (int m = 0; m < 4; ++m) {
            for (std::string& file : ui.playPictureFiles(m)) files.push_back(std::move(file));
        }
        playPictures = std::make_unique<PictureDecoder>(pool(), std::move(files));
    }
    // Then, by the pool, the sounds a play needs first, for the song the player
    // is most likely to start: the one the highlight points at (whether the mouse or the
    // keys put it there), else the one being decoded, else the one played last, else the
    // first. Its play takes them; another song's play reads its own.
    if (playPictures && playPictures->finished()) {
        int likely = playSounds ? playSoundsSong : std::max(lastSong, 0);
        if (ui.highlighted >= 0 && ui.highlighted < 4) likely = ui.highlighted;
        if (ui.highlighted == 4) likely = songOfMode[1];  // the tutorial
        if (!playSounds || likely != playSoundsSong) {
            playSounds.reset();  // what it was decoding stops at once
            playSounds = std::make_unique<SoundDecoder>(pool(), firstSoundFiles(likely));
            playSoundsSong = likely;
        }
    }
    if (g.startPending) {
        g.startPending = false;
        g.restartPending = false;
        chosenKeptPlay.reset();  // a song chosen after the play to watch wins
        startPlay();
        if (failStatus >= 0) return;
    } else if (g.restartPending) {
        g.restartPending = false;
        startPlay();
        if (failStatus >= 0) return;
    } else if (chosenKeptPlay) {
        beginWatch(std::move(chosenKeptPlay));
        startReplayedPlay();
        if (failStatus >= 0) return;
    }
    if (ui.atlasVisible) ui.stepAtlasAnim(frameDelta);
    ui.animatePanel(frameDelta);
    if (ui.panelSettled) {
        playPictures.reset();
        playSounds.reset();
        ui.Screen = MainMenu;
        ui.unloadMakingOf();
        ui.MenuChoice = ChoiceNone;
        ui.panelSettled = false;
    }
}

void App::startPlay() {
    Interface& ui = *iface;
    Game& g = *game;
    if (g.mode < 0 || g.mode > 3) return;  // nothing playable was chosen
    int song = songOfMode[g.mode];

    ui.loadPlayImages(g.mode, buttonTexture, slimeTextures, playPictures.get());
    playPictures.reset();
    if (menuSounds.size() >= 4) menuSounds[1].stop();
    if (!g.loadBreakMusic(song)) {
        std::cout << "error loading final music" << std::endl;
        failFrame(1);
        return;
    }
    if (g.tutorialPlay) {
        ui.Screen = Tutorial;
        if (!ui.loadTutorial()) {
            failFrame(1);
            return;
        }
    } else if (g.explorePlay) {
        ui.Screen = Exploring;
    } else {
        ui.Screen = Playing;
    }
    // Set on every start, so no play inherits the previous one's: only an explore play loops.
    g.breakMusic.setLoop(ui.Screen == Exploring);
    ui.showBoard();
    platform.setMouseCursorVisible(false);

    endLoader();  // a loader still alive from an earlier play goes before its banks
    prepareSongBanks(waveSounds, waveBuffers, touchSounds, touchBuffers, song);
    backgroundLoader = std::make_unique<LoadWithThread>(&touchSounds, &touchBuffers, &waveSounds,
                                                        &waveBuffers, song);
    backgroundLoader->pool = &pool();
    if (playSounds && playSoundsSong == song) backgroundLoader->firstSounds = std::move(playSounds);
    playSounds.reset();
    lastSong = song;
    if (beforeLoaderLaunch) beforeLoaderLaunch(*backgroundLoader);
    backgroundLoader->launch();

    if (keptScaleX != 1.0f) {
        for (sf::Texture& t : gaugeTextures) t.setSmooth(true);
    }
    setupRouteResources(slimeTextures, buttonTexture, gaugeTextures, &waveSounds,
                        static_cast<float>(windowWidth), keptMenuTopOffset, g.mode);
    if (ui.Screen != Tutorial) {
        seedPlay();
    } else {
        takePlayOffsets();  // the tutorial's board is heard and judged as a play's
    }
    startRoutes(ui, g);
    if (ui.Screen == Tutorial) {
        ui.tutorialStep = 0;
        startTutorialRoutes(g.routes);
    }
    g.startDrone();
}

void App::makingOfEvent(const sf::Event& event) {
    if (menuInputBlocked()) return;
    Interface& ui = *iface;
    if (event.type == sf::Event::KeyPressed) {
        switch (event.key.code) {
            case sf::Keyboard::Escape:
            case sf::Keyboard::Up:
                ui.closePanel();
                click();
                break;
            case sf::Keyboard::Right:
                ui.turnMakingOfPage(true);
                click();
                break;
            case sf::Keyboard::Left:
                ui.turnMakingOfPage(false);
                click();
                break;
            default:
                break;
        }
        return;
    }
    if (event.type != sf::Event::MouseButtonPressed) return;
    if (event.mouseButton.button == sf::Mouse::Right) {
        ui.closePanel();
        click();
        return;
    }
    if (event.mouseButton.button != sf::Mouse::Left) return;
    // The page's own coordinates; the bars beside a page hit nothing.
    if (!ui.drawnArea().contains(mousePosition().x, mousePosition().y)) return;
    sf::Vector2f m = ui.toArea(mousePosition());
    float W = static_cast<float>(windowWidth);
    float H = static_cast<float>(windowHeight);
    if (m.y < 0.2f * H) {
        ui.closePanel();
        click();
    }
    if (ui.volumeSprite.getGlobalBounds().contains(m)) {
        applyMuteStage(ui, *game);
        applyMenuVolumes();
    }
    sf::FloatRect reset(1309.0f * W / 2048.0f,
                        504.0f * W / 2048.0f - (W * 1536.0f / 2048.0f - H) / 2.0f,
                        56.0f * W / 2048.0f, 34.0f * W / 2048.0f);
    if (reset.contains(m)) {
        ui.resetRecords();
        errorSound();
    }
    if (m.x > 0.85f * W) {
        ui.turnMakingOfPage(true);
        click();
    }
    if (m.x < 0.15f * W) {
        ui.turnMakingOfPage(false);
        click();
    }
}

void App::makingOfStep() {
    Interface& ui = *iface;
    ui.animatePageTurn(frameDelta);
    ui.animatePanel(frameDelta);
    ui.stepVolumeAnim(frameDelta);
    if (ui.panelSettled) {
        ui.Screen = MainMenu;
        ui.MenuChoice = ChoiceNone;
        ui.panelSettled = false;
    }
}
