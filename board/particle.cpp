#include "board/particle.h"

#include <cmath>
#include <cstdlib>
#include <iostream>

#include "board/anim_tables.h"

const float particleStep[4][2] = {
    {179.0f, 72.0f}, {-177.0f, 71.8f}, {-203.0f, -81.5f}, {200.0f, -76.0f}};
const float lastRegularPoint[4][2] = {
    {359.0f, 348.0f}, {1347.0f, 321.0f}, {1362.0f, 717.0f}, {365.0f, 730.0f}};
const float catchPoint[4][2] = {
    {547.0f, 397.0f}, {1088.0f, 410.0f}, {1049.0f, 557.0f}, {549.0f, 549.0f}};
const int defaultLanding[4] = {1, 2, 3, 3};

const std::vector<std::vector<sf::Texture>>* Particle::atlasTextures = nullptr;
float Particle::boardScale = 1.0f;
float Particle::windowWidth = 2048.0f;
float Particle::menuTopOffset = 0.0f;
float Particle::frameRectScale = 1.0f;

static const float tickLength = 1.0f / 12.0f;

static bool validRoute(int route) {
    return route >= 0 && route < 4;
}

Particle::Particle(int r, int a1, int a2, int a3) : anims{a1, a2, a3}, route(r) {
    anim = a1;
    frameCount = animFrameCount(route, 0, false);
    if (validRoute(route)) {
        stepX = boardScale * particleStep[route][0];
        stepY = boardScale * particleStep[route][1];
        posX = boardScale * lastRegularPoint[route][0] - 2.0f * stepX;
        posY = boardScale * lastRegularPoint[route][1] - menuTopOffset * boardScale - 2.0f * stepY;
    }
    // Nothing shows until the first frame tick.
    const sf::Texture* texture = textureFor(0, false);
    if (texture) sprite.setTexture(*texture);
    sprite.setTextureRect(sf::IntRect());
    sprite.setScale(boardScale, boardScale);
}

void Particle::armRewind(int n) {
    rewindPending = true;
    int coin = std::rand() % 2;
    rewindStage = (n / 4 < coin) ? 2 : n / 4 + 1;
    rewindFrame = 2 * n + 2 + std::rand() % 4;
}

void Particle::armBlink(int n) {
    blinkPending = true;
    if (n <= 4) {
        blinkStage = 1;
        blinkFrame = std::rand() % 6 + 4;
    } else {
        blinkStage = 1 + std::rand() % 2;
        blinkFrame = std::rand() % 6 + 2;
    }
    blinkLength = 2 * ((n < 6 ? n : 6) / 2) + 12;
    blinkDepth = 5 - n / 3;
}

int Particle::landingForFrame(int r, int f) {
    if (!validRoute(r)) return 2;
    bool first = (r == 0);
    if (f <= -3) return 0;
    if (f <= 0) return first ? 3 : 1;
    if (f <= 2) return first ? 5 : 4;
    if (f <= 4) return first ? 4 : 5;
    if (f <= 6) return 6;
    if (f <= 8) return 2;
    return first ? 1 : 3;
}

int Particle::verdictOf(int r, int landing) {
    if (landing >= 4) return 1;
    if (r == 0) return (landing == 0 || landing == 3) ? -1 : -2;
    return (landing <= 1) ? -1 : -2;
}

int Particle::ticksWithin(float ago) const {
    // The frame shown began frameTimer ago, or, once finished uncaught, that plus the time
    // since; every frame before it lasted one tick.
    const float since = frameTimer + finishedFor;
    if (!(ago > since)) return 0;
    return 1 + static_cast<int>((ago - since) / tickLength);
}

int Particle::judgeCatch(float ago) {
    if (judged || (stage != 2 && stage != 3)) return -1;
    // The frame on the landing timeline: the last five of stage 2 are -5..-1, the landing's
    // count from 0. Going back along it is exact: a rewind walks back only in the first frames
    // of a stage, a dozen ticks or more before the catch window.
    const int place = (stage == 2 ? frame - frameCount : frame) - ticksWithin(ago);
    if (place < -5) return -1;
    if (stage == 2) frame -= frameCount;
    return landingForFrame(route, place);
}

float Particle::catchLatenessMs(float ago) const {
    // Frame f shows from its tick for one tick: the good frames 1..6 span ticks 1 to 7. A
    // finished particle still within reach has stood on its last frame finishedFor longer.
    const float idealTick = 4.0f;
    const float at = static_cast<float>(frame) + (frameTimer + finishedFor - ago) / tickLength;
    return (at - idealTick) * tickLength * 1000.0f;
}

