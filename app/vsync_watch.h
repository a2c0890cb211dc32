#pragma once

// Tells from the frame times whether the vertical sync that was asked for is in effect. Some
// drivers, compositors and virtual machines ignore it, and the frames then come as fast as the
// machine can draw them: a core and the graphics card at full load on a still menu. The watch
// looks at the first `watchedFrames` frames after it starts; when their median time is well
// below the display's refresh period, the sync is not in effect and the game caps its frames
// at the refresh rate itself, once.
class VsyncWatch {
public:
    static const int watchedFrames = 120;
    // The refresh rate assumed when the display's cannot be read.
    static const unsigned assumedRate = 60;

    // Starts watching a window whose frames follow a display at `refreshRate` per second (0:
    // not known).
    void start(unsigned refreshRate);
    // Counts one frame's time (seconds since the one before). True once, at the frame that
    // decides that the sync is not in effect: the frames are then to be capped at `rate`.
    bool frameTook(float seconds);

    bool watching = false;
    bool capped = false;
    unsigned rate = assumedRate;
    int counted = 0;
    float times[watchedFrames] = {};
};
