#pragma once

// The arithmetic behind the menus, free of pictures and windows: the slide curve, the
// number formats, the hit tests on the window and the bookkeeping of the records. The
// Interface's operations of the same purpose are built on these.

#include <string>
#include <vector>

#include "ui/display_profile.h"

// The curve of every slide: 1 / (exp((2t - 1) * 7) + 1), exactly 0 at t = 1.
float ease(float t);
// A time in seconds as whole seconds, one truncated tenth and "s": 12.87 -> "12.8s".
std::string formatTime(float seconds);
// A number in the default stream notation: 1234 -> "1234", 12.5 -> "12.5".
std::string formatNumber(float value);

// What the song and explore lists' hit tests return besides a row's mode (0..3); the keys
// use the tutorial entry's code as its list position too.
namespace ListHit {
const int nothing = -1;
const int locked = -2;    // an explore row whose song is not completed
const int leftEdge = 5;   // the back edge of a scored list
const int rightEdge = 6;  // the back edge of an explore list
const int tutorial = 8;
}  // namespace ListHit

// Hit tests on a window of width w and height h; x, y in window pixels. The three list
// tests work on the 2048 x 1536 layout canvas.
// 1 right, 3 left, 2 bottom triangle of the window's two diagonals; -1 top or a diagonal.
int menuSectorAt(float x, float y, float w, float h);
// On the pause and results panel: 1 the left button, 2 the right button, 0 elsewhere.
int sidePanelAt(float x, float y, float w, float h);
// Explore list: the mode of the row, -2 for a row whose song is not completed, 5 or 6 on
// the side edges, -1 elsewhere.
int exploreListAt(float x, float y, float w, float h, const std::vector<float>& bestCompletion);
// Song list: the mode of the row, 8 for the tutorial entry, 5 or 6 on the side edges, -1.
int songListAt(float x, float y, float w, float h);

// The same tests where the pictures fill only the drawn area of the window (x, y in window
// pixels): a point in the bars beside the area hits nothing (-1, or 0 for the panels).
int menuSectorAt(float x, float y, const DrawnArea& area);
// True inside the top triangle of the drawn area's two diagonals (not on a diagonal).
bool menuTopAt(float x, float y, const DrawnArea& area);
int sidePanelAt(float x, float y, const DrawnArea& area);
int exploreListAt(float x, float y, const DrawnArea& area,
                  const std::vector<float>& bestCompletion);
int songListAt(float x, float y, const DrawnArea& area);

// Records, indexed by song.
bool noneCompleted(const std::vector<float>& bestCompletion);
// First completed song after (forward) or before i; i itself when there is none.
int nextCompletedIn(const std::vector<float>& bestCompletion, int i, bool forward);
// Texts of the level panels: the best explore time ("-" until the song is completed) and
// the best score (a blank while it is 0).
std::string exploreTimeString(float completion, float time);
std::string scoreString(float score);

// What a finished play changed in the records.
struct PlayOutcome {
    bool newRecord = false;
    bool levelCompleted = false;
    bool firstCompletion = false;
    std::string resultString;
};

// Enters a finished play of the song into the records. A song outside 0..3 keeps no record.
PlayOutcome recordPlay(std::vector<float>& bestCompletion, std::vector<float>& bestScore,
                       std::vector<float>& bestExploreTime, int song, int score, float completion,
                       float time, bool explore);

// Integer part toward zero; NaN gives 0 and values beyond the int range stop at its ends,
// so odd records read from the profile never reach an undefined conversion.
int wholePart(float x);
