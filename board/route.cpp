#include "board/route.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <iostream>

#include "board/anim_choice.h"
#include "board/anim_tables.h"
#include "core/songs.h"

const int missToleranceOfSong[4] = {2, 1, 1, 0};
const int fillStepOfSong[4] = {2, 3, 3, 4};
const int exploreLoopCount[4] = {5, 3, 2, 1};
const int launchChance[4][10] = {
    {3, 4, 5, 6, 7, 8, 10, 7, 7, 3},
    {3, 4, 6, 7, 9, 10, 10, 8, 7, 4},
    {4, 5, 7, 8, 9, 10, 12, 10, 9, 8},
    {4, 6, 8, 10, 12, 14, 12, 12, 12, 12},
};

std::vector<sf::Texture>* Route::slimeTextures = nullptr;
std::vector<sf::Texture>* Route::gaugeTextures = nullptr;
std::unique_ptr<sf::Texture> Route::buttonTexture;
std::vector<std::vector<sf::Sound>>* Route::waveLayers = nullptr;
float Route::windowWidth = 2048.0f;
float Route::boardScale = 1.0f;
float Route::menuTopOffset = 0.0f;
float Route::frameRectScale = 1.0f;
int Route::mode = 0;

static const float frameTickLength = 1.0f / 12.0f;
static const float slimeTickLength = 1.0f / 6.0f;

static bool validIndex(int i) {
    return i >= 0 && i < 4;
}

static int clampLevel(int level) {
    return level < 0 ? 0 : (level > 10 ? 10 : level);
}

// The chance table has no row for a full gauge: a full gauge keeps the chance of level 9.
static int chanceFor(int song, int level) {
    if (!validIndex(song)) return 0;
    if (level < 0) level = 0;
    if (level > 9) level = 9;
    return launchChance[song][level];
}

static sf::Texture* listTexture(std::vector<sf::Texture>* list, int i) {
    if (!list || i < 0 || i >= static_cast<int>(list->size())) return nullptr;
    return &(*list)[i];
}

void setupRouteLayout(std::vector<std::vector<sf::Sound>>* waveLayers, float windowWidth,
                      float menuTopOffset, int mode) {
    Route::waveLayers = waveLayers;
    Route::windowWidth = windowWidth;
    Route::boardScale = windowWidth * 0.00048828125f;
    Route::menuTopOffset = menuTopOffset;
    Route::frameRectScale = 1.0f;
    Route::mode = mode;
}

void setupRouteResources(std::vector<sf::Texture>& slimeTextures, const sf::Texture& buttonTexture,
                         std::vector<sf::Texture>& gaugeTextures,
                         std::vector<std::vector<sf::Sound>>* waveLayers, float windowWidth,
                         float menuTopOffset, int mode) {
    Route::slimeTextures = &slimeTextures;
    Route::gaugeTextures = &gaugeTextures;
    // Copied into the same texture object each play, so sprites never point at a freed one.
    if (Route::buttonTexture)
        *Route::buttonTexture = buttonTexture;
    else
        Route::buttonTexture.reset(new sf::Texture(buttonTexture));
    setupRouteLayout(waveLayers, windowWidth, menuTopOffset, mode);
}

void relayoutRoutes(std::vector<Route>& routes, float windowWidth, float menuTopOffset) {
    Route::windowWidth = windowWidth;
    Route::boardScale = windowWidth * 0.00048828125f;
    Route::menuTopOffset = menuTopOffset;
    Particle::windowWidth = windowWidth;
    Particle::boardScale = windowWidth * 0.00048828125f;
    Particle::menuTopOffset = menuTopOffset;
    for (Route& route : routes) route.relayout();
}

