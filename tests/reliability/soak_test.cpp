// Soak: the real frame loop driven for minutes of game time by a player who mixes the
// scripted catching with random input on every screen (menus, song lists, making-of,
// tutorial, plays, pauses, results, quits and restarts of the whole game). Nothing may
// end the loop but a quit, and the game's state must stay coherent after every frame.
//
// MIREVO_SOAK_MINUTES sets the game time (default 2; the long run uses 60).
// MIREVO_SOAK_SEED fixes the input sequence (default: a fixed seed).
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "app/app.h"
#include "board/route.h"
#include "flow/scripted_player.h"
#include "game/game.h"
#include "support/game_folder.h"
#include "support/scripted_platform.h"
#include "support/window_events.h"
#include "ui/interface.h"

namespace fs = std::filesystem;

namespace {
// The three display profiles of the board pictures: 16:9, 16:10 and 4:3.
const sf::Vector2u windowSizes[3] = {{1024, 576}, {960, 600}, {800, 600}};

const sf::Keyboard::Key routeKeys[4] = {sf::Keyboard::E, sf::Keyboard::P, sf::Keyboard::L,
                                        sf::Keyboard::D};
// Every key the game answers to, and a few it does not.
const sf::Keyboard::Key anyKeys[] = {
    sf::Keyboard::Escape,  sf::Keyboard::Return, sf::Keyboard::Space, sf::Keyboard::Up,
    sf::Keyboard::Down,    sf::Keyboard::Left,   sf::Keyboard::Right, sf::Keyboard::Num0,
    sf::Keyboard::Num1,    sf::Keyboard::Num2,   sf::Keyboard::Num3,  sf::Keyboard::Num4,
    sf::Keyboard::Numpad2, sf::Keyboard::E,      sf::Keyboard::P,     sf::Keyboard::L,
    sf::Keyboard::D,       sf::Keyboard::M,      sf::Keyboard::O,     sf::Keyboard::B,
    sf::Keyboard::A,       sf::Keyboard::F1,     sf::Keyboard::Tab,   sf::Keyboard::Unknown};

const char* screenName(int screen) {
    switch (screen) {
        case MainMenu:
            return "main menu";
        case LevelSelect:
            return "song list";
        case MakingOf:
            return "making-of";
        case Playing:
            return "scored play";
        case Exploring:
            return "explore play";
        case Results:
            return "results";
        case Tutorial:
            return "tutorial";
        case OptionsPanel:
            return "options";
        default:
            return "unknown";
    }
}

float envFloat(const char* name, float fallback) {
    const char* v = std::getenv(name);
    if (!v || !*v) return fallback;
    char* end = nullptr;
    float f = std::strtof(v, &end);
    return end != v ? f : fallback;
}

// Standard output and error (file descriptors, so the loader thread's lines are caught
// too) go to files of the game folder while the soak runs.
class Redirect {
public:
    Redirect(const std::string& outPath, const std::string& errPath) {
        std::cout.flush();
        std::cerr.flush();
        std::fflush(nullptr);
        savedOut = dup(STDOUT_FILENO);
        savedErr = dup(STDERR_FILENO);
        int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (out >= 0) dup2(out, STDOUT_FILENO);
        if (err >= 0) dup2(err, STDERR_FILENO);
        if (out >= 0) close(out);
        if (err >= 0) close(err);
    }
    ~Redirect() {
        std::cout.flush();
        std::cerr.flush();
        std::fflush(nullptr);
        if (savedOut >= 0) dup2(savedOut, STDOUT_FILENO);
        if (savedErr >= 0) dup2(savedErr, STDERR_FILENO);
        if (savedOut >= 0) close(savedOut);
        if (savedErr >= 0) close(savedErr);
    }

private:
    int savedOut = -1;
    int savedErr = -1;
};

size_t countOf(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

// One run of the game, from start-up to quit.
struct Run {
    explicit Run(sf::Vector2u size)
        : platform(size.x, size.y), app(platform), player(app, platform) {}
    ScriptedPlatform platform;
    App app;
    ScriptedPlayer player;
};

class Soak {
public:
    Soak(GameFolder& folder, unsigned seed, float seconds)
        : folder(folder), rng(seed), gameSecondsLimit(seconds) {}

    // Runs until the game time is spent or a fault is found. Returns the faults.
    std::vector<std::string> go() {
        if (!startRun()) return faults;
        prelude();
        while (gameSeconds < gameSecondsLimit && faults.empty() && run) act();
        if (faults.empty() && run) quitGame(true);
        return faults;
    }

    GameFolder& folder;
    std::mt19937 rng;
    float gameSecondsLimit;
    float gameSeconds = 0.0f;
    float playSeconds = 0.0f;  // game time since the current play began
    long frames = 0;
    int runs = 0;
    int playsStarted = 0;
    int pauses = 0;
    std::map<std::string, long> framesOnScreen;
    std::vector<std::string> faults;
    std::unique_ptr<Run> run;
    std::vector<float> savedRecords;
    // MIREVO_SOAK_TRACE names a file that receives every key tapped, with time and screen.
    std::ofstream trace;

    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); }
    float uniform(float a, float b) { return std::uniform_real_distribution<float>(a, b)(rng); }
    bool chance(float p) { return uniform(0.0f, 1.0f) < p; }
    int screen() const { return run->app.iface->Screen; }
    long seen(const char* name) {
        auto it = framesOnScreen.find(name);
        return it == framesOnScreen.end() ? 0 : it->second;
    }

