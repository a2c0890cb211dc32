// The options panel: master volume, display, frame pacing, route keys, the audio and input
// offsets and their calibration. Each change takes effect at once and is kept in the settings
// file, so the next start opens as the player left it.
#include <array>
#include <iostream>
#include <string>

#include "app/app.h"
#include "app/options_panel.h"
#include "game/game.h"
#include "ui/interface.h"
#include "ui/options_layout.h"

void App::openOptions() {
    Interface& ui = *iface;
    ui.MenuChoice = ChoiceUp;
    ui.optionsRow = OptionsRow::volume;
    draggingVolume = false;
    ui.openPanel();
    showOptionsValues();
}

int App::framePacing() const {
    if (windowRequest.vsync) return PacingVsync;
    return framesCapped ? PacingCapped : PacingOff;
}

unsigned App::capRate() const {
    const unsigned rate = platform.refreshRate();
    return rate > 0 ? rate : VsyncWatch::assumedRate;
}

void App::showOptionsValues() {
    Interface& ui = *iface;
    const sf::Vector2u desktop = platform.desktopSize();
    const std::vector<DisplayChoice> choices =
        displayChoices(desktop.x, desktop.y, windowRequest.width, windowRequest.height);
    const int display = displayChoiceOf(choices, windowRequest.fullscreen, windowRequest.width,
                                        windowRequest.height);
    // A window that is not among the choices says its own size.
    DisplayChoice shown = choices[static_cast<size_t>(display)];
    if (!windowRequest.fullscreen) {
        shown.width = platform.windowSize().x;
        shown.height = platform.windowSize().y;
    }
    const int pacing = framePacing();
    const std::string pacingLabel = pacing == PacingCapped
                                        ? "Capped at " + std::to_string(capRate()) + " per second"
                                        : pacingLabels[pacing];
    std::array<std::string, OptionsRow::count> values;
    values[OptionsRow::display] = displayLabel(shown);
    values[OptionsRow::pacing] = pacingLabel;
    values[OptionsRow::routeKeys] = "reset";
    values[OptionsRow::audioOffset] = "0 ms";
    values[OptionsRow::inputOffset] = "0 ms";
    values[OptionsRow::calibration] = "Start";
    const std::array<std::string, 4> keys = {"E", "P", "L", "D"};
    ui.showOptions(ui.optionsRow, static_cast<int>(ui.masterVolume * 100.0f + 0.5f), values, keys);
}

void App::setVolume(int volume, bool keep) {
    Interface& ui = *iface;
    ui.masterVolume = static_cast<float>(volume) / 100.0f;
    // Muted by the making-of speaker, the game stays silent until it is unmuted.
    if (!ui.muted) ui.volumeFactor = ui.masterVolume;
    game->volumeFactor = ui.volumeFactor;
    applyMenuVolumes();
    showOptionsValues();
    if (keep) saveSetting(settingsPath, "volume", std::to_string(volume), std::cerr);
}

void App::chooseDisplay(int choice) {
    const sf::Vector2u desktop = platform.desktopSize();
    const std::vector<DisplayChoice> choices =
        displayChoices(desktop.x, desktop.y, windowRequest.width, windowRequest.height);
    if (choice < 0 || choice >= static_cast<int>(choices.size())) return;
    const DisplayChoice& chosen = choices[static_cast<size_t>(choice)];
    WindowRequest request = windowRequest;
    request.fullscreen = chosen.fullscreen;
    if (!chosen.fullscreen) {
        request.width = chosen.width;
        request.height = chosen.height;
    }
    applyWindow(request);
    showOptionsValues();
    saveSetting(settingsPath, "fullscreen", chosen.fullscreen ? "true" : "false", std::cerr);
    if (!chosen.fullscreen) {
        const std::string size =
            "\"" + std::to_string(chosen.width) + "x" + std::to_string(chosen.height) + "\"";
        saveSetting(settingsPath, "window_size", size, std::cerr);
    }
}

void App::choosePacing(int pacing) {
    WindowRequest request = windowRequest;
    request.vsync = pacing == PacingVsync;
    framesCapped = pacing == PacingCapped;
    if (request.vsync != windowRequest.vsync) {
        applyWindow(request);  // the sync is the window's: it opens again, keeping everything
    } else if (!request.vsync) {
        platform.capFrames(framesCapped ? capRate() : 0);
    }
    showOptionsValues();
    const std::string name = std::string("\"") + pacingSettingNames[pacing] + "\"";
    if (saveSetting(settingsPath, "frame_pacing", name, std::cerr)) {
        // vsync, still read by itself, says the same.
        saveSetting(settingsPath, "vsync", request.vsync ? "true" : "false", std::cerr);
    }
}

