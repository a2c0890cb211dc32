#include "app/audio_device.h"

#include <AL/alc.h>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

bool soundDeviceOpens() {
    pid_t child = fork();
    if (child < 0) return true;  // cannot ask: let the library try for itself
    if (child == 0) {
        int devnull = open("/dev/null", O_WRONLY);
        if (devnull >= 0) {
            dup2(devnull, STDERR_FILENO);
            dup2(devnull, STDOUT_FILENO);
        }
        ALCdevice* device = alcOpenDevice(nullptr);
        bool ok = device != nullptr;
        if (device) alcCloseDevice(device);
        _exit(ok ? 0 : 1);
    }
    int status = 0;
    if (waitpid(child, &status, 0) != child) return true;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool chooseAudioDriver() {
    if (std::getenv("ALSOFT_DRIVERS") != nullptr) return true;
    if (soundDeviceOpens()) return true;
    setenv("ALSOFT_DRIVERS", "null", 1);
    return false;
}