    void fault(const std::string& what) {
        std::ostringstream s;
        s << what << " (run " << runs << ", frame " << frames << ", game time " << gameSeconds
          << " s, screen " << screenName(screen()) << ")";
        faults.push_back(s.str());
    }

    bool startRun() {
        ++runs;
        run = std::make_unique<Run>(windowSizes[(runs - 1) % 3]);
        int status = run->app.startUp();
        if (status != -1) {
            faults.push_back("start-up ended with status " + std::to_string(status));
            run.reset();
            return false;
        }
        std::vector<float> loaded = records();
        if (!savedRecords.empty() && loaded != savedRecords)
            fault("the records read at start-up differ from those saved at the last quit");
        return true;
    }

    std::vector<float> records() const {
        const Interface& ui = *run->app.iface;
        std::vector<float> all(ui.bestCompletion);
        all.insert(all.end(), ui.bestScore.begin(), ui.bestScore.end());
        all.insert(all.end(), ui.bestExploreTime.begin(), ui.bestExploreTime.end());
        return all;
    }

    // One frame of the game with the given frame time. False when the loop ended.
    bool frame(float dt) {
        Run& r = *run;
        r.player.dt = dt;
        const int before = r.platform.framesShown;
        const bool going = r.player.frame();
        ++frames;
        gameSeconds += dt;
        if (!going) {
            if (r.app.failStatus >= 0) {
                fault("the loop ended with status " + std::to_string(r.app.failStatus));
            } else if (!r.app.quitRequested) {
                fault("the loop ended without a quit");
            } else {
                quitGame(false);
            }
            return false;
        }
        if (r.platform.framesShown != before + 1) fault("a frame was not shown");
        ++framesOnScreen[screenName(screen())];
        const bool inPlay = screen() == Playing || screen() == Exploring || screen() == Tutorial;
        playSeconds = inPlay ? playSeconds + dt : 0.0f;
        check();
        return faults.empty();
    }

    // A frame time: mostly steady, sometimes fast, slow or a stall.
    float nextDt() {
        const int k = pick(100);
        if (k < 70) return 1.0f / 30.0f;
        if (k < 85) return 1.0f / 60.0f;
        if (k < 97) return 1.0f / 12.0f;
        return uniform(0.1f, 0.6f);
    }

    bool frames_(float seconds) {
        for (float t = 0.0f; t < seconds;) {
            const float dt = nextDt();
            if (!frame(dt)) return false;
            t += dt;
        }
        return true;
    }

    void check() {
        const App& app = run->app;
        const Interface& ui = *app.iface;
        const Game& g = *app.game;
        const int s = ui.Screen;
        const bool menu = s == MainMenu || s == LevelSelect || s == MakingOf;
        const bool play = s == Playing || s == Exploring || s == Results || s == Tutorial;
        if (!menu && !play) return fault("unknown screen " + std::to_string(s));
        if (menu && !g.routes.empty()) fault("routes left over on a menu screen");
        if (menu && app.backgroundLoader) fault("a sound loader left over on a menu screen");
        if (play && g.routes.size() != 4) fault("a play screen without its four routes");
        if (play && !app.backgroundLoader) fault("a play screen without its sound loader");
        if (!std::isfinite(g.score) || g.score < 0.0f) fault("score out of range");
        for (const Route& route : g.routes) {
            if (route.gaugeLevel < 0 || route.gaugeLevel > 10)
                fault("gauge level " + std::to_string(route.gaugeLevel) + " out of 0..10");
        }
    }

