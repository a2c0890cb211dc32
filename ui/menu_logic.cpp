#include "ui/menu_logic.h"

#include <algorithm>
#include <cmath>
#include <sstream>

#include "core/songs.h"

float ease(float t) {
    if (t == 1.0f) return 0.0f;
    return static_cast<float>(1.0 / (std::exp((2.0 * t - 1.0) * 7.0) + 1.0));
}

std::string formatTime(float seconds) {
    if (seconds < 0) return "-" + formatTime(-seconds);
    const int whole = wholePart(seconds);
    const int tenth = wholePart((seconds - static_cast<float>(whole)) * 10.0f);
    return std::to_string(whole) + "." + std::to_string(tenth) + "s";
}

std::string formatNumber(float value) {
    std::ostringstream out;
    out << value;
    return out.str();
}

int wholePart(float x) {
    if (!(x == x)) return 0;
    if (x >= 2147483520.0f) return 2147483520;
    if (x <= -2147483520.0f) return -2147483520;
    return static_cast<int>(x);
}

namespace {
// The top and bottom pixel rows count as the rows next to them.
float inward(float y, float h) {
    if (y == 0) return 1;
    if (y == h) return h - 1;
    return y;
}
}  // namespace

int menuSectorAt(float x, float y, float w, float h) {
    y = inward(y, h);
    const float r1 = x / y;
    const float r2 = x / (h - y);
    const float a = w / h;
    if (r1 > a && r2 > a) return 1;
    if (r1 < a && r2 < a) return 3;
    if (r1 < a && r2 > a) return 2;
    return -1;
}

int sidePanelAt(float x, float y, float w, float h) {
    const float cx = x * 2048 / w;
    const float cy = inward(y, h) * 1536 / h;
    if (!(cy > 165 && cy < 537)) return 0;
    if (cx > 242 && cx < 521) return 1;
    if (cx > 1524 && cx < 1868) return 2;
    return 0;
}

int exploreListAt(float x, float y, float w, float h, const std::vector<float>& bestCompletion) {
    const float cx = x * 2048 / w;
    const float cy = inward(y, h) * 1536 / h;
    int row = -1;
    if (cy > 860 && cy <= 1017) {
        row = 1;
    } else if (cy > 1017 && cy <= 1137) {
        row = 3;
    } else if (cy > 1137 && cy <= 1278) {
        row = 2;
    } else if (cy > 1278 && cy <= 1400) {
        row = 0;
    }
    if (cx <= 300) return 5;
    if (cx >= 1850) return 6;
    if (row < 0) return -1;
    const int song = songOfMode[row];
    const bool open =
        song < static_cast<int>(bestCompletion.size()) && bestCompletion[song] == 1.0f;
    return open ? row : -2;
}

int songListAt(float x, float y, float w, float h) {
    const float cx = x * 2048 / w;
    const float cy = inward(y, h) * 1536 / h;
    int row = -1;
    if (cy > 800 && cy <= 934) {
        row = 8;
    } else if (cy > 934 && cy <= 1060) {
        row = 1;
    } else if (cy > 1060 && cy <= 1179) {
        row = 3;
    } else if (cy > 1179 && cy <= 1312) {
        row = 2;
    } else if (cy > 1312 && cy <= 1440) {
        row = 0;
    }
    if (cx >= 1700) return 6;
    if (cx <= 220) return 5;
    return row;
}

int menuSectorAt(float x, float y, const DrawnArea& area) {
    if (!area.contains(x, y)) return -1;
    return menuSectorAt(x - area.left, y - area.top, area.width, area.height);
}

bool menuTopAt(float x, float y, const DrawnArea& area) {
    if (!area.contains(x, y)) return false;
    const float w = area.width;
    const float h = area.height;
    const float ay = inward(y - area.top, h);
    const float ax = x - area.left;
    const float a = w / h;
    return ax / ay > a && ax / (h - ay) < a;
}

int sidePanelAt(float x, float y, const DrawnArea& area) {
    if (!area.contains(x, y)) return 0;
    return sidePanelAt(x - area.left, y - area.top, area.width, area.height);
}

int exploreListAt(float x, float y, const DrawnArea& area,
                  const std::vector<float>& bestCompletion) {
    if (!area.contains(x, y)) return -1;
    return exploreListAt(x - area.left, y - area.top, area.width, area.height, bestCompletion);
}

int songListAt(float x, float y, const DrawnArea& area) {
    if (!area.contains(x, y)) return -1;
    return songListAt(x - area.left, y - area.top, area.width, area.height);
}

bool noneCompleted(const std::vector<float>& bestCompletion) {
    for (float completion : bestCompletion) {
        if (completion == 1.0f) return false;
    }
    return true;
}

int nextCompletedIn(const std::vector<float>& bestCompletion, int i, bool forward) {
    const int last = static_cast<int>(bestCompletion.size()) - 1;
    if (forward) {
        for (int k = std::max(i + 1, 0); k <= last; ++k) {
            if (bestCompletion[k] == 1.0f) return k;
        }
    } else {
        for (int k = std::min(i - 1, last); k >= 0; --k) {
            if (bestCompletion[k] == 1.0f) return k;
        }
    }
    return i;
}

std::string exploreTimeString(float completion, float time) {
    return completion < 1 ? "-" : formatTime(time);
}

std::string scoreString(float score) {
    return score == 0 ? " " : formatNumber(score);
}

PlayOutcome recordPlay(std::vector<float>& bestCompletion, std::vector<float>& bestScore,
                       std::vector<float>& bestExploreTime, int song, int score, float completion,
                       float time, bool explore) {
    PlayOutcome outcome;
    const bool known = song >= 0 && song < 4 && bestCompletion.size() >= 4 &&
                       bestScore.size() >= 4 && bestExploreTime.size() >= 4;
    if (explore) {
        if (known && time > bestExploreTime[song]) {
            bestExploreTime[song] = time;
            outcome.newRecord = true;
        }
        outcome.resultString = "Time: " + formatTime(time);
        return outcome;
    }
    outcome.resultString = std::to_string(score);
    if (known) {
        if (completion == 1.0f && bestCompletion[song] < 1) {
            outcome.firstCompletion = true;
            bestCompletion[song] = completion;
        } else if (completion > bestCompletion[song]) {
            bestCompletion[song] = completion;
        }
        if (static_cast<float>(score) > bestScore[song]) {
            bestScore[song] = static_cast<float>(score);
            outcome.newRecord = true;
        }
    }
    if (completion == 1.0f) outcome.levelCompleted = true;
    return outcome;
}
