// mirevo_drive: runs the real game (App) in the current folder, driven by a script instead
// of a player, for the reliability scripts and the benchmarks that need a whole process.
//
//   mirevo_drive tour <what> [width height]   what: startup, makingof, tutorial, play<song>,
//                                             explore<song>, all. Exit status: the game's.
//   mirevo_drive startup                      real window; prints start-up milliseconds
//   mirevo_drive startup-floor                decodes the start-up files; prints milliseconds
//   mirevo_drive memory <song>                peak memory of a play against its data bytes
//   mirevo_drive bare                         memory of a process with the window and the
//                                             sound device open and nothing loaded
//   mirevo_drive frame <song> [frames]        play frames on the real window against a bare loop
//   mirevo_drive session                      menus, two plays, explore, tutorial (leak checks)
#include <malloc.h>

#include <SFML/Audio.hpp>
#include <SFML/Graphics.hpp>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <set>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/platform.h"
#include "assets/asset_files.h"
#include "audio/held_samples.h"
#include "audio/load_with_thread.h"
#include "audio/sound_banks.h"
#include "board/anim_tables.h"
#include "board/route.h"
#include "core/songs.h"
#include "game/game.h"
#include "scripted_player.h"
#include "support/scripted_platform.h"
#include "support/window_events.h"
#include "ui/interface.h"

