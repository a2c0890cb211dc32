#pragma once

// Which regular animations a new particle plays, and how long its route must wait after it.

// For each route and difficulty level 0..10, five candidate regular animations, drawn with
// equal chance.
extern const int animChoiceTable[4][11][5];
// Beats a route must wait after a particle that plays regular animation a, by route; only
// the first animMinWaitLength[route] entries of a row exist (route 0's animation 24 has none).
extern const int animMinWait[4][25];
extern const int animMinWaitLength[4];

// Draws a regular animation for a difficulty level. previousWait is the number of beats since
// the route's previous launch (5 when there was none). A level outside 0..10 writes
// "ERROR choose_anim" to the error stream and is clamped; a route outside 0..3 gives 0.
int choose_anim(int level, int route, int previousWait);

// The longest wait of the three animations a, b, c on a route; 0 for a route outside 0..3.
// An animation without a wait entry counts as 0.
int minWaitOf(int a, int b, int c, int route);