void Particle::moveToCatchPoint() {
    if (!validRoute(route)) return;
    posX = boardScale * catchPoint[route][0];
    posY = boardScale * catchPoint[route][1] - menuTopOffset * boardScale;
}

void Particle::relayout() {
    sprite.setScale(boardScale, boardScale);
    if (!validRoute(route) || anim == -1) return;
    stepX = boardScale * particleStep[route][0];
    stepY = boardScale * particleStep[route][1];
    if (stage >= 3) {
        moveToCatchPoint();
    } else {
        posX = boardScale * lastRegularPoint[route][0] - 2.0f * stepX;
        posY = boardScale * lastRegularPoint[route][1] - menuTopOffset * boardScale - 2.0f * stepY;
        for (int k = 0; k < stage; ++k) {
            posX += stepX;
            posY += stepY;
        }
    }
    // Nothing shows before the first frame tick.
    if (stage > 0 || frame != 0) updateDrawState();
}

void Particle::update(float dt) {
    if (anim == -1) {
        if (finished) finishedFor += dt;
        return;
    }
    frameTimer += dt;
    if (frameTimer <= tickLength) return;
    frameTimer -= tickLength;
    frameTick();
}

void Particle::frameTick() {
    if (blinkCounter > 0) blinkCounter -= 1;
    if (rewindCounter > 0) {
        if (rewindCounter < frame) frame -= 1;
        rewindCounter -= 1;
    } else {
        frame += 1;
    }
    if (frame > frameCount) {
        std::cerr << "Warning curimage: " << frame << "/" << frameCount << " numanim: " << stage
                  << " indexanim:" << anim << std::endl;
        finished = true;
        anim = -1;
        return;
    }
    if (frame == frameCount) {
        if (stage == 0 || stage == 1) {
            posX += stepX;
            posY += stepY;
            anim = anims[stage + 1];
            stage += 1;
            frame = 0;
            frameCount = animFrameCount(route, anim, false);
        } else if (stage == 2 && validRoute(route)) {
            moveToCatchPoint();
            anim = defaultLanding[route];
            stage = 3;
            frame = 0;
            frameCount = animFrameCount(route, anim, true);
        } else {
            anim = -1;
            posX = -windowWidth;
            posY = 0.0f;
            finished = true;
            return;
        }
    }
    if (rewindPending && stage == rewindStage && frame == rewindFrame) {
        rewindPending = false;
        rewindCounter = 5;
    }
    if (blinkPending && stage == blinkStage && frame == blinkFrame) {
        blinkCounter = blinkLength;
        blinkPending = false;
    }
    updateDrawState();
}

const sf::Texture* Particle::textureFor(int animation, bool landing) const {
    if (!atlasTextures || !validRoute(route) || route >= static_cast<int>(atlasTextures->size()))
        return nullptr;
    const std::vector<sf::Texture>& list = (*atlasTextures)[route];
    int picture = landing ? regularAnimCounts[route] + animation : animation;
    if (animation < 0 || picture < 0 || picture >= static_cast<int>(list.size())) return nullptr;
    return &list[picture];
}

void Particle::updateDrawState() {
    bool landing = (stage == 3);
    int lookup = landing ? frame + 5 : frame;
    sf::Vector2i offset = animFrameOffset(route, anim, lookup, landing);
    sf::IntRect rect = animFrameRect(route, anim, lookup, landing);
    const sf::Texture* texture = textureFor(anim, landing);
    if (texture) sprite.setTexture(*texture);
    sprite.setPosition(std::trunc(boardScale * offset.x + posX),
                       std::trunc(boardScale * offset.y + posY));
    sprite.setTextureRect(sf::IntRect(static_cast<int>(rect.left * frameRectScale),
                                      static_cast<int>(rect.top * frameRectScale),
                                      static_cast<int>(rect.width * frameRectScale),
                                      static_cast<int>(rect.height * frameRectScale)));
    int alpha = 255;
    if (blinkCounter > 0) {
        // Fades out and back in over the blink; a deep trick fades further and longer.
        int depth = blinkDepth > 0 ? blinkDepth : 1;
        int half = blinkLength / 2;
        int distance = blinkCounter - half;
        if (distance < 0) distance = -distance;
        float value = 255.0f / depth * static_cast<float>(depth + distance - half);
        alpha = static_cast<int>(std::trunc(value));
        if (alpha < 0) alpha = 0;
        if (alpha > 255) alpha = 255;
    }
    sprite.setColor(sf::Color(255, 255, 255, static_cast<sf::Uint8>(alpha)));
}