void Route::relayout() {
    slimeSprite.setScale(boardScale, boardScale);
    buttonSprite.setScale(boardScale, boardScale);
    for (sf::Sprite& cell : gaugeSprites) cell.setScale(boardScale, boardScale);
    if (!validIndex(index)) return;
    if (validIndex(mode)) {
        slimePosX = boardScale * slimeAnchors[mode][index][0];
        slimePosY = boardScale * (slimeAnchors[mode][index][1] - menuTopOffset);
    }
    buttonPosX = boardScale * buttonAnchors[index][0];
    buttonPosY = boardScale * (buttonAnchors[index][1] - menuTopOffset);
    if (buttonState == 0 || !validIndex(mode)) {
        buttonSprite.setPosition(buttonPosX, buttonPosY);
    } else {
        showButtonFrame();
    }
    if (slimeFrame >= 0 && validIndex(mode)) {
        slimeSprite.setPosition(slimeFramePosition(slimeFrame));
    } else {
        slimeSprite.setPosition(slimePosX, slimePosY);
    }
    const std::array<int, 11> states = gaugeCellStates;
    for (int i = 0; i < 11; ++i) {
        if (states[i] >= 0) showGaugeCell(i, states[i]);
    }
    for (Particle& particle : particles) particle.relayout();
}

Route::Route(int idx, float factor) : index(idx), volumeFactor(factor) {
    gaugeCellStates.fill(-1);
    int s = songOf(mode);
    song = s < 0 ? 0 : s;
    boardScale = windowWidth * 0.00048828125f;
    slimeSprite.setScale(boardScale, boardScale);
    buttonSprite.setScale(boardScale, boardScale);
    gaugeSprites.resize(11);
    for (sf::Sprite& cell : gaugeSprites) cell.setScale(boardScale, boardScale);

    bool valid = validIndex(index);
    if (valid) {
        if (validIndex(mode)) {
            slimePosX = boardScale * slimeAnchors[mode][index][0];
            slimePosY = boardScale * (slimeAnchors[mode][index][1] - menuTopOffset);
        }
        buttonPosX = boardScale * buttonAnchors[index][0];
        buttonPosY = boardScale * (buttonAnchors[index][1] - menuTopOffset);
    }
    // Every cell starts on the record of its state 0 (route 3 shows states shifted by one).
    for (int i = 0; i < 11; ++i) showGaugeCell(i, index == 3 ? 2 : 0);

    if (buttonTexture) buttonSprite.setTexture(*buttonTexture);
    buttonSprite.setTextureRect(sf::IntRect(0, 0, 1, 1));
    buttonSprite.setPosition(buttonPosX, buttonPosY);
    sf::Texture* slime = listTexture(slimeTextures, index);
    if (slime) slimeSprite.setTexture(*slime);
    slimeSprite.setTextureRect(sf::IntRect());
    slimeSprite.setPosition(slimePosX, slimePosY);

    beatTimer = -(60.0f * index / songBpm[song]);
    missTolerance = missToleranceOfSong[song];
    fillStep = fillStepOfSong[song];
    loopLength = songLoopLength[song];
    layerTotal = valid ? touchCounts[song][index] : 0;
    if (song == 2 && index == 0) {
        layerTotal -= 2;  // the two sounds above are the special layers
        fillStep += 1;
    }
    fillMax = 11 * fillStep;
}

float Route::beatLength() const {
    return 60.0f / songBpm[song];
}

void Route::update(float dt) {
    updateSlime(dt);
    updateGauge(dt);
    updateGlide(dt);
    updateButton(dt);
    updateLauncher(dt * speedFactor);
    if (exploreMode)
        updateExploreSequencer(dt);
    else
        updateLoopScheduler(dt);
    updateErrorMusic(dt);
    resolveParticles();
    updateParticles(dt * speedFactor);
}

void Route::launchParticle(int a1, int a2, int a3) {
    particles.emplace_back(index, a1, a2, a3);
}

void Route::launchTrickParticle(int a1, int a2, int a3, int rewindSeed, int blinkSeed) {
    particles.emplace_back(index, a1, a2, a3);
    if (rewindSeed > 0) particles.back().armRewind(rewindSeed);
    if (blinkSeed > 0) particles.back().armBlink(blinkSeed);
}