    // Quits the game (a close request when asked), checks the end and starts it again.
    void quitGame(bool close) {
        Run& r = *run;
        if (close) {
            r.platform.pushClose();
            for (int k = 0; k < 3 && r.app.frame(); ++k) {
            }
        }
        savedRecords = records();
        const int status = r.app.finish();
        if (status != 0) fault("the game ended with status " + std::to_string(status));
        const std::string file = folder.read("profile.zob");
        if (file.size() != 48) fault("profile.zob is " + std::to_string(file.size()) + " bytes");
        run.reset();
        if (faults.empty() && gameSeconds < gameSecondsLimit) startRun();
    }

    void tap(sf::Keyboard::Key key) {
        if (trace) trace << gameSeconds << " " << screenName(screen()) << " key " << key << "\n";
        run->platform.pushKey(key);
        frame(nextDt());
    }

    sf::Vector2i randomPoint() {
        const sf::Vector2u size = run->platform.size;
        return {pick(static_cast<int>(size.x)), pick(static_cast<int>(size.y))};
    }

    void click(sf::Mouse::Button button = sf::Mouse::Left) {
        const sf::Vector2i p = randomPoint();
        run->platform.pushClick(p.x, p.y, button);
        frame(nextDt());
    }

    void moveMouse() {
        const sf::Vector2i p = randomPoint();
        run->platform.mouse = p;
        run->platform.push(mouseMoved(p.x, p.y));
        frame(nextDt());
    }

    void randomInput() {
        const int k = pick(10);
        if (k < 5) {
            tap(anyKeys[pick(sizeof anyKeys / sizeof anyKeys[0])]);
        } else if (k < 8) {
            click(pick(4) == 0 ? sf::Mouse::Right : sf::Mouse::Left);
        } else {
            moveMouse();
        }
    }

    // A while of play: catching well, badly or not at all, with keys held down at times.
    void play(float seconds) {
        Run* r = run.get();
        r->player.catching = pick(3) != 0;
        const auto keptWant = r->player.wantsPress;
        if (pick(3) == 0) {
            // A clumsy player: presses at any moment of the landing.
            r->player.wantsPress = [](const Particle& p) { return p.stage >= 2; };
        }
        const int screenAtStart = screen();
        for (float t = 0.0f; t < seconds && run.get() == r && screen() == screenAtStart;) {
            sf::Keyboard::Key held = routeKeys[pick(4)];
            const bool hold = pick(20) == 0;
            if (hold) r->platform.hold(held);
            const float dt = nextDt();
            if (!frame(dt)) return;
            if (hold) r->platform.release(held);
            t += dt;
        }
        if (run) {
            run->player.catching = true;
            run->player.wantsPress = keptWant;
        }
    }

    // Frames until the condition holds (at most the given game time).
    template <class Condition>
    bool until(Condition done, float maxSeconds) {
        for (float t = 0.0f; t < maxSeconds && run && faults.empty(); t += 1.0f / 30.0f) {
            if (done()) return true;
            if (!frame(1.0f / 30.0f)) return false;
        }
        return run && done();
    }
    bool on(int s) { return run && screen() == s; }
    bool startFromList(sf::Keyboard::Key key) {
        tap(key);
        const bool started = run && screen() != LevelSelect;
        playsStarted += started ? 1 : 0;
        return started;
    }
    // Pause (when not paused), then quit to the song list.
    void leavePlay() {
        if (!run) return;
        const Interface& ui = *run->app.iface;
        if (!ui.pauseShown) tap(sf::Keyboard::Escape);
        until([&] { return !run || (!ui.pauseOpening && !ui.pauseClosing); }, 5.0f);
        if (run) tap(sf::Keyboard::Escape);
        until([&] { return on(LevelSelect); }, 3.0f);
    }

