#include "flow/scripted_player.h"

#include <gtest/gtest.h>

#include "board/route.h"
#include "game/game.h"
#include "ui/interface.h"

float canvasX(const App& app, float x) {
    return x * static_cast<float>(app.windowWidth) / 2048.0f;
}
float canvasY(const App& app, float y) {
    return y * static_cast<float>(app.windowHeight) / 1536.0f;
}

bool ScriptedPlayer::frame() {
    bool pressed[4] = {false, false, false, false};
    if (catching && app.game && app.game->routes.size() == 4 && app.iface &&
        !app.iface->pauseShown) {
        for (int i = 0; i < 4; ++i) {
            const Route& route = app.game->routes[i];
            if (route.buttonState != 0) continue;
            for (const Particle& p : route.particles) {
                if (!p.judged && wantsPress(p)) {
                    pressed[i] = true;
                    break;
                }
            }
            if (pressed[i]) {
                press(i, true);
                ++presses;
            }
        }
    }
    platform.advance(dt);
    bool going = app.frame();
    for (int i = 0; i < 4; ++i) {
        if (pressed[i]) press(i, false);
    }
    return going;
}

void ScriptedPlayer::press(int route, bool down) {
    if (!useController) {
        if (down) {
            platform.hold(app.options.routeKeys[route]);
        } else {
            platform.release(app.options.routeKeys[route]);
        }
        return;
    }
    // Left shoulder, right shoulder, right trigger, left trigger.
    if (virtualPad) {
        if (route < 2) {
            virtualPad->button(virtualPad->layout->shoulder[route], down);
        } else {
            virtualPad->pull(route == 2 ? 1 : 0, down);
        }
    } else if (route < 2) {
        platform.padButton(0, route == 0 ? PadButton::LeftShoulder : PadButton::RightShoulder,
                           down);
    } else {
        platform.padAxis(0, route == 2 ? PadAxis::RightTrigger : PadAxis::LeftTrigger,
                         down ? 1.0f : 0.0f);
    }
}

void ScriptedPlayer::wait(float seconds) {
    bool was = catching;
    catching = false;
    for (float t = 0.0f; t < seconds; t += dt) {
        if (!frame()) break;
    }
    catching = was;
}

void ScriptedPlayer::tap(sf::Keyboard::Key key) {
    platform.pushKey(key);
    frame();
}

void ScriptedPlayer::clickAt(float x, float y, sf::Mouse::Button button) {
    platform.pushClick(static_cast<int>(x), static_cast<int>(y), button);
    frame();
}

bool ScriptedPlayer::openSongList(bool explore) {
    tap(explore ? sf::Keyboard::Left : sf::Keyboard::Right);
    return runUntil([&] { return app.iface->Screen == LevelSelect; }, 3.0f);
}

bool ScriptedPlayer::startListPosition(int k) {
    const sf::Keyboard::Key keys[4] = {sf::Keyboard::Num1, sf::Keyboard::Num2, sf::Keyboard::Num3,
                                       sf::Keyboard::Num4};
    tap(keys[k]);
    return app.iface->Screen != LevelSelect;
}

int Session::start() {
    testing::internal::CaptureStdout();
    int status = app.startUp();
    startOutput = testing::internal::GetCapturedStdout();
    return status;
}