void Route::drawOn(sf::RenderTarget& target) const {
    target.draw(buttonSprite);
    if (slimeShown) target.draw(slimeSprite);
    int shown = gaugeLevel < 11 ? gaugeLevel : 11;
    for (int i = 0; i < shown; ++i) target.draw(gaugeSprites[i]);
    for (const Particle& particle : particles) {
        // Kept within reach of a press after it finished uncaught, it is no longer seen.
        if (particle.finishedFor > 0.0f) continue;
        target.draw(particle.sprite);
    }
}

// ---- Slime, gauge and button ----

sf::Vector2f Route::slimeFramePosition(int frame) const {
    sf::Vector2i offset = slimeFrameOffset(index, mode, frame);
    float x = slimePosX + boardScale * offset.x;
    float y = slimePosY + boardScale * offset.y;
    // The two upper slimes sit on whole pixels.
    if (index == 0 || index == 1) {
        x = std::trunc(x);
        y = std::trunc(y);
    }
    return sf::Vector2f(x, y);
}

void Route::updateSlime(float dt) {
    slimeTimer += dt;
    if (slimeTimer <= slimeTickLength) return;
    slimeTimer -= slimeTickLength;
    int f = std::rand() % 9;  // frame 9 of the sheet is never shown
    slimeFrame = f;
    sf::IntRect rect = slimeFrameRect(index, mode, f);
    slimeSprite.setPosition(slimeFramePosition(f));
    slimeSprite.setTextureRect(sf::IntRect(static_cast<int>(rect.left * frameRectScale),
                                           static_cast<int>(rect.top * frameRectScale),
                                           static_cast<int>((rect.width - 1) * frameRectScale),
                                           static_cast<int>((rect.height - 1) * frameRectScale)));
    slimeShown = true;
}

void Route::showGaugeCell(int cell, int state) {
    if (cell < 0 || cell >= static_cast<int>(gaugeSprites.size()) || !validIndex(index)) return;
    if (cell < static_cast<int>(gaugeCellStates.size())) gaugeCellStates[cell] = state;
    if (index == 3) state = (state + 1) % 3;
    float baseX = boardScale * (gaugeOrigins[index][0] + cell * gaugeSpacings[index][0]);
    float baseY =
        boardScale * (gaugeOrigins[index][1] - menuTopOffset + cell * gaugeSpacings[index][1]);
    sf::Vector2i offset = gaugeFrameOffset(index, cell, state);
    sf::IntRect rect = gaugeFrameRect(index, cell, state);
    sf::Sprite& sprite = gaugeSprites[cell];
    sf::Texture* texture = listTexture(gaugeTextures, index);
    if (texture) sprite.setTexture(*texture);
    sprite.setPosition(std::trunc(boardScale * offset.x + baseX),
                       std::trunc(boardScale * offset.y + baseY));
    sprite.setTextureRect(sf::IntRect(static_cast<int>(rect.left * frameRectScale),
                                      static_cast<int>(rect.top * frameRectScale),
                                      static_cast<int>(rect.width * frameRectScale),
                                      static_cast<int>(rect.height * frameRectScale)));
}

