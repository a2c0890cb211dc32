#include "core/songs.h"

const int songOfMode[4] = {3, 0, 2, 1};
const int modeOrder[4] = {1, 3, 2, 0};
const float songLength[4] = {112.0f, 120.0f, 139.0f, 137.0f};
const float songBpm[4] = {140.0f, 145.0f, 125.8f, 120.0f};
const float songLoopLength[4] = {6.85f, 13.24f, 15.26f, 30.0f};
const int songPhraseLength[4] = {16, 32, 32, 60};
const int touchCounts[4][4] = {{7, 7, 7, 7}, {5, 5, 5, 5}, {6, 7, 5, 5}, {5, 5, 5, 6}};

int songOf(int mode) {
    return (mode >= 0 && mode < 4) ? songOfMode[mode] : -1;
}
