#include "board/anim_tables.h"

int animFrameCount(int route, int anim, bool landing) {
    if (route < 0 || route > 3) return -1;
    if (!landing) return (anim >= 0 && anim < regularAnimCounts[route]) ? 19 : -1;
    if (anim < 0 || anim > 6) return -1;
    return landingFrameCounts[route][anim] - 5;
}

const AnimFrame* animFrameRecord(int route, int anim, int frame, bool landing) {
    if (route < 0 || route > 3 || anim < 0 || frame < 0) return nullptr;
    int record = 0;
    if (landing) {
        if (anim > 6 || frame >= landingFrameCounts[route][anim]) return nullptr;
        record = landingFirstFrame[route][anim] + frame;
    } else {
        if (anim >= regularAnimCounts[route] || frame >= 19) return nullptr;
        record = 19 * anim + frame;
    }
    if (record >= frameTableLength[route]) return nullptr;
    return &frameTable[route][record];
}

static sf::Vector2i offsetOf(const AnimFrame* f) {
    return f ? sf::Vector2i(f->offsetX, f->offsetY) : sf::Vector2i(0, 0);
}

static sf::IntRect rectOf(const AnimFrame* f) {
    return f ? sf::IntRect(f->left, f->top, f->width, f->height) : sf::IntRect();
}

sf::Vector2i animFrameOffset(int route, int anim, int frame, bool landing) {
    return offsetOf(animFrameRecord(route, anim, frame, landing));
}

sf::IntRect animFrameRect(int route, int anim, int frame, bool landing) {
    return rectOf(animFrameRecord(route, anim, frame, landing));
}

static const AnimFrame* buttonRecord(int route, int mode, int frame) {
    if (route < 0 || route > 3 || mode < 0 || mode > 3 || frame < 0 || frame > 1) return nullptr;
    return &buttonFrames[mode][route][frame];
}

static const AnimFrame* slimeRecord(int route, int mode, int frame) {
    if (route < 0 || route > 3 || mode < 0 || mode > 3 || frame < 0 || frame > 9) return nullptr;
    return &slimeFrames[mode][route][frame];
}

static const AnimFrame* gaugeRecord(int route, int cell, int state) {
    if (route < 0 || route > 3 || cell < 0 || cell > 10 || state < 0 || state > 2) return nullptr;
    int record = gaugeFirstFrame[route] + 3 * cell + state;
    return record < gaugeFramesLength ? &gaugeFrames[record] : nullptr;
}

static const AnimFrame* volumeRecord(int frame) {
    return (frame >= 0 && frame < 10) ? &volumeFrames[frame] : nullptr;
}

sf::Vector2i buttonFrameOffset(int route, int mode, int frame) {
    return offsetOf(buttonRecord(route, mode, frame));
}
sf::IntRect buttonFrameRect(int route, int mode, int frame) {
    return rectOf(buttonRecord(route, mode, frame));
}
sf::Vector2i slimeFrameOffset(int route, int mode, int frame) {
    return offsetOf(slimeRecord(route, mode, frame));
}
sf::IntRect slimeFrameRect(int route, int mode, int frame) {
    return rectOf(slimeRecord(route, mode, frame));
}
sf::Vector2i gaugeFrameOffset(int route, int cell, int state) {
    return offsetOf(gaugeRecord(route, cell, state));
}
sf::IntRect gaugeFrameRect(int route, int cell, int state) {
    return rectOf(gaugeRecord(route, cell, state));
}
sf::Vector2i volumeFrameOffset(int frame) {
    return offsetOf(volumeRecord(frame));
}
sf::IntRect volumeFrameRect(int frame) {
    return rectOf(volumeRecord(frame));
}