void Route::updateGauge(float dt) {
    float period = gaugeRising ? frameTickLength : slimeTickLength;
    gaugeTimer += dt;
    if (gaugeTimer <= period) return;
    gaugeTimer -= period;
    bool bouncing = (phase == RoutePhase::finalStage && !exploreMode);
    if (bouncing) gaugeRising = false;
    if (gaugePhase == 0 && !gaugeRising && gaugeLevel < 11) gaugeLevel += 1;
    for (int i = 0; i <= gaugeLevel - 2; ++i) showGaugeCell(i, 2);
    if (gaugeLevel >= 1) {
        if (gaugePhase == -2 || gaugePhase == -1)
            showGaugeCell(gaugeLevel - 1, gaugePhase + 2);
        else if (gaugePhase >= 0 && gaugePhase <= 2)
            showGaugeCell(gaugeLevel - 1, gaugePhase);
    }
    if (gaugePhase >= 0 && gaugePhase <= 2) {
        gaugePhase += 1;
    } else if (gaugePhase <= -1 && gaugePhase >= -3) {
        gaugePhase -= 1;
        if (gaugePhase == -4) {
            if (gaugeRising) {
                gaugePhase = 0;  // the drained cell refills
            } else {
                gaugePhase = 2;
                if (gaugeLevel > 0) gaugeLevel -= 1;
            }
        }
    }
    if (bouncing) {
        if (gaugeLevel >= 10) {
            gaugeBounceUp = false;
            if (gaugePhase == 3) gaugePhase = -1;
        } else if (gaugeLevel <= 0) {
            gaugeBounceUp = true;
            if (gaugePhase == 3) gaugePhase = 0;
        } else if (gaugePhase == 3) {
            gaugePhase = gaugeBounceUp ? 0 : -1;
        }
    }
}

void Route::showButtonFrame() {
    if (buttonState == ButtonState::idle || !validIndex(mode)) {
        buttonSprite.setTextureRect(sf::IntRect());
        return;
    }
    int f = buttonState == ButtonState::released ? 0 : 1;
    sf::Vector2i offset = buttonFrameOffset(index, mode, f);
    buttonSprite.setPosition(buttonPosX + boardScale * offset.x,
                             buttonPosY + boardScale * offset.y);
    buttonSprite.setTextureRect(buttonFrameRect(index, mode, f));
}

void Route::catchParticle(Particle& particle, int landing, bool spoilt, float ago) {
    particle.judged = true;
    particle.anim = landing;
    particle.frameCount = animFrameCount(particle.route, landing, true);
    if (particle.stage <= 2) {
        particle.moveToCatchPoint();
        particle.stage = 3;
    }
    if (particle.frameCount < particle.frame) particle.finished = true;
    if (!spoilt) {
        particle.judgement = Particle::verdictOf(particle.route, landing);
        // The particle's time runs speedFactor times faster than the player's.
        timing.add(particle.catchLatenessMs(ago) / speedFactor);
    }
}

void Route::judgePress(float ago) {
    bool caught = false;
    for (Particle& particle : particles) {
        int landing = particle.judgeCatch(ago);
        if (landing == -1) continue;
        catchParticle(particle, landing, false, ago);
        caught = true;
    }
    if (!caught) missedPress = true;
}

// A press is judged as made inputShift earlier than its frame: at once, by where the
// particles stood then, or, counted as made later, once the board has come to that moment.
// The particles here stand as the previous frame left them; the overshoot of a waiting press
// is judged back from there.
void Route::updateButton(float dt) {
    if (pressDue && pressWait <= 0.0f) {
        pressDue = false;
        judgePress(-pressWait * speedFactor);
    }
    if (buttonState == ButtonState::pressed) {
        if (inputShift < 0.0f) {
            pressDue = true;
            pressWait = -inputShift;
        } else {
            judgePress(inputShift * speedFactor);
        }
        buttonState = ButtonState::held;
        buttonTimer = 0.0f;
    }
    if (buttonState == ButtonState::held && !pressDue) {
        // A particle that slides into its window while the key is still held is spoilt.
        for (Particle& particle : particles) {
            if (particle.judged) continue;
            if (particle.judgeCatch() != -1) catchParticle(particle, 0, true);
        }
    }
    if (pressDue) pressWait -= dt;
    if (buttonState != ButtonState::idle) {
        buttonTimer += dt;
        if (buttonTimer > frameTickLength) {
            buttonTimer -= frameTickLength;
            if (buttonState == ButtonState::held)
                buttonState = ButtonState::released;
            else if (buttonState == ButtonState::released)
                buttonState = ButtonState::idle;
        }
    }
    showButtonFrame();
}

