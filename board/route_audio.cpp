#include <SFML/Audio/SoundBuffer.hpp>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <iostream>

#include "audio/bank_ready.h"
#include "board/route.h"
#include "core/songs.h"

static const float glideTickLength = 0.05f;
// Layers deserved by gauge level, for routes with at most five layers and for the others.
static const int layersByLevel[11][2] = {{0, 0}, {1, 1}, {1, 2}, {2, 2}, {2, 3}, {3, 4},
                                         {3, 4}, {4, 5}, {4, 6}, {5, 6}, {5, 7}};
static const float patternVolumes[5] = {90.0f, 0.0f, 0.0f, 10.0f, 30.0f};

// The song's layers are still being loaded when the play starts: a layer exists for the route
// only once the loader has handed it over, and never outside the route's list.
sf::Sound* Route::layerSound(int k) {
    if (!waveLayers || index < 0 || index >= static_cast<int>(waveLayers->size())) return nullptr;
    std::vector<sf::Sound>& layers = (*waveLayers)[index];
    if (k < 0 || k >= static_cast<int>(layers.size())) return nullptr;
    if (!songBankReady.waveReady(index, k)) return nullptr;
    return &layers[k];
}

int Route::audibleLayer() const {
    return exploreMode && exploreLayer != -1 ? exploreLayer : currentLayer;
}

sf::Sound* Route::audibleSound() {
    return layerSound(audibleLayer());
}

void (*Route::onLayerStart)(const Route& route, int layer, float offset) = nullptr;

namespace {
unsigned layerBit(int k) {
    return k >= 0 && k < 32 ? 1u << k : 0u;
}
}  // namespace

void Route::playLayer(int k, float volume, float offset) {
    sf::Sound* sound = layerSound(k);
    if (!sound) return;
    const bool ahead = (layersAhead & layerBit(k)) != 0;
    layersAhead &= ~layerBit(k);
    if (ahead && sound->getStatus() == sf::Sound::Playing) {
        // Started ahead of this boundary, on the heard grid: it plays on.
        sound->setVolume(volume);
        return;
    }
    sound->stop();
    sound->setVolume(volume);
    const sf::SoundBuffer* buffer = sound->getBuffer();
    if (!(offset > 0.0f && buffer && offset < buffer->getDuration().asSeconds())) offset = 0.0f;
    // Set while stopped, the offset is where the next play begins.
    if (offset > 0.0f) sound->setPlayingOffset(sf::seconds(offset));
    sound->play();
    if (onLayerStart) onLayerStart(*this, k, offset);
}

void Route::restartLayer(int k, float offset) {
    if (sf::Sound* sound = layerSound(k)) playLayer(k, sound->getVolume(), offset);
}

void Route::startExploreLayer(float volume, float offset) {
    if (audioShift < 0.0f) {
        // Heard behind the board: set now, it sounds once the board is far enough in.
        if (sf::Sound* sound = layerSound(exploreLayer)) sound->setVolume(volume);
        layersDue = true;
        return;
    }
    playLayer(exploreLayer, volume, offset + audioShift);
}

int Route::fillLevel(int n) const {
    int step = fillStep > 0 ? fillStep : 1;
    if (n <= 0) return 0;
    if (n > 9 * step) return 10;
    return n / step + 1;
}

int Route::layersForLevel(int level) const {
    if (level < 0 || level > 10) return 0;
    int value = layersByLevel[level][layerTotal > 5 ? 1 : 0];
    return value < layerTotal ? value : layerTotal;
}

void Route::setFillCount(int n) {
    std::cout << "old: " << fillCount << " new:" << n << std::endl;
    int old = fillCount;
    fillCount = n > fillMax ? fillMax : n;
    if (fillCount < 0) fillCount = 0;
    int level = fillLevel(n);
    if (level > gaugeLevel) {
        gaugePhase = 0;  // a cell fills
        gaugeRising = false;
    } else if (level < gaugeLevel) {
        gaugePhase = -1;  // the top cell drains
        gaugeRising = false;
    } else if (n > old) {
        gaugeRising = true;  // the top cell drains and refills
        gaugePhase = -1;
    }
    if (gaugeLevel > 10) gaugeLevel = 10;
    int want = layersForLevel(level);
    if (!musicRunning) return;
    if (layerCount < want) {
        layerCount += 1;
        if (baseVolume == 25.0f) {
            baseVolume = 50.0f;
            volumeGlide = true;
            glideTarget = 50.0f;
            glideStep = 2.0f;
            std::cout << "UP25->50 " << layerCount << std::endl;
        } else {
            std::cout << "location" << index << " switch music !" << layerCount << std::endl;
            switchToNextLayer();
        }
    } else if (layerCount > want) {
        std::cout << "UP50->25 " << layerCount << std::endl;
        baseVolume = 25.0f;
        volumeGlide = true;
        glideTarget = 25.0f;
        glideStep = 2.0f;
    }
}

