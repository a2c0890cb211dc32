#include "game/tutorial.h"

namespace {
// The routes' launch phase while the tutorial drives them.
const int tutorialPhase = 9;

bool caughtWell(const std::vector<Route>& routes, int i) {
    return i < static_cast<int>(routes.size()) && routes[i].tutorialResult == 1;
}

void askLaunch(std::vector<Route>& routes, int i) {
    if (i < static_cast<int>(routes.size())) routes[i].tutorialLaunch = true;
}
}  // namespace

void startTutorialRoutes(std::vector<Route>& routes) {
    for (Route& route : routes) route.phase = tutorialPhase;
}

int tutorialKeyStep(int step, std::vector<Route>& routes) {
    if (step != 0) return step;
    askLaunch(routes, 3);
    return 1;
}

int tutorialAdvance(int step, std::vector<Route>& routes) {
    if (step == 1 && caughtWell(routes, 3)) {
        for (Route& route : routes) route.grabStarted = true;
        askLaunch(routes, 0);
        return 2;
    }
    if (step == 2 && caughtWell(routes, 0)) {
        askLaunch(routes, 1);
        askLaunch(routes, 2);
        return 3;
    }
    if (step == 3 && caughtWell(routes, 1) && caughtWell(routes, 2)) return 4;
    return step;
}

int tutorialRelaunch(int hint, std::vector<Route>& routes) {
    for (Route& route : routes) {
        if (route.tutorialResult >= 0) continue;
        if (route.tutorialResult != -1) hint = -route.tutorialResult - 1;
        route.tutorialLaunch = true;
        route.tutorialResult = 0;
    }
    return hint;
}
