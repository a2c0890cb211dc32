#pragma once

#include <array>

// The calibration's two tap tests, free of windows and sounds: a steady beat, the player's
// taps against it, and the audio and input offsets they give. The app times the beats on the
// frame clock, plays and draws them, and keeps the offsets the player applies.
//
// A test: the player taps on every beat; the first settleTaps taps let them find the beat
// and are not measured, the next measuredTaps are. Each measured tap is as late as it is
// from its nearest beat (ms, negative when early); taps further than keptWithinMs from the
// median of them all are dropped as slips, and a test that keeps fewer than leastKeptTaps
// could not measure anything. Its result is the median of the kept taps and their spread,
// the standard deviation.
namespace TapTests {
const int settleTaps = 4;
const int measuredTaps = 16;
const int leastKeptTaps = 8;
const double keptWithinMs = 150.0;
// Seconds between two beats, and from the start of a test to its first beat.
const double beatPeriod = 0.6;
const double leadIn = 1.5;
// A test ends by itself after this many beats, however many taps came.
const int mostBeats = 40;
// The offsets' ranges, in ms.
const int audioOffsetLimit = 300;
const int inputOffsetLimit = 150;
}  // namespace TapTests

// The calibration's pages: the two tests, then their results.
namespace CalibrationPage {
const int listen = 0;
const int watch = 1;
const int results = 2;
}  // namespace CalibrationPage

// The results page's buttons, left to right.
namespace CalibrationButton {
const int apply = 0;
const int retry = 1;
const int back = 2;
}  // namespace CalibrationButton

// The beats of a test: beat k at first + k * period (seconds of the frame clock).
struct BeatGrid {
    double first = 0.0;
    double period = TapTests::beatPeriod;
    double beat(int k) const { return first + period * k; }
    // The beat nearest to a time (before the first one too).
    int nearest(double time) const;
    // How late a time is against its nearest beat, in ms (negative: early).
    double latenessMs(double time) const;
};

// What a test measured.
struct TapResult {
    bool measured = false;  // enough taps were kept
    int taps = 0;           // measured taps
    int kept = 0;           // of them, kept
    double medianMs = 0.0;  // of the kept taps: positive, late
    double spreadMs = 0.0;  // standard deviation of the kept taps
};

// The result of the measured taps' lateness (ms), settling taps left out already; at most
// measuredTaps of them are used.
TapResult analyseTaps(const double* latenessMs, int count);

// The offsets the two tests give: the input offset is how late the player taps on what they
// see; the audio offset is how much later than that they tap on what they hear. Each is
// rounded to whole ms and held to its range.
struct CalibrationOffsets {
    int audioMs = 0;
    int inputMs = 0;
};
CalibrationOffsets offsetsFrom(const TapResult& listen, const TapResult& watch);

// When the sound of a beat starts: a sound whose onset comes leadSeconds into it is started
// at the latest frame before the beat that is no more than leadSeconds ahead of it, with this
// playing offset, so that its onset falls on the beat. Negative while the beat is further
// than leadSeconds away (not yet); past leadSeconds when the beat has gone by (the onset is
// then already behind, by the difference).
double beatSoundOffset(double beatTime, double now, double leadSeconds);

// One tap test under way: its beats and the taps so far, in a fixed array (nothing is
// allocated while it runs).
struct TapTest {
    static const int mostTaps = TapTests::settleTaps + TapTests::measuredTaps;
    BeatGrid grid;
    std::array<double, mostTaps> taps{};
    int tapCount = 0;
    // Beats whose sound or picture has been started.
    int beatsStarted = 0;

    void start(double now);
    // A tap at a time: taken unless it comes before the beats (more than half a period
    // before the first) or the test has all its taps.
    bool tap(double time);
    // All taps are in, or the beats have run out.
    bool over(double now) const;
    // Settling taps left, and measured taps made.
    int settleLeft() const;
    int measuredMade() const;
    TapResult result() const;
};