void Route::switchToNextLayer() {
    if (nextLayer == layerTotal) return;
    if (currentLayer >= 0 && currentLayer != nextLayer) {
        if (sf::Sound* sound = layerSound(currentLayer)) sound->stop();
    }
    baseVolume = 50.0f;
    if (sf::Sound* sound = layerSound(nextLayer)) sound->setVolume(50.0f * volumeFactor);
    currentLayer = nextLayer;
}

void Route::startLayers(float offset) {
    volumeGlide = false;
    if (currentLayer >= 0) baseVolume = 50.0f;
    if (audioShift < 0.0f) {
        // Heard behind the board: the volumes are set now, the layers sound once the board is
        // far enough into the loop (followHeardLoop).
        if (currentLayer >= 0) {
            if (sf::Sound* sound = layerSound(currentLayer)) sound->setVolume(50.0f * volumeFactor);
        }
        if (nextLayer < layerTotal) {
            if (sf::Sound* sound = layerSound(nextLayer)) sound->setVolume(0.0f);
        }
        layersDue = true;
        return;
    }
    if (currentLayer >= 0) playLayer(currentLayer, 50.0f * volumeFactor, offset + audioShift);
    if (nextLayer < layerTotal) playLayer(nextLayer, 0.0f, offset + audioShift);
}

void Route::stopNextLayer() {
    if (currentLayer == -1 || nextLayer >= layerTotal) return;
    if (sf::Sound* sound = layerSound(nextLayer)) sound->stop();
}

void Route::pauseLayers(bool explore) {
    if (explore && exploreLayer != -1 && musicRunning) {
        if (sf::Sound* sound = layerSound(exploreLayer)) sound->pause();
        return;
    }
    if (sf::Sound* sound = layerSound(currentLayer)) sound->pause();
    if (nextLayer < layerTotal) {
        if (sf::Sound* sound = layerSound(nextLayer)) sound->pause();
    }
}

namespace {
// Only a sound that was paused plays on: one handed over by the loader while the music ran
// waits, stopped, for the next loop boundary to start on the grid at its volume.
void resumeIfPaused(sf::Sound* sound) {
    if (sound && sound->getStatus() == sf::Sound::Paused) sound->play();
}
}  // namespace

void Route::resumeLayers(bool explore) {
    if (explore && exploreLayer != -1 && musicRunning) {
        resumeIfPaused(layerSound(exploreLayer));
        return;
    }
    resumeIfPaused(layerSound(currentLayer));
    if (nextLayer < layerTotal) resumeIfPaused(layerSound(nextLayer));
}

void Route::stopSoundsOnRoute() {
    int total = index >= 0 && index < 4 ? touchCounts[song][index] : 0;
    for (int k = 0; k < total; ++k) {
        if (sf::Sound* sound = layerSound(k)) sound->stop();
    }
    layersDue = false;
    layersAhead = 0;
}

float Route::audibleVolume() {
    sf::Sound* sound = audibleSound();
    return sound ? sound->getVolume() : 0.0f;
}

void Route::setAudibleVolume(float v) {
    if (sf::Sound* sound = audibleSound()) sound->setVolume(v * volumeFactor);
}

void Route::setAudibleOffset(float t) {
    sf::Sound* sound = audibleSound();
    if (!sound) return;
    // Where the layer is heard at loop position t: behind the board, before the layers'
    // restart, the previous loop's end still sounds; ahead of it, past the boundary, the
    // layer started ahead.
    float at = t + audioShift;
    if (at < 0.0f) {
        at = layersDue ? at + loopLength : 0.0f;
    } else if (at >= loopLength && (layersAhead & layerBit(audibleLayer()))) {
        at -= loopLength;
    }
    const sf::SoundBuffer* buffer = sound->getBuffer();
    if (at != t && !(buffer && at < buffer->getDuration().asSeconds())) return;
    sound->setPlayingOffset(sf::seconds(at));
}

