#include <cstring>
#include <iostream>

#include "app/app.h"
#include "app/audio_device.h"
#include "app/platform.h"
#include "mirevo_version.h"

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--version") == 0) {
        std::cout << "mirevo " << MIREVO_VERSION << std::endl;
        return 0;
    }
    chooseAudioDriver();
    SfmlPlatform platform;
    App app(platform);
    return app.run();
}
