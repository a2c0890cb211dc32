#pragma once

#include <SFML/Graphics/Rect.hpp>
#include <SFML/System/Vector2.hpp>

// Where each frame of the board's animations lies in its sprite sheet and where it is
// drawn relative to its anchor. Reference pixels (2048-wide canvas) for offsets, sheet
// pixels for rectangles. The picture generator draws every sheet from these records, so
// they are the art's own data: one definition, shared by the game and the generator.
struct AnimFrame {
    int offsetX;
    int offsetY;
    int left;
    int top;
    int width;
    int height;
};

// Regular animations per route (19 frames each); every route also has 7 landings.
extern const int regularAnimCounts[4];
extern const int landingFrameCounts[4][7];
// Index in frameTable[route] of the first frame of landing animation k.
extern const int landingFirstFrame[4][7];
// Number of records of frameTable[route]: 635, 662, 664, 618.
extern const int frameTableLength[4];
extern const AnimFrame* const frameTable[4];

// Decorations of a route, by mode (0..3) and route.
extern const AnimFrame buttonFrames[4][4][2];
extern const AnimFrame slimeFrames[4][4][10];
// Gauge cell i of route r in fill state f is gaugeFrames[gaugeFirstFrame[r] + 3 * i + f].
extern const int gaugeFirstFrame[4];
extern const int gaugeFramesLength;
extern const AnimFrame gaugeFrames[];
// The making-of volume icon: nine frames (sound on -> muted) and one empty record.
extern const AnimFrame volumeFrames[10];

// 19 for a regular animation, landingFrameCounts - 5 for a landing; -1 for a route or
// animation out of range.
int animFrameCount(int route, int anim, bool landing);
// Record 19 * anim + frame (regular) or landingFirstFrame[route][anim] + frame (landing)
// of frameTable[route]; null when any index is out of range.
const AnimFrame* animFrameRecord(int route, int anim, int frame, bool landing);
// Offset and rectangle of that record; (0, 0) and an empty rectangle when out of range.
sf::Vector2i animFrameOffset(int route, int anim, int frame, bool landing);
sf::IntRect animFrameRect(int route, int anim, int frame, bool landing);

// Decoration lookups; (0, 0) and an empty rectangle for any index out of range.
sf::Vector2i buttonFrameOffset(int route, int mode, int frame);
sf::IntRect buttonFrameRect(int route, int mode, int frame);
sf::Vector2i slimeFrameOffset(int route, int mode, int frame);
sf::IntRect slimeFrameRect(int route, int mode, int frame);
sf::Vector2i gaugeFrameOffset(int route, int cell, int state);
sf::IntRect gaugeFrameRect(int route, int cell, int state);
sf::Vector2i volumeFrameOffset(int frame);
sf::IntRect volumeFrameRect(int frame);