    // A short visit of every screen first, so that even a short soak sees them all.
    void prelude() {
        tap(sf::Keyboard::Down);
        if (!until([&] { return on(MakingOf); }, 4.0f)) return;
        for (int k = 0; k < 2 && run; ++k) {
            tap(sf::Keyboard::Right);
            frames_(1.5f);
        }
        if (run) tap(sf::Keyboard::Escape);
        if (!until([&] { return on(MainMenu); }, 4.0f)) return;
        tap(sf::Keyboard::Right);
        if (!until([&] { return on(LevelSelect); }, 4.0f)) return;
        if (!startFromList(sf::Keyboard::Num1)) return;
        play(4.0f);
        const Interface& ui = *run->app.iface;
        if (run) tap(sf::Keyboard::Space);
        until([&] { return !run || (ui.pauseShown && !ui.pauseOpening); }, 5.0f);
        if (run) tap(sf::Keyboard::Space);
        until([&] { return !run || (!ui.pauseShown && !ui.pauseClosing); }, 5.0f);
        if (run) play(3.0f);
        leavePlay();
        if (!on(LevelSelect) || !startFromList(sf::Keyboard::Num0)) return;
        play(5.0f);
        if (run) tap(sf::Keyboard::Escape);
        if (!until([&] { return on(LevelSelect); }, 3.0f)) return;
        tap(sf::Keyboard::Escape);
        if (!until([&] { return on(MainMenu); }, 4.0f)) return;
        tap(sf::Keyboard::Left);
        if (!until([&] { return on(LevelSelect); }, 4.0f)) return;
        if (!startFromList(sf::Keyboard::Num1)) return;
        play(5.0f);
        leavePlay();
        if (run) tap(sf::Keyboard::Escape);
        if (!until([&] { return on(MainMenu); }, 4.0f)) return;
        // A long soak also plays a final stage to its results (two minutes of game time),
        // through the developer chord that fills every gauge, then restarts the play.
        if (gameSecondsLimit < 300.0f) return;
        tap(sf::Keyboard::Right);
        if (!until([&] { return on(LevelSelect); }, 4.0f)) return;
        if (!startFromList(sf::Keyboard::Num1)) return;
        play(3.0f);
        const sf::Keyboard::Key chord[3] = {sf::Keyboard::LControl, sf::Keyboard::LShift,
                                            sf::Keyboard::F};
        if (!run) return;
        for (sf::Keyboard::Key key : chord) run->platform.hold(key);
        frame(1.0f / 30.0f);
        if (!run) return;
        for (sf::Keyboard::Key key : chord) run->platform.release(key);
        if (!until([&] { return on(Results); }, 300.0f)) return;
        frames_(2.0f);
        if (run) tap(sf::Keyboard::Space);  // the same play again
        if (run) play(3.0f);
        leavePlay();
    }

