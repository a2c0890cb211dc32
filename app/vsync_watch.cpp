#include "app/vsync_watch.h"

#include <algorithm>

void VsyncWatch::start(unsigned refreshRate) {
    watching = !capped;
    rate = refreshRate > 0 ? refreshRate : assumedRate;
    counted = 0;
}

bool VsyncWatch::frameTook(float seconds) {
    if (!watching) return false;
    times[counted++] = seconds;
    if (counted < watchedFrames) return false;
    watching = false;
    std::nth_element(times, times + watchedFrames / 2, times + watchedFrames);
    // In sync, a frame lasts a whole refresh period or more; a median under three quarters of
    // it leaves no doubt (and no frame rate near the refresh rate is mistaken for it).
    const float period = 1.0f / static_cast<float>(rate);
    capped = times[watchedFrames / 2] < 0.75f * period;
    return capped;
}
