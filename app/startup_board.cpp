#include "app/app.h"

// Start-up, first half: the loading picture, the gauges and the animation atlas.
int App::loadBoardTextures() { return -1; }
