#include "app/app.h"
#include "app/audio_device.h"
#include "app/platform.h"

int main() {
    chooseAudioDriver();
    SfmlPlatform platform;
    App app(platform);
    return app.run();
}
