#pragma once

#include <cairo.h>

// The four creature species of the board and how each animation frame poses them. The
// layout program measures these drawings to build the frame tables of the game, and the
// picture generator draws them again into the rectangles of those tables, so both share
// this one description of the motion.

struct Rgb {
    double r, g, b;
};

// Route colours: body, dark outline, light belly.
extern const Rgb routeBody[4];
extern const Rgb routeDark[4];
extern const Rgb routeLight[4];

// Board geometry in reference pixels (the game's own tables hold the same values).
extern const double routeStep[4][2];
extern const double routeLastPoint[4][2];
extern const double routeCatchPoint[4][2];
// Where the creature's feet stand at the end of each hop of stage 2: on the route's pad.
extern const double routePadFeet[4][2];

extern const int artRegularAnimCounts[4];
extern const int artLandingFrameCounts[4][7];

enum Eyes { EyesOpen, EyesClosed, EyesHappy, EyesDizzy, EyesSad, EyesCross };
enum Effect {
    EffectNone,
    EffectBurst,
    EffectStars,
    EffectPuff,
    EffectDust,
    EffectConfetti,
    EffectRing
};

// One frame of a creature. The feet point is relative to the animation's anchor.
struct Pose {
    bool visible = true;
    double feetX = 0, feetY = 0;
    double sx = 1, sy = 1;  // squash and stretch
    double tilt = 0;        // radians, about the feet
    double alpha = 1;
    double grey = 0;   // 0 = full colour, 1 = stone grey
    double scale = 1;  // overall size
    int eyes = EyesOpen;
    double look = 0;  // -1 .. 1, eyes towards the route's direction
    int effect = EffectNone;
    double effectT = 0;   // effect phase 0..1
    bool facing = true;   // true: faces the route's direction of travel
    bool earsUp = false;  // anticipation pose
};

Pose regularPose(int route, int anim, int frame);
Pose landingPose(int route, int landing, int index);

// Draws the pose with its feet at the current origin of the context.
void drawPose(cairo_t* cr, int route, const Pose& pose);

// Ink box of a pose relative to its feet point: x0, y0 (top-left, negative up/left), w, h.
// Empty (w = 0) for an invisible pose.
struct InkBox {
    double x0, y0, w, h;
};
InkBox poseInk(int route, const Pose& pose);