    void act() {
        // A long play is left sooner or later (a final stage runs to its end).
        if (playSeconds > 30.0f && !run->app.game->finalStageStarted && chance(0.3f)) {
            tap(sf::Keyboard::Escape);
            if (run) frames_(1.0f);
            if (run && (screen() == Playing || screen() == Exploring)) tap(sf::Keyboard::Escape);
            return;
        }
        switch (screen()) {
            case MainMenu: {
                // Screens not seen yet draw the walk towards them.
                if (seen("making-of") == 0 && chance(0.3f)) return tap(sf::Keyboard::Down);
                if (seen("explore play") == 0 && chance(0.3f)) return tap(sf::Keyboard::Left);
                const int k = pick(100);
                if (k < 35) {
                    tap(sf::Keyboard::Right);
                } else if (k < 55) {
                    tap(sf::Keyboard::Left);
                } else if (k < 65) {
                    tap(sf::Keyboard::Down);
                } else if (k < 68) {
                    tap(sf::Keyboard::Escape);  // quits the game; it is started again
                } else if (k < 69) {
                    quitGame(true);
                } else if (k < 82) {
                    click();
                } else if (k < 90) {
                    frames_(uniform(0.1f, 2.0f));
                } else {
                    randomInput();
                }
                break;
            }
            case LevelSelect: {
                if (seen("tutorial") == 0 && !run->app.game->explorePlay && chance(0.3f)) {
                    tap(sf::Keyboard::Num0);
                    if (run && screen() != LevelSelect) ++playsStarted;
                    return;
                }
                if (seen("scored play") == 0 && run->app.game->explorePlay && chance(0.5f))
                    return tap(sf::Keyboard::Escape);
                if (seen("scored play") == 0 && !run->app.game->explorePlay && chance(0.4f)) {
                    tap(sf::Keyboard::Num2);
                    if (run && screen() != LevelSelect) ++playsStarted;
                    return;
                }
                const int k = pick(100);
                if (k < 35) {
                    const sf::Keyboard::Key numbers[4] = {sf::Keyboard::Num1, sf::Keyboard::Num2,
                                                          sf::Keyboard::Num3, sf::Keyboard::Num4};
                    tap(numbers[pick(4)]);
                    if (run && screen() != LevelSelect) ++playsStarted;
                } else if (k < 42) {
                    tap(sf::Keyboard::Num0);
                    if (run && screen() != LevelSelect) ++playsStarted;
                } else if (k < 57) {
                    const sf::Keyboard::Key moves[3] = {sf::Keyboard::Up, sf::Keyboard::Down,
                                                        sf::Keyboard::Return};
                    tap(moves[pick(3)]);
                    if (run && screen() != LevelSelect) ++playsStarted;
                } else if (k < 67) {
                    const sf::Keyboard::Key backs[3] = {sf::Keyboard::Escape, sf::Keyboard::Left,
                                                        sf::Keyboard::Right};
                    tap(backs[pick(3)]);
                } else if (k < 82) {
                    moveMouse();
                    if (run) click();
                    if (run && screen() != LevelSelect) ++playsStarted;
                } else if (k < 85) {
                    click(sf::Mouse::Right);
                } else if (k < 92) {
                    frames_(uniform(0.1f, 1.5f));
                } else {
                    randomInput();
                }
                break;
            }
            case MakingOf: {
                const int k = pick(100);
                if (k < 40) {
                    tap(pick(2) ? sf::Keyboard::Right : sf::Keyboard::Left);
                } else if (k < 70) {
                    click();
                } else if (k < 82) {
                    tap(pick(2) ? sf::Keyboard::Escape : sf::Keyboard::Up);
                } else if (k < 90) {
                    frames_(uniform(0.1f, 1.5f));
                } else {
                    randomInput();
                }
                break;
            }
            case Playing:
            case Exploring: {
                // A final stage is mostly played out, so that the results come up.
                if (run->app.game->finalStageStarted && !run->app.iface->pauseShown && chance(0.9f))
                    return play(uniform(5.0f, 20.0f));
                const int k = pick(100);
                if (k < 45) {
                    play(uniform(1.0f, 10.0f));
                } else if (k < 57) {
                    tap(sf::Keyboard::Space);
                    ++pauses;
                } else if (k < 63) {
                    tap(sf::Keyboard::Escape);
                } else if (k < 70) {
                    tap(routeKeys[pick(4)]);
                } else if (k < 74) {
                    const sf::Keyboard::Key dev[3] = {sf::Keyboard::M, sf::Keyboard::O,
                                                      sf::Keyboard::B};
                    Run& r = *run;
                    const sf::Keyboard::Key key = dev[pick(3)];
                    r.platform.hold(key);
                    frame(nextDt());
                    if (run) run->platform.release(key);
                } else if (k < 76) {
                    // The developer chord that fills every gauge: leads to the final stage.
                    Run& r = *run;
                    const sf::Keyboard::Key chord[3] = {sf::Keyboard::LControl,
                                                        sf::Keyboard::LShift, sf::Keyboard::F};
                    for (sf::Keyboard::Key key : chord) r.platform.hold(key);
                    frame(nextDt());
                    if (run)
                        for (sf::Keyboard::Key key : chord) run->platform.release(key);
                } else if (k < 90) {
                    click(pick(3) == 0 ? sf::Mouse::Right : sf::Mouse::Left);
                } else {
                    randomInput();
                }
                break;
            }
            case Results: {
                const int k = pick(100);
                if (k < 30) {
                    tap(sf::Keyboard::Space);
                } else if (k < 60) {
                    tap(sf::Keyboard::Escape);
                } else if (k < 85) {
                    click();
                } else {
                    frames_(uniform(0.1f, 2.0f));
                }
                break;
            }
            case Tutorial: {
                const int k = pick(100);
                if (k < 40) {
                    randomInput();
                } else if (k < 75) {
                    play(uniform(1.0f, 10.0f));
                } else if (k < 82) {
                    tap(sf::Keyboard::Escape);
                } else {
                    tap(anyKeys[pick(13)]);
                }
                break;
            }
            case OptionsPanel: {
                const int k = pick(100);
                if (k < 50) {
                    const sf::Keyboard::Key keys[5] = {sf::Keyboard::Up, sf::Keyboard::Down,
                                                       sf::Keyboard::Left, sf::Keyboard::Right,
                                                       sf::Keyboard::Return};
                    tap(keys[pick(5)]);
                } else if (k < 70) {
                    click();
                } else if (k < 85) {
                    tap(sf::Keyboard::Escape);
                } else {
                    randomInput();
                }
                break;
            }
            default:
                fault("unknown screen");
        }
    }
};
}  // namespace

