#include <iostream>
#include <memory>
#ifdef __GLIBC__
#include <malloc.h>
#endif

#include "app/app.h"
#include "app/audio_device.h"
#include "app/options.h"
#include "app/platform.h"

int main(int argc, char** argv) {
#ifdef __GLIBC__
    // Large blocks (decoded pictures and sounds, a few MB each) always come from the system
    // and go back to it when freed. The allocator's sliding threshold would otherwise serve
    // them from its heaps after the first few were freed, and the process would keep the
    // start-up's and each play start's freed buffers for the whole run.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
#endif
    // The command line first: --help, --version and a bad flag need no display and
    // leave no file behind.
    CommandLine commandLine = parseCommandLine(argc, argv);
    std::cout << commandLine.output << std::flush;
    std::cerr << commandLine.error << std::flush;
    if (commandLine.exitStatus >= 0) return commandLine.exitStatus;
    // A recording to play again is read first: a file that cannot be played needs no display.
    std::unique_ptr<PlayRecording> replay;
    if (commandLine.replayFile) {
        replay = std::make_unique<PlayRecording>();
        const ReplayRefusal refusal = readReplayFile(*commandLine.replayFile, *replay);
        if (refusal != ReplayRefusal::none) {
            std::cerr << "mirevo: --replay: " << quotedText(*commandLine.replayFile) << " "
                      << replayRefusalText(refusal) << std::endl;
            return 2;
        }
    }

    SfmlPlatform platform;
    if (!platform.displayAvailable()) {
        std::cerr << "mirevo: no display to open the game window on (is DISPLAY set?)" << std::endl;
        return 1;
    }
    chooseAudioDriver();
    Options options = mergeOptions(loadSettingsFile(settingsFileName, std::cerr), commandLine);
    App app(platform, options);
    app.replaySource = std::move(replay);
    return app.run();
}