void App::changeOption(int row, int direction) {
    Interface& ui = *iface;
    if (row == OptionsRow::volume) {
        const int volume = static_cast<int>(ui.masterVolume * 100.0f + 0.5f);
        const int next = steppedVolume(volume, direction);
        if (next != volume) setVolume(next, true);
    } else if (row == OptionsRow::display) {
        const sf::Vector2u desktop = platform.desktopSize();
        const std::vector<DisplayChoice> choices =
            displayChoices(desktop.x, desktop.y, windowRequest.width, windowRequest.height);
        const int now = displayChoiceOf(choices, windowRequest.fullscreen, windowRequest.width,
                                        windowRequest.height);
        const int count = static_cast<int>(choices.size());
        if (count > 1) chooseDisplay(steppedChoice(now, direction, count));
    } else if (row == OptionsRow::pacing) {
        choosePacing(steppedChoice(framePacing(), direction, pacingCount));
    }
    click();
}

void App::dragVolume() {
    const sf::Vector2f m = mousePosition();
    const int volume = volumeAt(iface->optionsTrackFraction(m.x));
    if (volume != iface->optionsVolume) setVolume(volume, false);
}

void App::optionsEvent(const sf::Event& event) {
    if (menuInputBlocked()) return;
    Interface& ui = *iface;
    if (event.type == sf::Event::KeyPressed) {
        switch (event.key.code) {
            case sf::Keyboard::Escape:
                ui.closePanel();
                click();
                break;
            case sf::Keyboard::Up:
            case sf::Keyboard::Down: {
                const int step = event.key.code == sf::Keyboard::Up ? -1 : 1;
                const int row = ui.optionsRow + step;
                if (row >= 0 && row < OptionsRow::count) {
                    ui.optionsRow = row;
                    showOptionsValues();
                    click();
                }
                break;
            }
            case sf::Keyboard::Left:
                changeOption(ui.optionsRow, -1);
                break;
            case sf::Keyboard::Right:
                changeOption(ui.optionsRow, 1);
                break;
            case sf::Keyboard::Return:
                // Full screen and the window switch; the pacing goes to its next choice.
                if (ui.optionsRow == OptionsRow::display) {
                    const sf::Vector2u desktop = platform.desktopSize();
                    const std::vector<DisplayChoice> choices = displayChoices(
                        desktop.x, desktop.y, windowRequest.width, windowRequest.height);
                    const int window =
                        displayChoiceOf(choices, false, windowRequest.width, windowRequest.height);
                    if (choices.size() > 1) chooseDisplay(windowRequest.fullscreen ? window : 0);
                    click();
                } else if (ui.optionsRow == OptionsRow::pacing) {
                    changeOption(ui.optionsRow, 1);
                } else if (ui.optionsRow == OptionsRow::calibration) {
                    openCalibration();
                }
                break;
            default:
                break;
        }
        return;
    }
    if (event.type == sf::Event::MouseMoved && draggingVolume) {
        dragVolume();
        return;
    }
    if (event.type == sf::Event::MouseButtonReleased &&
        event.mouseButton.button == sf::Mouse::Left && draggingVolume) {
        draggingVolume = false;
        dragVolume();
        saveSetting(settingsPath, "volume", std::to_string(ui.optionsVolume), std::cerr);
        return;
    }
    if (event.type != sf::Event::MouseButtonPressed) return;
    if (event.mouseButton.button == sf::Mouse::Right) {
        ui.closePanel();
        click();
        return;
    }
    if (event.mouseButton.button != sf::Mouse::Left) return;
    const sf::Vector2f m = mousePosition();
    const int hit = ui.hitTestOptions(m.x, m.y);
    if (hit == Interface::optionsBack) {
        ui.closePanel();
        click();
        return;
    }
    if (hit < 0) return;
    ui.optionsRow = hit;
    if (hit == OptionsRow::volume) {
        const float fraction = ui.optionsTrackFraction(m.x);
        // The knob reaches a little beyond the track's ends.
        if (fraction > -0.05f && fraction < 1.05f) {
            draggingVolume = true;
            dragVolume();
        }
        showOptionsValues();
        return;
    }
    // The value's left half goes back, its right half on; the label only chooses the row.
    const float c = ui.windowWidth / 2048;
    const float cardLeft = ui.areaLeft + (ui.windowWidth - OptionsLayout::cardWidth * c) / 2;
    const float cx = (m.x - cardLeft) / c;
    if (hit == OptionsRow::calibration && cx >= OptionsLayout::buttonLeft &&
        cx <= OptionsLayout::buttonLeft + OptionsLayout::buttonWidth) {
        openCalibration();
        return;
    }
    if (cx >= OptionsLayout::valueLeft) {
        changeOption(hit, cx < OptionsLayout::valueCentre ? -1 : 1);
    } else {
        showOptionsValues();
        click();
    }
}

void App::optionsStep() {
    Interface& ui = *iface;
    ui.animatePanel(frameDelta);
    if (ui.panelSettled) {
        draggingVolume = false;
        ui.Screen = MainMenu;
        ui.MenuChoice = ChoiceNone;
        ui.panelSettled = false;
    }
}
