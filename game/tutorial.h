#pragma once

#include <vector>

#include "board/route.h"

// The tutorial's handshake with the routes: each route in turn is asked for easy particles,
// and the next page comes once the player catches them. `step` is the last page shown
// (0..4); at 4 the next key starts the real play.

// The routes launch only when asked (launch phase 9).
void startTutorialRoutes(std::vector<Route>& routes);
// A key pressed on the tutorial screen: at step 0, step 1 and route 3 is asked to launch.
// Returns the new step.
int tutorialKeyStep(int step, std::vector<Route>& routes);
// Steps 1..3 advance when the asked routes report a good catch. Returns the new step.
int tutorialAdvance(int step, std::vector<Route>& routes);
// Routes whose particles failed launch again. Returns the hint to show: 1 after an early
// catch, 2 after a late one, else `hint` unchanged.
int tutorialRelaunch(int hint, std::vector<Route>& routes);