TEST(Soak, RandomAndScriptedPlayForMinutesOfGameTime) {
    GameFolder folder;
    ASSERT_TRUE(folder.hasAssets()) << "no asset pack at " << assetsFolder();
    // Two songs completed, so the explore lists open too.
    {
        const float records[12] = {1, 0, 1, 0, 120, 0, 80, 0, 0, 0, 0, 0};
        std::ofstream out(folder.file("profile.zob"), std::ios::binary);
        out.write(reinterpret_cast<const char*>(records), sizeof records);
    }
    const float minutes = envFloat("MIREVO_SOAK_MINUTES", 2.0f);
    const char* seedText = std::getenv("MIREVO_SOAK_SEED");
    const unsigned seed = seedText && *seedText
                              ? static_cast<unsigned>(std::strtoul(seedText, nullptr, 10))
                              : 20261207u;
    const std::string outPath = folder.file("soak_stdout.txt");
    const std::string errPath = folder.file("soak_stderr.txt");

    Soak soak(folder, seed, minutes * 60.0f);
    if (const char* trace = std::getenv("MIREVO_SOAK_TRACE")) soak.trace.open(trace);
    const auto started = std::chrono::steady_clock::now();
    std::vector<std::string> faults;
    {
        Redirect redirect(outPath, errPath);
        faults = soak.go();
    }
    const double realSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    const std::string out = folder.read("soak_stdout.txt");
    const std::string err = folder.read("soak_stderr.txt");

    std::cout << "soak: seed " << seed << ", " << soak.gameSeconds << " s of game time in "
              << realSeconds << " s, " << soak.frames << " frames, " << soak.runs
              << " runs of the game, " << soak.playsStarted << " plays started, " << soak.pauses
              << " pause keys" << std::endl;
    for (const auto& [name, n] : soak.framesOnScreen)
        std::cout << "  " << name << ": " << n << " frames" << std::endl;
    std::cout << "  lines: " << countOf(out, "init routes !") << " plays built, "
              << countOf(out, "Exiting !") << " exits, " << countOf(err, "Warning curimage")
              << " curimage warnings" << std::endl;

    // The particles' own warning of a frame past its animation's end, as written.
    for (size_t at = err.find("Warning curimage"), n = 0; at != std::string::npos && n < 5;
         at = err.find("Warning curimage", at + 1), ++n)
        std::cout << "  " << err.substr(at, err.find('\n', at) - at) << std::endl;
    for (const std::string& f : faults) ADD_FAILURE() << f;
    EXPECT_EQ(countOf(err, "ERROR choose_anim"), 0u) << "a route asked for a level outside 0..10";
    EXPECT_EQ(countOf(out, "Exiting !"), static_cast<size_t>(soak.runs));
    EXPECT_GE(soak.gameSeconds, minutes * 60.0f);
    // The walk went through the menus, the making-of, plays and the tutorial.
    for (const char* name : {"main menu", "song list", "making-of", "scored play", "tutorial"}) {
        EXPECT_GT(soak.framesOnScreen[name], 0) << name << " was never shown";
    }
    if (!faults.empty() || HasFailure()) {
        std::cout << "last lines of standard output:\n"
                  << out.substr(out.size() > 3000 ? out.size() - 3000 : 0) << std::endl;
        std::cout << "last lines of standard error:\n"
                  << err.substr(err.size() > 3000 ? err.size() - 3000 : 0) << std::endl;
    }
}