// ---- Launcher ----

void Route::updateLauncher(float dt) {
    beatTimer += dt;
    if (beatTimer <= beatLength()) return;
    beatTimer -= beatLength();
    launchPhase();
    beatCount += 1;
    if (beatCount == songPhraseLength[song]) beatCount = 0;
}

void Route::launchPhase() {
    switch (phase) {
        case RoutePhase::warmingUp:
        case RoutePhase::warmingUp + 1:
        case RoutePhase::warmingUp + 2:
            warmUp();
            return;
        case RoutePhase::firstLaunch:
            launchFirst();
            return;
        case RoutePhase::normal:
            launchNormal();
            return;
        case RoutePhase::specialEasy:
        case RoutePhase::specialHard:
            launchSpecial();
            return;
        case RoutePhase::finalStage:
            launchFinal();
            return;
        case RoutePhase::tutorial:
            launchForTutorial();
            return;
        case RoutePhase::explore:
            launchExplore();
            return;
        default:  // winding down: no launches
            waitCounter += 1;
            return;
    }
}

// One beat of waiting, true while the wait since the last launch lasts.
bool Route::stillWaiting() {
    if (waitCounter > minWait) return false;
    waitCounter += 1;
    return true;
}

int Route::songZeroExtraWait() const {
    return song == 0 ? 1 : 0;
}

void Route::warmUp() {
    if (std::rand() % 5 == 0) phase += 1;
    waitCounter += 1;
}

void Route::launchFirst() {
    int a1 = choose_anim(0, index, 5);
    int a2 = choose_anim(0, index, 5);
    int a3 = choose_anim(0, index, 5);
    launchParticle(a1, a2, a3);
    minWait = minWaitOf(a1, a2, a3, index) + 2 + songZeroExtraWait();
    phase = exploreMode ? RoutePhase::explore : RoutePhase::normal;
    waitCounter = 1;
}

void Route::launchNormal() {
    if (stillWaiting()) return;
    if (std::rand() % 15 < chanceFor(song, gaugeLevel)) {
        int level = clampLevel(gaugeLevel);
        int a1 = choose_anim(level, index, waitCounter);
        int a2 = choose_anim(level, index, waitCounter);
        int easier = level < 2 ? level : std::rand() % (level - 1);
        int a3 = choose_anim(easier, index, waitCounter);
        launchParticle(a1, a2, a3);
        minWait = minWaitOf(a1, a2, a3, index) + 2 + songZeroExtraWait();
        std::cout << "minWait: " << minWait << std::endl;
    }
    waitCounter = 1;
}

void Route::launchSpecial() {
    if (waitCounter <= minWait || std::rand() % 15 >= chanceFor(song, gaugeLevel)) {
        waitCounter += 1;
        return;
    }
    int special = phase;
    std::cout << "special: " << phase << " route: " << index << " count: " << specialLaunches
              << std::endl;
    specialLaunches -= 1;
    if (specialLaunches == 0) {
        phase = RoutePhase::normal;
        volumeGlide = true;
        glideTarget = 50.0f;
        glideStep = 1.0f;
    }
    bool hard = (special == RoutePhase::specialHard);
    int a1 = choose_anim(hard ? 9 : 0, index, waitCounter);
    int a2 = choose_anim(hard ? 8 : 0, index, waitCounter);
    int a3 = choose_anim(hard ? 7 : 0, index, waitCounter);
    launchParticle(a1, a2, a3);
    // One more beat while the phase is (still) the hard one.
    minWait = minWaitOf(a1, a2, a3, index) + 1 + (phase == RoutePhase::specialHard ? 1 : 0) +
              songZeroExtraWait();
    std::cout << "minWait: " << minWait << std::endl;
    waitCounter = 1;
}

