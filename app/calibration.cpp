#include "app/calibration.h"

#include <algorithm>
#include <cmath>

namespace {
// The median of values[0..count), reordering them; the mean of the middle two for an even
// count.
double medianOf(double* values, int count) {
    std::sort(values, values + count);
    const int half = count / 2;
    return count % 2 == 1 ? values[half] : (values[half - 1] + values[half]) / 2.0;
}
}  // namespace

int BeatGrid::nearest(double time) const {
    return static_cast<int>(std::floor((time - first) / period + 0.5));
}

double BeatGrid::latenessMs(double time) const {
    return (time - beat(nearest(time))) * 1000.0;
}

TapResult analyseTaps(const double* latenessMs, int count) {
    TapResult result;
    count = std::clamp(count, 0, TapTests::measuredTaps);
    result.taps = count;
    if (count == 0) return result;
    std::array<double, TapTests::measuredTaps> all{};
    std::copy(latenessMs, latenessMs + count, all.begin());
    const double median = medianOf(all.data(), count);
    std::array<double, TapTests::measuredTaps> kept{};
    int k = 0;
    for (int i = 0; i < count; ++i) {
        if (std::fabs(all[i] - median) <= TapTests::keptWithinMs) kept[k++] = all[i];
    }
    result.kept = k;
    if (k < TapTests::leastKeptTaps) return result;
    double sum = 0.0;
    for (int i = 0; i < k; ++i) sum += kept[i];
    const double mean = sum / k;
    double squares = 0.0;
    for (int i = 0; i < k; ++i) squares += (kept[i] - mean) * (kept[i] - mean);
    result.spreadMs = std::sqrt(squares / k);
    result.medianMs = medianOf(kept.data(), k);
    result.measured = true;
    return result;
}

CalibrationOffsets offsetsFrom(const TapResult& listen, const TapResult& watch) {
    CalibrationOffsets offsets;
    const double audio = std::round(listen.medianMs - watch.medianMs);
    const double input = std::round(watch.medianMs);
    offsets.audioMs = static_cast<int>(
        std::clamp(audio, -double(TapTests::audioOffsetLimit), double(TapTests::audioOffsetLimit)));
    offsets.inputMs = static_cast<int>(
        std::clamp(input, -double(TapTests::inputOffsetLimit), double(TapTests::inputOffsetLimit)));
    return offsets;
}

double beatSoundOffset(double beatTime, double now, double leadSeconds) {
    const double ahead = beatTime - now;
    if (ahead > leadSeconds) return -1.0;
    return leadSeconds - ahead;
}

void TapTest::start(double now) {
    grid.first = now + TapTests::leadIn;
    grid.period = TapTests::beatPeriod;
    tapCount = 0;
    beatsStarted = 0;
}

bool TapTest::tap(double time) {
    if (tapCount >= mostTaps || time < grid.first - grid.period / 2) return false;
    taps[static_cast<size_t>(tapCount++)] = time;
    return true;
}

bool TapTest::over(double now) const {
    return tapCount >= mostTaps || now > grid.beat(TapTests::mostBeats - 1) + grid.period / 2;
}

int TapTest::settleLeft() const {
    return std::max(0, TapTests::settleTaps - tapCount);
}

int TapTest::measuredMade() const {
    return std::max(0, tapCount - TapTests::settleTaps);
}

TapResult TapTest::result() const {
    std::array<double, TapTests::measuredTaps> lateness{};
    const int count = measuredMade();
    for (int i = 0; i < count; ++i) {
        lateness[static_cast<size_t>(i)] =
            grid.latenessMs(taps[static_cast<size_t>(TapTests::settleTaps + i)]);
    }
    return analyseTaps(lateness.data(), count);
}
