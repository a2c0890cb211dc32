#include <iostream>

#include "app/app.h"
#include "app/audio_device.h"
#include "app/options.h"
#include "app/platform.h"

int main(int argc, char** argv) {
    // The command line first: --help, --version and a bad flag need no display and
    // leave no file behind.
    CommandLine commandLine = parseCommandLine(argc, argv);
    std::cout << commandLine.output << std::flush;
    std::cerr << commandLine.error << std::flush;
    if (commandLine.exitStatus >= 0) return commandLine.exitStatus;

    SfmlPlatform platform;
    if (!platform.displayAvailable()) {
        std::cerr << "mirevo: no display to open the game window on (is DISPLAY set?)" << std::endl;
        return 1;
    }
    chooseAudioDriver();
    Options options = mergeOptions(loadSettingsFile(settingsFileName, std::cerr), commandLine);
    App app(platform, options);
    return app.run();
}