void Route::updateGlide(float dt) {
    if (!volumeGlide) return;
    glideTimer += dt;
    if (glideTimer <= glideTickLength) return;
    glideTimer -= glideTickLength;
    // The glide works on the volume before the play's factor, so a reduced factor glides
    // the same way, only quieter. Its last step stops at the target rather than passing it,
    // so a glide over an odd distance ends instead of circling the target.
    float v = audibleVolume();
    if (volumeFactor > 0.0f) v /= volumeFactor;
    if (v < glideTarget) setAudibleVolume(std::min(v + glideStep, glideTarget));
    if (v > glideTarget) setAudibleVolume(std::max(v - glideStep, glideTarget));
    if (std::fabs(v - glideTarget) < 0.1f) {
        setAudibleVolume(glideTarget);
        volumeGlide = false;
    }
}

void Route::updateLayers() {
    std::cout << "updating route" << std::endl;
    int want = layersForLevel(fillLevel(fillCount));
    currentLayer = layerCount - 1;
    nextLayer = layerCount;
    if (want < layerCount) {
        stopNextLayer();
        layerCount = want;
        currentLayer = want - 1;
        nextLayer = want;
    }
    // Both layers restart together, as far into the loop as the boundary lies behind.
    startLayers(loopTimer);
}

// The loop position gains one frame at a time for minutes on end: a compensated sum keeps
// the bits a plain float sum would drop, so even at a steady frame rate the boundaries (and
// the layers started at them) stay on the grid of whole loops.
void Route::advanceLoopTimer(float dt) {
    const float y = dt - loopCarry;
    const float t = loopTimer + y;
    loopCarry = (t - loopTimer) - y;
    loopTimer = t;
}

bool Route::restartsAtBoundary() const {
    // Route 0 of song 2 acts every other boundary only.
    const bool specialRoute = song == 2 && index == 0;
    if (specialRoute && !loopToggle) return false;
    if (exploreMode) return exploreRepeats + 1 < exploreLoopCount[song];
    return !fullSignal && (specialRoute || !specialPlaying);
}

// The grid of the loops as heard: with the music heard ahead of the board, the layers that
// the coming boundary restarts start that much before it (the boundary keeps those it still
// wants, stopping the others); heard behind, the layers the boundary started sound once the
// board is that far past it. Either way as far into the loop as the frame lies past the
// heard boundary, as at the boundary itself.
void Route::followHeardLoop() {
    if (audioShift > 0.0f) {
        if (layersAhead != 0 || !(loopTimer + audioShift > loopLength) || !restartsAtBoundary())
            return;
        const float at = loopTimer + audioShift - loopLength;
        const int first = exploreMode ? exploreLayer : currentLayer;
        const int second = exploreMode || nextLayer >= layerTotal ? -1 : nextLayer;
        for (int k : {first, second}) {
            if (!layerSound(k) || (layersAhead & layerBit(k))) continue;
            restartLayer(k, at);
            layersAhead |= layerBit(k);
        }
    } else if (layersDue && loopTimer + audioShift >= 0.0f) {
        layersDue = false;
        const float at = loopTimer + audioShift;
        if (exploreMode) {
            restartLayer(exploreLayer, at);
            return;
        }
        if (currentLayer >= 0) restartLayer(currentLayer, at);
        if (nextLayer < layerTotal && nextLayer != currentLayer) restartLayer(nextLayer, at);
    }
}

void Route::settleLayersAhead() {
    for (int k = 0; k < 32 && layersAhead != 0; ++k) {
        if (!(layersAhead & layerBit(k))) continue;
        layersAhead &= ~layerBit(k);
        if (sf::Sound* sound = layerSound(k)) sound->stop();
    }
}

void Route::updateLoopScheduler(float dt) {
    advanceLoopTimer(dt);
    if (grabStarted) {
        if (fillCount < 1) {
            nextLayer = 0;
        } else {
            currentLayer = 0;
            nextLayer = 1;
            layerCount += 1;
        }
        layersAhead = 0;
        startLayers();
        grabStarted = false;
        firstGrabEvent = false;
        musicRunning = true;
        loopTimer = 0.0f;
        loopCarry = 0.0f;
        beatCount = 0;
    } else if (!musicRunning) {
        return;
    }
    if (phase == 4 && specialCheck == 0 && layerCount > 1 && loopLength - 0.5f < loopTimer &&
        loopTimer < loopLength && (loopToggle || song != 0))
        specialCheck = 1;
    if (loopTimer > loopLength) {
        loopTimer -= loopLength;
        passLoopBoundary();
        settleLayersAhead();
    }
    followHeardLoop();
}