void Route::launchFinal() {
    if (stillWaiting()) return;
    if (std::rand() % 6 <= 3) {
        int a1 = choose_anim(std::rand() % 11, index, waitCounter);
        int a2 = choose_anim(std::rand() % 5 + 6, index, waitCounter);
        int a3 = choose_anim(std::rand() % 7 + 4, index, waitCounter);
        launchParticle(a1, a2, a3);
        minWait = minWaitOf(a1, a2, a3, index) + 2;
    }
    waitCounter = 1;
}

void Route::launchForTutorial() {
    if (tutorialLaunch) {
        int a1 = choose_anim(0, index, 5);
        int a2 = choose_anim(0, index, 5);
        int a3 = choose_anim(0, index, 5);
        launchParticle(a1, a2, a3);
        tutorialLaunch = false;
    }
    waitCounter += 1;
}

void Route::launchExplore() {
    if (stillWaiting()) return;
    if (std::rand() % 6 < (finalSignal ? 4 : 3)) {
        bool odd = std::rand() % 2 == 1;
        bool trick = odd && rampA != 0;
        int a1 = choose_anim(std::rand() % 11, index, waitCounter);
        int a2 = choose_anim(std::rand() % 5 + 6, index, waitCounter);
        int a3 = choose_anim(std::rand() % 7 + 4, index, waitCounter);
        std::cout << "spawn" << rampA << std::endl;
        if (rampA != 0 || rampB != 0)
            launchTrickParticle(a1, a2, a3, trick ? 1 : 0, rampB);
        else
            launchParticle(a1, a2, a3);
        minWait = trick ? 5 : minWaitOf(a1, a2, a3, index) + 2;
    }
    waitCounter = 1;
}

// ---- Particles ----

void CatchTally::count(int judgement) {
    if (judgement >= 1)
        good += 1;
    else if (judgement == -1)
        early += 1;
    else if (judgement <= -2)
        late += 1;
    else
        missed += 1;
}

bool Route::withinReach(const Particle& particle) const {
    return !particle.judged && inputShift > 0.0f &&
           particle.frameTimer + particle.finishedFor < inputShift * speedFactor;
}

void CatchTiming::add(double ms) {
    count += 1;
    sumMs += ms;
    sumSquaresMs += ms * ms;
}

double CatchTiming::meanMs() const {
    return count > 0 ? sumMs / count : 0.0;
}

double CatchTiming::spreadMs() const {
    if (count == 0) return 0.0;
    const double mean = meanMs();
    return std::sqrt(std::max(0.0, sumSquaresMs / count - mean * mean));
}

void Route::resolveParticles() {
    for (size_t i = 0; i < particles.size();) {
        if (!particles[i].finished || withinReach(particles[i])) {
            ++i;
            continue;
        }
        int judgement = particles[i].judgement;
        tally.count(judgement);
        if (judgement >= 1) {
            if (phase == RoutePhase::tutorial) {
                tutorialResult = 1;
                std::cout << index << std::endl;
            }
            if (!musicRunning) {
                firstGrabEvent = true;
                std::cout << "coucou firstgrab" << std::endl;
            }
            if (!exploreMode) {
                hits += 1;
                missStreak = 0;
                if (finalSignal)
                    hitEvent = true;
                else
                    setFillCount(fillCount + 1);
            }
        } else {
            if (phase == RoutePhase::tutorial) tutorialResult = judgement - 1;
            if (exploreMode) {
                if (gaugeLevel == 0) stopEvent = true;
                gaugePhase = -1;
            } else {
                missStreak += 1;
                misses += 1;
                if (finalSignal) {
                    missEvent = true;
                } else {
                    startErrorMusic();
                    if (missStreak > missTolerance) setFillCount(fillCount - 1);
                }
            }
        }
        particles.erase(particles.begin() + static_cast<std::ptrdiff_t>(i));
    }
}

void Route::updateParticles(float dt) {
    for (Particle& particle : particles) particle.update(dt);
}
