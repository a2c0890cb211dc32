// The options panel: master volume, display, frame pacing, route keys, the audio and input
// offsets and their calibration. Each change takes effect at once and is kept in the settings
// file, so the next start opens as the player left it.
#include <algorithm>
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
    keySlot = 0;
    awaitingKey = false;
    keyRefusalTime = 0.0f;
    ui.openPanel();
    showOptionsValues();
}

bool App::keepSetting(const std::string& name, const std::string& value) {
    if (options.settingsLocked) return false;
    return saveSetting(settingsPath, name, value, std::cerr);
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
    values[OptionsRow::audioOffset] = offsetLabel(options.audioOffsetMs);
    values[OptionsRow::inputOffset] = offsetLabel(options.inputOffsetMs);
    values[OptionsRow::calibration] = "Start";
    // The route keys; the slot waiting for a key shows "?", or why the last one was refused.
    std::array<std::string, 4> keys;
    for (int r = 0; r < 4; ++r) keys[static_cast<size_t>(r)] = keyName(options.routeKeys[r]);
    const bool refused = awaitingKey && keyRefusalTime > 0.0f;
    if (awaitingKey && keySlot < resetSlot) {
        keys[static_cast<size_t>(keySlot)] =
            refused ? refusalLabel(static_cast<KeyRefusal>(keyRefusalShown)) : "?";
    }
    ui.showOptionsKeySlot(ui.optionsRow == OptionsRow::routeKeys ? keySlot : -1, awaitingKey,
                          refused);
    ui.showOptions(ui.optionsRow, static_cast<int>(ui.masterVolume * 100.0f + 0.5f), values, keys);
    ui.showOptionsNotice(
        options.settingsLocked ? "settings.toml has errors: changes hold for this run only" : "");
}

namespace {
// How long a refused key's reason shows in its slot, in seconds.
const float keyRefusalShowTime = 0.9f;
}  // namespace

void App::chooseKeySlot(int slot, bool start) {
    keySlot = std::clamp(slot, 0, resetSlot);
    iface->optionsRow = OptionsRow::routeKeys;
    keyRefusalTime = 0.0f;
    awaitingKey = start && keySlot != resetSlot;
    if (start && keySlot == resetSlot) {
        bindRouteKeys(defaultRouteKeys, true);
    } else {
        showOptionsValues();
    }
}

void App::bindAwaitedKey(sf::Keyboard::Key key) {
    keyRefusalTime = 0.0f;
    if (key == sf::Keyboard::Escape) {
        awaitingKey = false;
        showOptionsValues();
        click();
        return;
    }
    const KeyRefusal refusal = keyRefusal(key, keySlot, options.routeKeys);
    if (refusal != KeyAccepted) {
        keyRefusalShown = refusal;
        keyRefusalTime = keyRefusalShowTime;
        showOptionsValues();
        errorSound();
        return;
    }
    sf::Keyboard::Key keys[4];
    std::copy(options.routeKeys, options.routeKeys + 4, keys);
    keys[keySlot] = key;
    awaitingKey = false;
    bindRouteKeys(keys, true);
    click();
}

void App::bindRouteKeys(const sf::Keyboard::Key given[4], bool keep) {
    sf::Keyboard::Key keys[4];  // given may be options.routeKeys itself
    std::copy(given, given + 4, keys);
    const bool changed = !std::equal(keys, keys + 4, options.routeKeys);
    std::copy(keys, keys + 4, options.routeKeys);
    std::vector<sf::Event> released;  // a controller's route keys let go: nothing to tell here
    padKeys.bindRoutes(keys, released);
    if (iface) {
        std::array<std::string, 4> names;
        for (int r = 0; r < 4; ++r) names[static_cast<size_t>(r)] = keyName(keys[r]);
        iface->setRouteKeyNames(names);
        if (iface->MenuChoice == ChoiceUp) showOptionsValues();
    }
    if (!keep || !changed) return;
    keepSetting("route_keys", routeKeysValue(keys));
}

void App::setVolume(int volume, bool keep) {
    Interface& ui = *iface;
    ui.masterVolume = static_cast<float>(volume) / 100.0f;
    // Muted by the making-of speaker, the game stays silent until it is unmuted.
    if (!ui.muted) ui.volumeFactor = ui.masterVolume;
    game->volumeFactor = ui.volumeFactor;
    applyMenuVolumes();
    showOptionsValues();
    if (keep) keepSetting("volume", std::to_string(volume));
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
    keepSetting("fullscreen", chosen.fullscreen ? "true" : "false");
    if (!chosen.fullscreen) {
        const std::string size =
            "\"" + std::to_string(chosen.width) + "x" + std::to_string(chosen.height) + "\"";
        keepSetting("window_size", size);
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
    if (keepSetting("frame_pacing", name)) {
        // vsync, still read by itself, says the same.
        keepSetting("vsync", request.vsync ? "true" : "false");
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
    } else if (row == OptionsRow::audioOffset || row == OptionsRow::inputOffset) {
        // Taken at the next play's start.
        const bool audio = row == OptionsRow::audioOffset;
        int& ms = audio ? options.audioOffsetMs : options.inputOffsetMs;
        const int next = steppedOffset(ms, direction, audio ? maxAudioOffsetMs : maxInputOffsetMs);
        if (next != ms) {
            ms = next;
            showOptionsValues();
            keepSetting(audio ? "audio_offset" : "input_offset", std::to_string(ms));
        }
    } else if (row == OptionsRow::routeKeys) {
        chooseKeySlot(keySlot + direction, false);
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
    // Waiting for a key to bind: the next key is it (or Escape, giving up); a click gives up.
    if (awaitingKey && event.type == sf::Event::KeyPressed) {
        bindAwaitedKey(event.key.code);
        return;
    }
    if (awaitingKey && event.type == sf::Event::MouseButtonPressed) {
        awaitingKey = false;
        showOptionsValues();
    }
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
                } else if (ui.optionsRow == OptionsRow::routeKeys) {
                    chooseKeySlot(keySlot, true);
                    click();
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
        keepSetting("volume", std::to_string(ui.optionsVolume));
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
    if (hit == OptionsRow::routeKeys) {
        const int slot = ui.hitTestOptionsKeySlot(m.x, m.y);
        if (slot >= 0) {
            chooseKeySlot(slot, true);
            click();
            return;
        }
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
    if (keyRefusalTime > 0.0f) {
        keyRefusalTime -= frameDelta;
        if (keyRefusalTime <= 0.0f) showOptionsValues();
    }
    ui.animatePanel(frameDelta);
    if (ui.panelSettled) {
        draggingVolume = false;
        ui.Screen = MainMenu;
        ui.MenuChoice = ChoiceNone;
        ui.panelSettled = false;
    }
}