void Route::passLoopBoundary() {
    if (fullSignal) {
        finalSignal = true;
        phase = 7;
        return;
    }
    if (song != 0 || !loopToggle) {
        specialCheck = 0;
        hits = 0;
        misses = 0;
    }
    bool refresh = !specialPlaying;
    if (song == 2 && index == 0) {
        // The special-layer route acts every other loop.
        refresh = false;
        if (loopToggle) {
            if (specialPlaying) {
                std::cout << "ispec = true, no special this round" << std::endl;
                specialPlaying = false;
                specialKind = 0;
                refresh = true;
            } else if (specialKind > 0) {
                std::cout << "playspecial > 0" << specialKind << std::endl;
                nextLayer = currentLayer;
                currentLayer = layerTotal - 1 + specialKind;
                specialKind = 0;
                specialPlaying = true;
                startLayers(loopTimer);
            } else {
                refresh = true;
            }
        }
    }
    if (refresh) updateLayers();
    loopToggle = !loopToggle;
}

void Route::updateExploreSequencer(float dt) {
    advanceLoopTimer(dt);
    if (grabStarted) {
        layersAhead = 0;
        startExploreLayer(10.0f * volumeFactor, 0.0f);
        volumeGlide = true;
        glideTarget = 50.0f;
        glideStep = 1.0f;
        grabStarted = false;
        firstGrabEvent = false;
        fullSignal = false;
        musicRunning = true;
        loopTimer = 0.0f;
        loopCarry = 0.0f;
        beatCount = 0;
        exploreRepeats = 0;
    } else if (!musicRunning) {
        return;
    }
    if (loopTimer > loopLength) {
        exploreRepeats += 1;
        if (exploreRepeats < exploreLoopCount[song]) {
            loopTimer -= loopLength;
            if (song == 2 && index == 0 && !loopToggle) {
                loopToggle = true;
            } else {
                exploreLayer = 1 + std::rand() % 5;
                startExploreLayer(50.0f * volumeFactor, loopTimer);
                loopToggle = !loopToggle;
            }
        } else {
            finalSignal = true;  // the explore play's music is over
            fillCount = 100;
        }
        settleLayersAhead();
    }
    followHeardLoop();
}

void Route::startErrorMusic() {
    if (phase != 4 || !(loopTimer < loopLength - 1.0f) || errorMusicOn) return;
    errorStep = 0;
    errorKind = std::rand() % 4;
    errorTime = 0.0f;
    if (errorKind == 1 || errorKind == 2)
        errorLength = (std::rand() % 3) * 0.4f + 0.5f;
    else if (errorKind == 3)
        errorLength = 1.0f;
    else
        errorLength = (std::rand() % 4) * 0.2f + 0.1f;
    errorMusicOn = true;
    errorReturnOffset = loopTimer;
    std::cout << "start Error Music " << errorLength << std::endl;
}

void Route::updateErrorMusic(float dt) {
    if (!errorMusicOn) return;
    errorTime += dt;
    if (errorTime > errorLength) {
        // Back to the route's volume, in step with the loop.
        setAudibleVolume(baseVolume);
        errorMusicOn = false;
        setAudibleOffset(loopTimer);
        return;
    }
    switch (errorKind) {
        case 1:  // wobble: five full swings over the effect
            setAudibleVolume(50.0f +
                             50.0f * std::sin(errorTime * 31.41592653589793f / errorLength));
            break;
        case 0:  // stutter: keeps jumping back to where the miss happened
            if (errorTime > errorStep * 0.1f) {
                setAudibleOffset(errorReturnOffset);
                errorStep += 1;
            }
            break;
        case 2:  // fades out in steps
            if (errorTime > errorStep * 0.1f) {
                float v = baseVolume - 10.0f * errorStep;
                setAudibleVolume(v > 0.0f ? v : 0.0f);
                errorStep += 1;
            }
            break;
        case 3:  // a fixed pattern of volumes
            if (errorTime > errorStep * 0.2f) {
                setAudibleVolume(errorStep < 5 ? patternVolumes[errorStep] : baseVolume);
                errorStep += 1;
            }
            break;
        default:
            break;
    }
}