namespace {
using Clock = std::chrono::steady_clock;
const Clock::time_point processStart = Clock::now();

double msSince(Clock::time_point t) {
    return std::chrono::duration<double, std::milli>(Clock::now() - t).count();
}

// The number keys of the song list: key s + 1 starts song s.
const sf::Keyboard::Key listKeys[4] = {sf::Keyboard::Num1, sf::Keyboard::Num2, sf::Keyboard::Num3,
                                       sf::Keyboard::Num4};

// Memory of this process from /proc (kB): "VmHWM" peak, "VmRSS" now.
long procStatus(const char* field) {
    std::ifstream in("/proc/self/status");
    std::string line;
    const size_t n = std::strlen(field);
    while (std::getline(in, line)) {
        if (line.compare(0, n, field) == 0 && line.size() > n && line[n] == ':')
            return std::atol(line.c_str() + n + 1);
    }
    return -1;
}

// The status a finished run ends with: a play-start failure, or the normal end.
int endOf(App& app, bool going) {
    if (app.failStatus >= 0) return app.failStatus;
    if (!going && !app.quitRequested) return 3;
    return app.finish();
}

// Leaves whatever screen is showing and quits from the main menu.
bool quitFromAnywhere(ScriptedPlayer& player) {
    App& app = player.app;
    for (int k = 0; k < 20; ++k) {
        if (app.failStatus >= 0) return false;
        const int s = app.iface->Screen;
        if (s == Playing || s == Exploring) {
            if (!app.iface->pauseShown) {
                player.tap(sf::Keyboard::Escape);  // pause
                player.wait(1.0f);
            }
            player.tap(sf::Keyboard::Escape);  // quit to the list
        } else if (s == Results || s == Tutorial || s == LevelSelect || s == MakingOf) {
            player.tap(sf::Keyboard::Escape);
        } else if (s == MainMenu) {
            player.wait(0.25f);
            player.tap(sf::Keyboard::Escape);
            return !player.frame();  // the loop ends at the start of the next frame
        }
        player.wait(1.5f);
    }
    return false;
}

// Frames until the song's loader is done (or a real-time limit), catching meanwhile.
void playUntilLoaded(ScriptedPlayer& player, float gameSeconds, double realLimitMs) {
    const Clock::time_point start = Clock::now();
    for (float t = 0.0f; t < gameSeconds; t += player.dt) {
        if (!player.frame()) return;
    }
    while (player.app.backgroundLoader && player.app.backgroundLoader->loadStatus.load() == 0 &&
           msSince(start) < realLimitMs) {
        if (!player.frame()) return;
    }
    for (int k = 0; k < 24; ++k) {
        if (!player.frame()) return;
    }
}

bool startSong(ScriptedPlayer& player, int song, bool explore) {
    if (!player.openSongList(explore)) return false;
    player.tap(listKeys[song]);
    return player.app.failStatus < 0 && player.app.iface->Screen != LevelSelect;
}

int tour(const std::string& what, unsigned width, unsigned height) {
    ScriptedPlatform platform(width, height);
    App app(platform);
    ScriptedPlayer player(app, platform);
    int status = app.startUp();
    if (status >= 0) {
        std::cout << "tour: start-up ended with status " << status << std::endl;
        return status;
    }
    player.wait(0.25f);
    const bool all = what == "all";
    if (all || what == "makingof") {
        player.tap(sf::Keyboard::Down);
        player.runUntil([&] { return app.iface->Screen == MakingOf; }, 3.0f);
        player.wait(1.0f);
        for (int page = 0; page < 20; ++page) {
            player.tap(sf::Keyboard::Right);
            player.wait(1.2f);
        }
        player.tap(sf::Keyboard::Left);
        player.wait(1.2f);
        player.tap(sf::Keyboard::Escape);
        player.wait(2.0f);
    }
    if (all || what == "tutorial") {
        if (player.openSongList(false)) {
            player.tap(sf::Keyboard::Num0);
            if (app.failStatus >= 0) return endOf(app, false);
            for (int k = 0; k < 6 && app.failStatus < 0 && app.iface->Screen == Tutorial; ++k) {
                player.tap(sf::Keyboard::Space);
                player.runUntil([] { return false; }, 8.0f);
            }
            playUntilLoaded(player, 2.0f, 20000.0);
        }
        if (app.failStatus >= 0) return endOf(app, false);
        quitFromAnywhere(player);
        return endOf(app, false);
    }
    for (int song = 0; song < 4; ++song) {
        for (int explore = 0; explore < 2; ++explore) {
            const std::string name = (explore ? "explore" : "play") + std::to_string(song);
            if (!all && what != name) continue;
            if (!startSong(player, song, explore == 1)) {
                if (app.failStatus >= 0) {
                    std::cout << "tour: " << name << " ended with status " << app.failStatus
                              << std::endl;
                    return app.failStatus;
                }
                std::cout << "tour: " << name << " did not start" << std::endl;
                continue;
            }
            playUntilLoaded(player, 3.0f, 30000.0);
            if (app.failStatus >= 0) return endOf(app, false);
            player.tap(sf::Keyboard::Space);  // pause and resume once
            player.wait(1.0f);
            player.tap(sf::Keyboard::Space);
            player.runUntil([] { return false; }, 2.0f);
            if (!quitFromAnywhere(player))
                std::cout << "tour: " << name << " could not quit" << std::endl;
            return endOf(app, false);
        }
    }
    if (!quitFromAnywhere(player)) {
        std::cout << "tour: could not quit" << std::endl;
        return endOf(app, false);
    }
    return endOf(app, false);
}

// Frames on the real window are measured without waiting for the display's refresh.
Options unpaced() {
    Options options;
    options.vsync = false;
    return options;
}

// A platform on the real window whose held keys come from the script.
class DrivenPlatform : public SfmlPlatform {
public:
    bool isKeyPressed(sf::Keyboard::Key key) const override { return held.count(key) > 0; }
    std::set<sf::Keyboard::Key> held;
};

// Start-up with the real window: from the start of the process to the first main-menu frame
// on screen.
int startupTime() {
    DrivenPlatform platform;
    App app(platform, unpaced());
    const int status = app.startUp();
    if (status >= 0) return status;
    if (!app.frame()) return 2;
    const double ms = msSince(processStart);
    std::cout << "startup_ms " << ms << std::endl;
    app.quitRequested = true;
    app.frame();
    app.finish();
    return 0;
}

// Every picture, the font and the sounds the start-up reads, decoded in this one thread
// into memory (no window, no textures).
int startupFloor() {
    const Clock::time_point start = Clock::now();
    const std::vector<std::string> pictures = startUpPictureFiles(regularAnimCounts);
    int failed = 0;
    for (const std::string& p : pictures) {
        sf::Image image;
        if (!image.loadFromFile(p)) ++failed;
    }
    sf::Font font;
    if (!font.loadFromFile(fontFile())) ++failed;
    const std::vector<std::string> sounds = startUpSoundFiles();
    std::vector<sf::SoundBuffer> buffers(sounds.size());
    for (size_t i = 0; i < sounds.size(); ++i)
        if (!buffers[i].loadFromFile(sounds[i])) ++failed;
    const double ms = msSince(start);
    std::cout << "startup_floor_ms " << ms << " files " << pictures.size() + 1 + sounds.size()
              << " failed " << failed << std::endl;
    return failed == 0 ? 0 : 1;
}

long long textureBytes(const sf::Texture& t) {
    return 4LL * t.getSize().x * t.getSize().y;
}
long long bufferBytes(const HeldBuffer& b) {
    return static_cast<long long>(b.sampleCount()) * 2;
}

// Peak memory of the process during a play of a song, against the bytes of the pictures and
// sound buffers it holds then. Also what the process held before loading anything.
int memory(int song) {
    ScriptedPlatform platform(1920, 1080);
    App app(platform);
    ScriptedPlayer player(app, platform);
    platform.target();  // the drawing context, before anything is loaded
    const long baseKb = procStatus("VmRSS");
    if (app.startUp() >= 0) return 1;
    const long startedKb = procStatus("VmRSS");
    if (!startSong(player, song, false)) return 1;
    playUntilLoaded(player, 10.0f, 60000.0);
    player.runUntil([] { return false; }, 20.0f);
    const long peakKb = procStatus("VmHWM");
    const long nowKb = procStatus("VmRSS");
    // How much of it is freed memory the allocator still keeps.
    malloc_trim(0);
    const long trimmedKb = procStatus("VmRSS");

    long long pictures = 0;
    const Interface& ui = *app.iface;
    for (const auto& list : app.atlasTextures)
        for (const sf::Texture& t : list) pictures += textureBytes(t);
    for (const sf::Texture& t : app.gaugeTextures) pictures += textureBytes(t);
    for (const sf::Texture& t : app.slimeTextures) pictures += textureBytes(t);
    pictures += textureBytes(app.buttonTexture) + textureBytes(app.loadingTexture);
    for (const sf::Texture* t :
         {&ui.centreTexture, &ui.pauseTexture, &ui.boardTexture, &ui.dotTexture,
          &ui.scoreBarTexture, &ui.hintTexture, &ui.volumeTexture})
        pictures += textureBytes(*t);
    for (const auto* list :
         {&ui.sideTextures, &ui.tutorialTextures, &ui.menuTextTextures, &ui.makingOfTextures})
        for (const sf::Texture& t : *list) pictures += textureBytes(t);
    long long sounds = 0;
    for (const auto& row : app.waveBuffers)
        for (const HeldBuffer& b : row) sounds += bufferBytes(b);
    for (const auto* list : {&app.droneBuffers, &app.menuBuffers, &app.touchBuffers})
        for (const HeldBuffer& b : *list) sounds += bufferBytes(b);
    const int loaded = app.backgroundLoader ? app.backgroundLoader->loadStatus.load() : -2;
    std::cout << "memory song " << song << " base_kb " << baseKb << " started_kb " << startedKb
              << " peak_kb " << peakKb << " now_kb " << nowKb << " trimmed_kb " << trimmedKb
              << " picture_bytes " << pictures << " sound_bytes " << sounds << " loader " << loaded
              << std::endl;
    quitFromAnywhere(player);
    return endOf(app, false);
}

// What every game process holds before it loads anything: libraries, the window with its
// drawing context after one frame, the sound device.
int bare() {
    SfmlPlatform platform;
    WindowRequest unpaced;
    unpaced.vsync = false;  // as the driven games' windows
    platform.openWindow("Mirevo bare", unpaced);
    const sf::SoundBuffer device;  // opens the sound device, as the first sound does
    platform.target().clear(sf::Color::Black);
    platform.display();
    std::cout << "bare_kb " << procStatus("VmRSS") << std::endl;
    return 0;
}

// Frames of a play on the real window (draw of interface, routes, particles, overlays)
// against a bare loop that draws the same interface and routes and nothing else.
int frames(int song, int count) {
    DrivenPlatform platform;
    App app(platform, unpaced());
    if (app.startUp() >= 0) return 1;
    sf::RenderWindow& window = *platform.window;
    auto step = [&]() { return app.frame(); };
    auto press = [&](sf::Keyboard::Key key) {
        // Handed straight to the screen, as a polled event would be.
        app.handleEvent(keyPressed(key));
    };
    press(sf::Keyboard::Right);
    for (int k = 0; k < 400 && app.iface->Screen != LevelSelect; ++k) step();
    press(listKeys[song]);
    step();
    if (app.iface->Screen != Playing) return 1;
    // Some seconds of play, so that creatures hop on every route.
    const Clock::time_point warm = Clock::now();
    while (msSince(warm) < 4000.0) step();
    const sf::Keyboard::Key keys[4] = {sf::Keyboard::E, sf::Keyboard::P, sf::Keyboard::L,
                                       sf::Keyboard::D};
    std::vector<double> full;
    size_t particles = 0;
    for (int k = 0; k < count; ++k) {
        // The player presses a route whose creature is landing.
        for (int r = 0; r < 4; ++r) {
            platform.held.erase(keys[r]);
            for (const Particle& p : app.game->routes[r].particles)
                if (p.stage == 3 && p.frame >= 2 && p.frame <= 4) platform.held.insert(keys[r]);
            particles += app.game->routes[r].particles.size();
        }
        const Clock::time_point t = Clock::now();
        step();
        full.push_back(msSince(t));
    }
    std::vector<double> bare;
    for (int k = 0; k < count; ++k) {
        const Clock::time_point t = Clock::now();
        window.clear(sf::Color(0, 0, 0, 255));
        window.draw(*app.iface);
        app.drawRoutes();
        window.display();
        bare.push_back(msSince(t));
    }
    auto mean = [](const std::vector<double>& v) {
        double s = 0;
        for (double x : v) s += x;
        return v.empty() ? 0.0 : s / static_cast<double>(v.size());
    };
    std::cout << "frame song " << song << " size " << window.getSize().x << "x"
              << window.getSize().y << " frames " << count << " full_ms " << mean(full)
              << " bare_ms " << mean(bare) << " particles_per_frame "
              << static_cast<double>(particles) / count << std::endl;
    app.quitRequested = true;
    app.frame();
    return app.finish();
}

// Menus, two scored plays, an explore play, the tutorial and the making-of, then a quit.
int session() {
    {
        const float records[12] = {1, 0, 0, 0, 100, 0, 0, 0, 0, 0, 0, 0};
        std::ofstream out("profile.zob", std::ios::binary);
        out.write(reinterpret_cast<const char*>(records), sizeof records);
    }
    ScriptedPlatform platform(1024, 576);
    App app(platform);
    ScriptedPlayer player(app, platform);
    if (app.startUp() >= 0) return 1;
    player.wait(1.0f);
    auto leavePlay = [&] {
        player.tap(sf::Keyboard::Escape);  // pause
        player.wait(1.0f);
        player.tap(sf::Keyboard::Escape);  // back to the song list
        player.wait(1.5f);
    };
    for (int song : {0, 2}) {
        if (!startSong(player, song, false)) return 1;
        playUntilLoaded(player, 10.0f, 60000.0);
        leavePlay();
    }
    player.tap(sf::Keyboard::Escape);  // close the list
    player.wait(2.0f);
    if (!startSong(player, 0, true)) return 1;
    playUntilLoaded(player, 8.0f, 60000.0);
    leavePlay();
    player.tap(sf::Keyboard::Escape);
    player.wait(2.0f);
    if (!player.openSongList(false)) return 1;
    player.tap(sf::Keyboard::Num0);
    for (int k = 0; k < 5; ++k) {
        player.tap(sf::Keyboard::Space);
        player.runUntil([] { return false; }, 6.0f);
    }
    quitFromAnywhere(player);
    std::cout << "session: " << player.presses << " presses" << std::endl;
    return endOf(app, false);
}
}  // namespace

int main(int argc, char** argv) {
    if (std::getenv("ALSOFT_DRIVERS") == nullptr) setenv("ALSOFT_DRIVERS", "null", 1);
    const std::string cmd = argc > 1 ? argv[1] : "";
    const std::string arg = argc > 2 ? argv[2] : "";
    const int number = arg.empty() ? 0 : std::atoi(arg.c_str());
    if (cmd == "tour") {
        const unsigned w = argc > 4 ? static_cast<unsigned>(std::atoi(argv[3])) : 1024;
        const unsigned h = argc > 4 ? static_cast<unsigned>(std::atoi(argv[4])) : 576;
        const int status = tour(arg.empty() ? "all" : arg, w, h);
        std::cout << "tour status " << status << std::endl;
        return status;
    }
    if (cmd == "startup") return startupTime();
    if (cmd == "startup-floor") return startupFloor();
    if (cmd == "memory") return memory(number);
    if (cmd == "bare") return bare();
    if (cmd == "frame") return frames(number, argc > 3 ? std::atoi(argv[3]) : 300);
    if (cmd == "session") return session();
    std::cerr << "usage: mirevo_drive tour|startup|startup-floor|memory|bare|frame|session ..."
              << std::endl;
    return 64;
}
