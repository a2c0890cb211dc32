#pragma once

// Board layout in reference pixels (y before the board's vertical offset is taken off): where
// each route's slime, button and gauge cells sit. Shared by the game and the picture
// generator.
extern const float slimeAnchors[4][4][2];  // by mode, route
extern const float buttonAnchors[4][2];    // by route
extern const float gaugeOrigins[4][2];     // cell 0 of each route's gauge
extern const float gaugeSpacings[4][2];    // from one gauge cell to the next
