#include <algorithm>
#include <cmath>
#include <iostream>

#include "game/game.h"

namespace {
// Share of good catches, in single precision.
float hitRatio(int hits, int misses) {
    return static_cast<float>(hits) / static_cast<float>(hits + misses);
}

// Every route in phase 4 turns special: the singled-out route to `chosenPhase`, the others
// to the other special phase; the loud phase 6 glides up, the quiet phase 5 down.
void turnSpecial(std::vector<Route>& routes, int chosen, int chosenPhase) {
    const int otherPhase = chosenPhase == 5 ? 6 : 5;
    for (int l = 0; l < 4; ++l) {
        Route& route = routes[l];
        if (route.phase != 4) continue;
        route.phase = l == chosen ? chosenPhase : otherPhase;
        route.specialLaunches = 10;
        route.volumeGlide = true;
        route.glideTarget = route.phase == 6 ? 60.0f : 5.0f;
        route.glideStep = 1.0f;
    }
}
}  // namespace

void Game::addHit() {
    hitCount += 1;
    score += 1.0 + 5.0 * hitCount / (hitCount + missCount);
}

void Game::checkSpecials() {
    if (!fourRoutes()) return;
    bool anyOther = false;
    for (int i = 1; i < 4; ++i) anyOther = anyOther || routes[i].specialCheck == 1;
    if (routes[0].specialCheck != 1 && !anyOther) return;

    // Song 2 may grant route 0 its special layer on a near-flawless loop.
    if (routes[0].specialCheck == 1 && song() == 2) {
        Route& first = routes[0];
        std::cout << "special check level 2" << std::endl;
        routeHits[0] = first.hits;
        routeMisses[0] = first.misses;
        std::cout << "counting" << std::endl;
        if (first.hits + first.misses > 2) {
            std::cout << "enough!" << std::endl;
            if (hitRatio(first.hits, first.misses) > 0.99) {
                std::cout << "percentage ok => SPECIAL" << std::endl;
                if (first.specialKind == 0) first.specialKind = first.layerCount > 4 ? 2 : 1;
                for (Route& route : routes) route.specialCheck = 2;
                return;
            }
        }
    }

    std::cout << "special check !" << std::endl;
    bool tooFew = false;
    for (int i = 0; i < 4; ++i) {
        routeHits[i] = routes[i].hits;
        routeMisses[i] = routes[i].misses;
        if (routes[i].hits + routes[i].misses <= 1) tooFew = true;
    }
    if (tooFew) {
        for (Route& route : routes) route.specialCheck = 2;
        return;
    }

    std::cout << "allbig" << std::endl;
    int perfect = 0, good = 0, poor = 0, nulls = 0;
    int perfectRoute = 0, nullRoute = 0;
    for (int i = 0; i < 4; ++i) {
        // Single-precision ratio against double bounds: 3/5 lies just above 0.6 and is good.
        const float x = hitRatio(routes[i].hits, routes[i].misses);
        if (x == 1.0) {
            perfect += 1;
            perfectRoute = i;
        } else if (x > 0.6 && x < 0.99) {
            good += 1;
        } else if (x > 0 && x < 0.6) {
            poor += 1;
        } else if (x == 0) {
            nulls += 1;
            nullRoute = i;
        }
    }
    if (nulls == 1 && perfect + good == 3) {
        std::cout << "null spotted! " << nullRoute << std::endl;
        turnSpecial(routes, nullRoute, 5);
    }
    if (perfect == 1 && nulls + poor == 3) {
        std::cout << "perfect spotted! " << perfectRoute << std::endl;
        turnSpecial(routes, perfectRoute, 6);
    }
    for (Route& route : routes) route.specialCheck = 2;
}

void Game::raiseDifficulty() {
    if (!fourRoutes() || routeOrder.size() != 4) return;
    const int n = static_cast<int>(stageTime / 10.0);
    const auto o = [this](int j) { return routeOrder[j]; };
    const auto speedOf = [](int m) { return static_cast<float>(1.0 + 0.3 * std::sqrt(m)); };
    switch (song()) {
        case 0:
            for (int i = 0; i < 4; ++i) {
                const int m = n - i;
                if (m > 0) routes[o(i)].rampB = std::min(m, 8);
            }
            break;
        case 1:
            for (int i = 0; i < 4; ++i) {
                const int m = n - i;
                if (m <= 0) continue;
                std::cout << "here ! diff 1 " << m << std::endl;
                routes[o(i)].rampA = std::min(m, 6);
            }
            break;
        case 2:
            for (int i = 0; i < 4; ++i) {
                const int m = n - i;
                if (m <= 0) continue;
                std::cout << "here ! diff 2 " << m << std::endl;
                routes[o(i)].speedFactor = speedOf(m);
            }
            break;
        default:
            // Song 3 reaches its routes through the order applied twice and three times.
            for (int i = 0; i < 4; ++i) {
                const int m = n - i;
                if (m > 0) routes[o(o(i))].rampA = std::min(m, 6);
            }
            for (int i = 0; i < 4; ++i) {
                const int m = n - 3 - i;
                if (m > 0) routes[o(o(o(i)))].speedFactor = speedOf(m);
            }
            for (int i = 0; i < 4; ++i) {
                const int m = n - 9 - i;
                if (m > 0) routes[o(i)].rampB = std::min(m, 6);
            }
            break;
    }
}
