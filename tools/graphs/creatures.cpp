#include "creatures.h"

#include <cmath>
#include <cstdint>

const Rgb routeBody[4] = {
    {0.96, 0.55, 0.20}, {0.22, 0.62, 0.93}, {0.67, 0.38, 0.86}, {0.40, 0.76, 0.30}};
const Rgb routeDark[4] = {
    {0.48, 0.20, 0.05}, {0.06, 0.24, 0.45}, {0.30, 0.12, 0.42}, {0.12, 0.34, 0.08}};
const Rgb routeLight[4] = {
    {1.00, 0.86, 0.62}, {0.74, 0.90, 1.00}, {0.90, 0.78, 1.00}, {0.82, 0.96, 0.68}};

const double routeStep[4][2] = {{179, 72}, {-177, 71.8}, {-203, -81.5}, {200, -76}};
const double routeLastPoint[4][2] = {{359, 348}, {1347, 321}, {1362, 717}, {365, 730}};
const double routeCatchPoint[4][2] = {{547, 397}, {1088, 410}, {1049, 557}, {549, 549}};
const double routePadFeet[4][2] = {{652.5, 576}, {1396, 576}, {1400, 866}, {662, 866}};

const int artRegularAnimCounts[4] = {25, 26, 26, 24};
const int artLandingFrameCounts[4][7] = {{16, 22, 29, 24, 20, 23, 26},
                                         {20, 22, 25, 24, 26, 22, 29},
                                         {19, 26, 26, 25, 24, 25, 25},
                                         {16, 25, 26, 25, 22, 23, 25}};

namespace {

const double kPi = 3.14159265358979323846;

// Body size at rest (width, height) and the height of the species' head ornament.
const double bodyW[4] = {78, 70, 88, 76};
const double bodyH[4] = {66, 76, 60, 64};

double clampd(double v, double lo, double hi) {
    return v < lo ? lo : (v > hi ? hi : v);
}

// Difficulty level at which each regular animation first appears in the choice table.
int animLevel(int route, int anim) {
    static const int shared[25] = {3, 1, 4, 5, 2, 3, 1, 0, 0, 4, 5, 6, 2,
                                   3, 2, 6, 3, 4, 7, 7, 8, 9, 8, 9, 10};
    if (anim < 0) return 0;
    if (anim >= 25) return 10;
    int level = shared[anim];
    if (route == 1) {
        if (anim == 7 || anim == 1) level = 0;
        if (anim == 0 || anim == 8) level = 1;
    } else if (route == 2) {
        if (anim == 0 || anim == 2) level = 0;
        if (anim == 10) level = 1;
    }
    return level;
}

// The plain hop: crouch until frame 4, take off at 5 and touch the next spot at 18.
void plainHop(int f, double& u, double& z) {
    if (f < 5) {
        u = 0;
        z = 0;
        return;
    }
    double t = (f - 5) / 13.0;
    u = t;
    z = 220.0 * t * (1.0 - t);
}

enum Kind { KRest, KStretch, KCrouch, KLand, KAir };

struct Key {
    int kind;
    double u, z;
};

enum Style {
    SPlain,
    SFloaty,
    SHesitate,
    SDouble,
    SFeint,
    SCreep,
    STriple,
    SHover,
    SShiver,
    SFlicker,
    SBackstep,
    SSpin,
    SPause,
    SShrink,
    SCount
};

// Frames 1..12 of a style (frames 13..18 are the common final leap).
void styleKeys(int style, Key keys[13]) {
    for (int f = 0; f <= 12; ++f) {
        double u, z;
        plainHop(f, u, z);
        keys[f] = {f == 0 ? KRest : (f < 5 ? KCrouch : KAir), u, z};
    }
    keys[1] = {KStretch, 0, 0};
    auto set = [&](int f, int kind, double u, double z) { keys[f] = {kind, u, z}; };
    switch (style) {
        case SFloaty:
            set(2, KCrouch, 0, 0);
            for (int f = 3; f <= 12; ++f) {
                double t = (f - 2) / 10.0;
                set(f, KAir, 0.538 * t, 54.7 * std::sin(kPi / 2 * t));
            }
            break;
        case SHesitate:
            set(2, KAir, 0, 10), set(3, KAir, 0, 16), set(4, KAir, 0, 10), set(5, KLand, 0, 0);
            set(6, KRest, 0, 0), set(7, KCrouch, 0, 0), set(8, KCrouch, 0, 0);
            set(9, KAir, 0.16, 30), set(10, KAir, 0.31, 44), set(11, KAir, 0.44, 52);
            break;
        case SDouble:
            set(2, KCrouch, 0, 0), set(3, KAir, 0.07, 16), set(4, KAir, 0.15, 20);
            set(5, KAir, 0.22, 12), set(6, KLand, 0.26, 0), set(7, KCrouch, 0.26, 0);
            set(8, KAir, 0.31, 24), set(9, KAir, 0.37, 38), set(10, KAir, 0.43, 48);
            set(11, KAir, 0.49, 54);
            break;
        case SFeint:
            set(2, KCrouch, 0, 0), set(3, KAir, 0.08, 18), set(4, KAir, 0.12, 22);
            set(5, KAir, 0.09, 16), set(6, KAir, 0.04, 6), set(7, KLand, 0, 0);
            set(8, KCrouch, 0, 0), set(9, KAir, 0.14, 30), set(10, KAir, 0.29, 45);
            set(11, KAir, 0.42, 53);
            break;
        case SCreep:
            for (int f = 2; f <= 8; ++f) set(f, KRest, 0.03 * (f - 1), (f % 2) ? 3 : 0);
            set(9, KCrouch, 0.23, 0), set(10, KAir, 0.33, 36), set(11, KAir, 0.44, 50);
            break;
        case STriple:
            set(2, KAir, 0.04, 10), set(3, KLand, 0.08, 0), set(4, KAir, 0.12, 10);
            set(5, KLand, 0.16, 0), set(6, KAir, 0.20, 10), set(7, KLand, 0.24, 0);
            set(8, KCrouch, 0.24, 0), set(9, KAir, 0.31, 30), set(10, KAir, 0.38, 44);
            set(11, KAir, 0.46, 52);
            break;
        case SHover:
            set(2, KCrouch, 0, 0), set(3, KAir, 0, 20), set(4, KAir, 0, 36), set(5, KAir, 0, 46);
            set(6, KAir, 0.01, 50), set(7, KAir, 0.02, 52), set(8, KAir, 0.03, 51);
            set(9, KAir, 0.12, 53), set(10, KAir, 0.25, 55), set(11, KAir, 0.39, 55);
            break;
        case SShiver:
            for (int f = 2; f <= 8; ++f) set(f, KRest, (f % 2) ? 0.01 : -0.01, 0);
            set(9, KCrouch, 0, 0), set(10, KAir, 0.20, 34), set(11, KAir, 0.38, 50);
            break;
        case SBackstep:
            set(2, KAir, -0.04, 10), set(3, KAir, -0.08, 14), set(4, KLand, -0.10, 0);
            set(5, KCrouch, -0.10, 0), set(6, KAir, 0.0, 20), set(7, KAir, 0.10, 34);
            set(8, KAir, 0.20, 44), set(9, KAir, 0.29, 50), set(10, KAir, 0.37, 53);
            set(11, KAir, 0.46, 55);
            break;
        case SPause:
            for (int f = 2; f <= 9; ++f) set(f, KRest, 0, 0);
            set(10, KCrouch, 0, 0), set(11, KAir, 0.26, 38);
            break;
        case SShrink:
            set(2, KAir, 0, 10), set(3, KAir, 0, 16), set(4, KAir, 0, 10), set(5, KLand, 0, 0);
            set(6, KRest, 0, 0), set(7, KCrouch, 0, 0), set(8, KCrouch, 0, 0);
            set(9, KAir, 0.16, 30), set(10, KAir, 0.31, 44), set(11, KAir, 0.44, 52);
            break;
        default:
            break;
    }
}

int styleOf(int route, int anim) {
    if (route == 0 && anim == 2) return SFlicker;
    static const int byLevel[11][3] = {
        {SPlain, SPlain, SPlain},      {SFloaty, SPlain, SFloaty},  {SHesitate, SDouble, STriple},
        {SFeint, SCreep, STriple},     {SHover, SShiver, SFlicker}, {SBackstep, SSpin, SFeint},
        {SPause, SShrink, SBackstep},  {SShrink, SSpin, SPause},    {SFeint, SPause, SShrink},
        {SBackstep, SFlicker, SPause}, {SPause, SShrink, SFeint}};
    int level = animLevel(route, anim);
    return byLevel[level][(anim + route) % 3];
}

double airStretch(double zPrev, double zNext) {
    return 1.0 + clampd(0.008 * (zNext - zPrev), -0.14, 0.22);
}

// Feet of the creature when it rests at the start of a hop, relative to the hop's anchor.
void hopStart(int route, double& x, double& y) {
    x = routePadFeet[route][0] - routeLastPoint[route][0] - routeStep[route][0];
    y = routePadFeet[route][1] - routeLastPoint[route][1] - routeStep[route][1];
}

void applyKind(Pose& p, int kind, double zPrev, double zNext) {
    switch (kind) {
        case KStretch:
            p.sy = 1.3, p.sx = 0.9, p.earsUp = true;
            break;
        case KCrouch:
            p.sy = 0.78, p.sx = 1.16;
            break;
        case KLand:
            p.sy = 0.82, p.sx = 1.14;
            break;
        case KAir:
            p.sy = airStretch(zPrev, zNext), p.sx = 1.0 / std::sqrt(p.sy);
            break;
        default:
            break;
    }
}

// The level-selection cursor: a creature bouncing in place, 19 frames in a loop.
Pose cursorPose(int frame) {
    Pose p;
    double a = 2 * kPi * frame / 19.0;
    double bob = 0.5 - 0.5 * std::cos(a);
    p.feetX = 52;
    p.feetY = 112 - 18 * bob;
    p.sy = 1.0 + 0.1 * std::sin(a);
    p.sx = 1.0 / std::sqrt(p.sy);
    p.look = 1;
    p.facing = false;
    p.eyes = (frame == 9) ? EyesHappy : EyesOpen;
    return p;
}

// Position along the last hop of stage 2, relative to the catch point.
void finalApproach(int route, double u, double z, double& x, double& y) {
    double sxp, syp;
    hopStart(route, sxp, syp);
    x = routeLastPoint[route][0] + sxp + routeStep[route][0] * u - routeCatchPoint[route][0];
    y = routeLastPoint[route][1] + syp + routeStep[route][1] * u - z - routeCatchPoint[route][1];
}

Pose approachPose(int route, int index) {
    // Landing frames 0..4 repeat frames 14..18 of the last hop, seen from the catch point.
    Pose p;
    int f = 14 + index;
    double u, z, zp, zn, tmp;
    plainHop(f, u, z);
    plainHop(f - 1, tmp, zp);
    plainHop(f + 1 > 18 ? 18 : f + 1, tmp, zn);
    finalApproach(route, u, z, p.feetX, p.feetY);
    if (f == 18)
        applyKind(p, KLand, 0, 0), p.effect = EffectDust, p.effectT = 0.2;
    else
        applyKind(p, KAir, zp, zn);
    return p;
}

Pose waitPose(int route, int index) {
    Pose p;
    finalApproach(route, 1.0, 0.0, p.feetX, p.feetY);
    if (index <= 5) {
        p.sy = 0.9, p.sx = 1.08;
        p.effect = EffectDust, p.effectT = 0.6;
        return p;
    }
    int k = index - 6;
    p.sy = 1.0 + 0.035 * std::sin(k * 1.3);
    p.sx = 1.0 / std::sqrt(p.sy);
    p.look = std::sin(k * 0.8);
    if (k == 4) p.eyes = EyesClosed;
    return p;
}

enum LandingKind {
    LEarlyShort,
    LEarlyEdge,
    LGoodBurst,
    LGoodConfetti,
    LGoodRing,
    LLateFade,
    LLateMiss
};

int landingKind(int route, int landing) {
    if (route == 0) {
        static const int k0[7] = {LEarlyShort, LLateFade,  LLateMiss,    LEarlyEdge,
                                  LGoodRing,   LGoodBurst, LGoodConfetti};
        return k0[landing];
    }
    static const int kn[7] = {LEarlyShort, LEarlyEdge, LLateMiss,    LLateMiss,
                              LGoodBurst,  LGoodRing,  LGoodConfetti};
    int kind = kn[landing];
    // The default landing of an uncaught particle waits, then fades away.
    if ((route == 1 && landing == 2) || ((route == 2 || route == 3) && landing == 3))
        kind = LLateFade;
    return kind;
}

// First landing frame on which a good catch of that landing can be seen.
int goodStart(int route, int landing) {
    if (route == 0) return landing == 5 ? 7 : (landing == 4 ? 9 : 11);
    return landing == 4 ? 7 : (landing == 5 ? 9 : 11);
}

}  // namespace

Pose regularPose(int route, int anim, int frame) {
    if ((route == 0 && anim == 24) || (route == 2 && anim == 25)) return cursorPose(frame);
    Pose p;
    int style = styleOf(route, anim);
    int level = animLevel(route, anim);
    Key keys[13];
    styleKeys(style, keys);
    double u[20], z[20];
    int kind[20];
    for (int f = 0; f <= 18; ++f) {
        if (f <= 12) {
            u[f] = keys[f].u, z[f] = keys[f].z, kind[f] = keys[f].kind;
        } else {
            plainHop(f, u[f], z[f]);
            kind[f] = (f == 18) ? KLand : KAir;
        }
    }
    u[19] = 1, z[19] = 0;
    double x0, y0;
    hopStart(route, x0, y0);
    p.feetX = x0 + routeStep[route][0] * u[frame];
    p.feetY = y0 + routeStep[route][1] * u[frame] - z[frame];
    applyKind(p, kind[frame], frame > 0 ? z[frame - 1] : 0, z[frame + 1]);
    if (frame == 18) p.effect = EffectDust, p.effectT = 0.2;
    if (frame == 0) return p;
    // Style touches on top of the motion.
    switch (style) {
        case SHesitate:
            if (frame == 6) p.look = -1;
            break;
        case SHover:
            if (frame >= 6 && frame <= 8) p.tilt = (frame % 2 ? 0.12 : -0.12);
            break;
        case SShiver:
            if (frame >= 2 && frame <= 8) p.tilt = (frame % 2 ? 0.13 : -0.13), p.eyes = EyesClosed;
            break;
        case SFlicker:
            if (frame == 13 || (route != 0 && frame == 9)) p.visible = false;
            if (route == 0 && frame == 9) p.alpha = 0.45;
            break;
        case SSpin:
            if (frame >= 5 && frame <= 12) {
                double dir = routeStep[route][0] > 0 ? 1 : -1;
                p.tilt = dir * 2 * kPi * (frame - 5) / 8.0;
            }
            break;
        case SPause:
            if (frame == 4) p.eyes = EyesClosed;
            if (frame == 6 || frame == 7) p.look = (frame == 6 ? -1 : 1);
            break;
        case SShrink:
            if (frame >= 2 && frame <= 8) p.scale = 1.0 - 0.28 * std::sin(kPi * (frame - 2) / 6.0);
            break;
        default:
            break;
    }
    // The hardest animations wobble as they go.
    if (level >= 7 && frame >= 2 && frame <= 12 && style != SSpin)
        p.tilt += 0.05 * (level - 6) * std::sin(frame * 2.1);
    return p;
}

Pose landingPose(int route, int landing, int index) {
    int kind = landingKind(route, landing);
    int count = artLandingFrameCounts[route][landing];
    double dir = routeStep[route][0] > 0 ? 1 : -1;
    Pose p;
    switch (kind) {
        case LEarlyShort: {
            // Caught too soon: the hop is cut short and the creature falls on its face.
            if (index == 0) return approachPose(route, 0);
            static const double su[5] = {0, 0.72, 0.76, 0.79, 0.80};
            static const double sz[5] = {0, 36, 20, 6, 0};
            if (index <= 4) {
                finalApproach(route, su[index], sz[index], p.feetX, p.feetY);
                p.tilt = dir * 0.25 * index;
                p.eyes = index >= 3 ? EyesCross : EyesOpen;
                p.sy = 1.0 - 0.05 * index, p.sx = 1.0 + 0.04 * index;
                return p;
            }
            finalApproach(route, 0.80, 0, p.feetX, p.feetY);
            p.tilt = dir * (index == 5 ? 1.2 : 1.05);
            p.sy = 0.8, p.sx = 1.15;
            p.eyes = EyesDizzy;
            p.effect = EffectStars;
            p.effectT = (index - 5) / 8.0;
            int fadeFrom = count - 5;
            if (index >= fadeFrom) p.alpha = 1.0 - 0.85 * (index - fadeFrom + 1) / 5.0;
            return p;
        }
        case LEarlyEdge: {
            // Caught just before it stood on the pad: it slips off the edge and sits down dizzy.
            if (index <= 3) return approachPose(route, index);
            static const double eu[4] = {0.97, 0.98, 0.94, 0.90};
            static const double ez[4] = {4, 0, 8, 0};
            static const double et[4] = {-0.15, -0.4, -0.8, -0.3};
            if (index <= 7) {
                int k = index - 4;
                finalApproach(route, eu[k], ez[k], p.feetX, p.feetY);
                p.tilt = dir * et[k];
                p.eyes = EyesCross;
                if (k == 3) p.sy = 0.75, p.sx = 1.2, p.effect = EffectDust, p.effectT = 0.5;
                return p;
            }
            finalApproach(route, 0.90, 0, p.feetX, p.feetY);
            p.sy = 0.82 + 0.03 * std::sin(index * 1.4), p.sx = 1.14;
            p.tilt = dir * -0.15 * std::sin(index * 0.9);
            p.eyes = EyesDizzy;
            p.effect = EffectStars;
            p.effectT = (index - 8) / 8.0;
            int fadeFrom = count - 5;
            if (index >= fadeFrom) p.alpha = 1.0 - 0.85 * (index - fadeFrom + 1) / 5.0;
            return p;
        }
        case LGoodBurst:
        case LGoodConfetti:
        case LGoodRing: {
            if (index <= 4) return approachPose(route, index);
            int g0 = goodStart(route, landing);
            if (index < g0) return waitPose(route, index);
            // A happy catch: a jump of joy that pops into a burst of the route's colour.
            int k = index - g0;
            int span = count - g0;
            double t = span > 1 ? k / double(span - 1) : 1.0;
            static const double jz[6] = {0, 18, 30, 34, 30, 22};
            finalApproach(route, 1.0, 0.0, p.feetX, p.feetY);
            p.feetY -= (k < 6 ? jz[k] : 22 + 6 * (k - 5) * 0.5);
            p.eyes = EyesHappy;
            p.sy = k == 0 ? 0.8 : (k == 1 ? 1.25 : 1.0);
            p.sx = 1.0 / std::sqrt(p.sy);
            if (k >= 3) {
                double pop = (k - 3) / double(span - 3 > 1 ? span - 3 : 1);
                p.scale = 1.0 - 0.9 * pop;
                p.alpha = 1.0 - 0.9 * pop;
            }
            p.effect = kind == LGoodBurst ? EffectBurst
                                          : (kind == LGoodConfetti ? EffectConfetti : EffectRing);
            p.effectT = t;
            return p;
        }
        case LLateFade: {
            // Nobody caught it: it waits on the pad, grows sad and fades away.
            if (index <= 4) return approachPose(route, index);
            if (index <= 12) return waitPose(route, index);
            finalApproach(route, 1.0, 0.0, p.feetX, p.feetY);
            int k = index - 13;
            int span = count - 13;
            double t = span > 1 ? k / double(span - 1) : 1.0;
            p.eyes = EyesSad;
            p.sy = 0.96 - 0.12 * t, p.sx = 1.0 + 0.08 * t;
            p.look = -0.5;
            p.grey = 0.7 * t;
            p.alpha = 1.0 - 0.92 * t * t;
            if (t > 0.4) p.effect = EffectPuff, p.effectT = (t - 0.4) / 0.6;
            return p;
        }
        case LLateMiss:
        default: {
            // Caught too late: it flinches, turns to stone and crumbles.
            if (index <= 4) return approachPose(route, index);
            if (index <= 12) return waitPose(route, index);
            finalApproach(route, 1.0, 0.0, p.feetX, p.feetY);
            int k = index - 13;
            int span = count - 13;
            double t = span > 1 ? k / double(span - 1) : 1.0;
            if (k == 0) {
                p.sy = 1.22, p.sx = 0.9, p.eyes = EyesCross, p.earsUp = true;
                return p;
            }
            p.eyes = EyesCross;
            p.grey = clampd(t * 2.0, 0, 1);
            p.sy = 1.0 - 0.45 * t, p.sx = 1.0 + 0.3 * t;
            p.alpha = 1.0 - 0.9 * t * t;
            p.effect = EffectPuff;
            p.effectT = t;
            return p;
        }
    }
}

namespace {

void setColour(cairo_t* cr, const Rgb& c, double grey) {
    double g = 0.30 * c.r + 0.59 * c.g + 0.11 * c.b;
    g = 0.35 + 0.45 * g;
    cairo_set_source_rgb(cr, c.r + (g - c.r) * grey, c.g + (g - c.g) * grey,
                         c.b + (g - c.b) * grey);
}

void ellipse(cairo_t* cr, double cx, double cy, double rx, double ry) {
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, rx, ry);
    cairo_new_sub_path(cr);
    cairo_arc(cr, 0, 0, 1, 0, 2 * kPi);
    cairo_restore(cr);
}

void star(cairo_t* cr, double cx, double cy, double r, double rot) {
    for (int i = 0; i < 10; ++i) {
        double a = rot + i * kPi / 5 - kPi / 2;
        double rr = (i % 2) ? r * 0.45 : r;
        if (i == 0)
            cairo_move_to(cr, cx + rr * std::cos(a), cy + rr * std::sin(a));
        else
            cairo_line_to(cr, cx + rr * std::cos(a), cy + rr * std::sin(a));
    }
    cairo_close_path(cr);
}

void drawOrnament(cairo_t* cr, int route, double w, double h, bool up, double grey) {
    double extra = up ? 7 : 0;
    setColour(cr, routeBody[route], grey);
    switch (route) {
        case 0:  // two pointed ears
            for (int s = -1; s <= 1; s += 2) {
                cairo_move_to(cr, s * w * 0.12, -h * 0.82);
                cairo_line_to(cr, s * w * 0.30, -h - 13 - extra);
                cairo_line_to(cr, s * w * 0.40, -h * 0.70);
                cairo_close_path(cr);
            }
            break;
        case 1:  // an antenna with a glowing bulb
            cairo_move_to(cr, 0, -h * 0.95);
            cairo_curve_to(cr, 2, -h - 6, 6, -h - 9 - extra, 5, -h - 10 - extra);
            cairo_set_line_width(cr, 3);
            setColour(cr, routeDark[route], grey);
            cairo_stroke(cr);
            ellipse(cr, 5, -h - 11 - extra, 5, 5);
            setColour(cr, routeLight[route], grey);
            break;
        case 2:  // three round horns
            for (int i = -1; i <= 1; ++i)
                ellipse(cr, i * w * 0.24, -h * 0.93 - 2 - extra * 0.5, 6, 9 + extra * 0.5);
            break;
        default:  // a sprout with two leaves
            cairo_move_to(cr, 0, -h * 0.97);
            cairo_line_to(cr, 0, -h - 8 - extra);
            cairo_set_line_width(cr, 3);
            setColour(cr, routeDark[route], grey);
            cairo_stroke(cr);
            cairo_save(cr);
            cairo_translate(cr, 0, -h - 8 - extra);
            cairo_rotate(cr, -0.5);
            ellipse(cr, -9, 0, 9, 4.5);
            cairo_restore(cr);
            cairo_save(cr);
            cairo_translate(cr, 0, -h - 8 - extra);
            cairo_rotate(cr, 0.5);
            ellipse(cr, 9, 0, 9, 4.5);
            cairo_restore(cr);
            setColour(cr, routeLight[route], grey);
            cairo_fill_preserve(cr);
            setColour(cr, routeDark[route], grey);
            cairo_set_line_width(cr, 1.5);
            cairo_stroke(cr);
            return;
    }
    cairo_fill_preserve(cr);
    setColour(cr, routeDark[route], grey);
    cairo_set_line_width(cr, 2.5);
    cairo_stroke(cr);
}

void drawEyes(cairo_t* cr, int route, const Pose& p, double w, double h) {
    double ey = -h * 0.58;
    double er = w * 0.11;
    Rgb dark = routeDark[route];
    for (int s = -1; s <= 1; s += 2) {
        double ex = s * w * 0.18 + w * 0.07;
        switch (p.eyes) {
            case EyesClosed:
            case EyesHappy:
                cairo_new_sub_path(cr);
                if (p.eyes == EyesClosed)
                    cairo_arc(cr, ex, ey, er * 0.8, 0.15 * kPi, 0.85 * kPi);
                else
                    cairo_arc(cr, ex, ey + er * 0.3, er * 0.8, 1.15 * kPi, 1.85 * kPi);
                setColour(cr, dark, p.grey);
                cairo_set_line_width(cr, 3);
                cairo_stroke(cr);
                break;
            case EyesCross:
                cairo_move_to(cr, ex - er * 0.7, ey - er * 0.7);
                cairo_line_to(cr, ex + er * 0.7, ey + er * 0.7);
                cairo_move_to(cr, ex + er * 0.7, ey - er * 0.7);
                cairo_line_to(cr, ex - er * 0.7, ey + er * 0.7);
                setColour(cr, dark, p.grey);
                cairo_set_line_width(cr, 3);
                cairo_stroke(cr);
                break;
            case EyesDizzy:
                cairo_new_sub_path(cr);
                cairo_arc(cr, ex, ey, er * 0.9, 0, 2 * kPi);
                cairo_set_source_rgb(cr, 1, 1, 1);
                cairo_fill(cr);
                cairo_new_sub_path(cr);
                cairo_arc(cr, ex, ey, er * 0.5, 0, 1.6 * kPi);
                setColour(cr, dark, p.grey);
                cairo_set_line_width(cr, 2);
                cairo_stroke(cr);
                break;
            default: {
                ellipse(cr, ex, ey, er, er * 1.15);
                cairo_set_source_rgb(cr, 1, 1, 1);
                cairo_fill_preserve(cr);
                setColour(cr, dark, p.grey);
                cairo_set_line_width(cr, 1.5);
                cairo_stroke(cr);
                double px = ex + er * 0.45 * p.look;
                double py = ey + (p.eyes == EyesSad ? er * 0.45 : er * 0.1);
                ellipse(cr, px, py, er * 0.5, er * 0.6);
                cairo_set_source_rgb(cr, 0.08, 0.06, 0.1);
                cairo_fill(cr);
                ellipse(cr, px - er * 0.2, py - er * 0.25, er * 0.17, er * 0.17);
                cairo_set_source_rgb(cr, 1, 1, 1);
                cairo_fill(cr);
                if (p.eyes == EyesSad) {
                    cairo_move_to(cr, ex - er, ey - er * 1.5 + s * er * 0.3);
                    cairo_line_to(cr, ex + er, ey - er * 1.5 - s * er * 0.3);
                    setColour(cr, dark, p.grey);
                    cairo_set_line_width(cr, 2.5);
                    cairo_stroke(cr);
                }
            }
        }
    }
    // Mouth
    double my = -h * 0.36;
    double mx = w * 0.07;
    cairo_new_sub_path(cr);
    if (p.eyes == EyesHappy)
        cairo_arc(cr, mx, my - 3, w * 0.1, 0.1 * kPi, 0.9 * kPi);
    else if (p.eyes == EyesSad || p.eyes == EyesCross || p.eyes == EyesDizzy)
        cairo_arc(cr, mx, my + 6, w * 0.07, 1.2 * kPi, 1.8 * kPi);
    else
        cairo_arc(cr, mx, my - 2, w * 0.06, 0.2 * kPi, 0.8 * kPi);
    setColour(cr, dark, p.grey);
    cairo_set_line_width(cr, 2.5);
    cairo_stroke(cr);
}

void drawEffect(cairo_t* cr, int route, const Pose& p, double cx, double cy, double top) {
    double t = clampd(p.effectT, 0, 1);
    Rgb c = routeBody[route];
    Rgb l = routeLight[route];
    switch (p.effect) {
        case EffectBurst:
            for (int i = 0; i < 10; ++i) {
                double a = i * 2 * kPi / 10 + 0.3;
                double r0 = 28 + 95 * t;
                double r1 = r0 + 26 * (1 - t) + 6;
                cairo_move_to(cr, cx + r0 * std::cos(a), cy + r0 * std::sin(a));
                cairo_line_to(cr, cx + r1 * std::cos(a), cy + r1 * std::sin(a));
            }
            cairo_set_source_rgba(cr, c.r, c.g, c.b, 1 - 0.8 * t);
            cairo_set_line_width(cr, 7 * (1 - t) + 2);
            cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
            cairo_stroke(cr);
            for (int i = 0; i < 10; ++i) {
                double a = i * 2 * kPi / 10 + 0.3 + kPi / 10;
                double r = 20 + 80 * t;
                star(cr, cx + r * std::cos(a), cy + r * std::sin(a), 9 * (1 - t) + 3, t * 3);
            }
            cairo_set_source_rgba(cr, l.r, l.g, l.b, 1 - 0.7 * t);
            cairo_fill(cr);
            break;
        case EffectConfetti:
            for (int i = 0; i < 14; ++i) {
                double a = i * 2 * kPi / 14 + 0.2 * (i % 3);
                double v = 70 + 18 * (i % 4);
                double x = cx + v * t * std::cos(a);
                double y = cy + v * t * std::sin(a) + 40 * t * t;
                cairo_save(cr);
                cairo_translate(cr, x, y);
                cairo_rotate(cr, a + t * 6 * (i % 2 ? 1 : -1));
                cairo_rectangle(cr, -5, -3, 10, 6);
                cairo_restore(cr);
                const Rgb& col = (i % 3 == 0) ? l : ((i % 3 == 1) ? c : routeDark[route]);
                cairo_set_source_rgba(cr, col.r, col.g, col.b, 1 - 0.6 * t);
                cairo_fill(cr);
            }
            break;
        case EffectRing: {
            for (int k = 0; k < 2; ++k) {
                double r = 24 + (95 - k * 30) * t;
                cairo_new_sub_path(cr);
                cairo_arc(cr, cx, cy, r, 0, 2 * kPi);
                cairo_set_source_rgba(cr, c.r, c.g, c.b, (1 - t) * (k ? 0.6 : 1.0));
                cairo_set_line_width(cr, 9 * (1 - t) + 2);
                cairo_stroke(cr);
            }
            for (int i = 0; i < 6; ++i) {
                double a = i * kPi / 3 + t * 2;
                double r = 30 + 70 * t;
                star(cr, cx + r * std::cos(a), cy + r * std::sin(a), 8 * (1 - t) + 3, 0);
            }
            cairo_set_source_rgba(cr, 1, 0.97, 0.7, 1 - 0.7 * t);
            cairo_fill(cr);
            break;
        }
        case EffectStars:
            for (int i = 0; i < 3; ++i) {
                double a = t * 4 * kPi + i * 2 * kPi / 3;
                star(cr, cx + 26 * std::cos(a), top - 8 + 8 * std::sin(a), 7, a);
            }
            cairo_set_source_rgb(cr, 1.0, 0.85, 0.15);
            cairo_fill_preserve(cr);
            cairo_set_source_rgb(cr, 0.55, 0.4, 0.05);
            cairo_set_line_width(cr, 1.2);
            cairo_stroke(cr);
            break;
        case EffectPuff:
            for (int i = 0; i < 5; ++i) {
                double a = kPi + i * kPi / 4;
                double r = 24 + 26 * t;
                ellipse(cr, r * std::cos(a) * 1.2, -10 + r * std::sin(a) * 0.5, 9 + 10 * t,
                        8 + 8 * t);
                cairo_set_source_rgba(cr, 0.55, 0.55, 0.58, 0.75 * (1 - t));
                cairo_fill(cr);
            }
            break;
        case EffectDust:
            for (int s = -1; s <= 1; s += 2) {
                ellipse(cr, s * (30 + 14 * t), -6, 8 + 5 * t, 5 + 2 * t);
                cairo_set_source_rgba(cr, 0.85, 0.8, 0.7, 0.7 * (1 - t));
                cairo_fill(cr);
            }
            break;
        default:
            break;
    }
}

}  // namespace

void drawPose(cairo_t* cr, int route, const Pose& p) {
    if (!p.visible || p.alpha <= 0.0) return;
    double w = bodyW[route], h = bodyH[route];
    double dir = p.facing ? (routeStep[route][0] > 0 ? 1 : -1) : 1;
    cairo_save(cr);
    cairo_new_path(cr);
    // The outline's width stays above the feet line.
    cairo_translate(cr, 0, -2);
    cairo_push_group(cr);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    // Effects behind the body are drawn in plain board pixels around the body.
    double bodyTop = -h * p.sy * p.scale;
    double cy = bodyTop / 2;
    if (p.effect != EffectNone && p.effect != EffectDust && p.effect != EffectStars)
        drawEffect(cr, route, p, 0, cy, bodyTop);
    cairo_save(cr);
    cairo_rotate(cr, p.tilt);
    cairo_scale(cr, dir * p.sx * p.scale, p.sy * p.scale);
    drawOrnament(cr, route, w, h, p.earsUp, p.grey);
    // Body
    ellipse(cr, 0, -h / 2, w / 2, h / 2);
    setColour(cr, routeBody[route], p.grey);
    cairo_fill_preserve(cr);
    cairo_save(cr);
    cairo_clip(cr);
    ellipse(cr, w * 0.12, -h * 0.22, w * 0.34, h * 0.3);
    setColour(cr, routeLight[route], p.grey);
    cairo_fill(cr);
    ellipse(cr, -w * 0.2, -h * 0.8, w * 0.12, h * 0.07);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.55);
    cairo_fill(cr);
    cairo_restore(cr);
    ellipse(cr, 0, -h / 2, w / 2, h / 2);
    setColour(cr, routeDark[route], p.grey);
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
    // Cheeks
    for (int s = -1; s <= 1; s += 2) {
        ellipse(cr, s * w * 0.3 + w * 0.07, -h * 0.4, w * 0.06, h * 0.035);
        cairo_set_source_rgba(cr, 0.95, 0.35, 0.4, 0.5 * (1 - p.grey));
        cairo_fill(cr);
    }
    drawEyes(cr, route, p, w, h);
    cairo_restore(cr);
    if (p.effect == EffectDust || p.effect == EffectStars) drawEffect(cr, route, p, 0, cy, bodyTop);
    cairo_pop_group_to_source(cr);
    cairo_paint_with_alpha(cr, clampd(p.alpha, 0, 1));
    cairo_restore(cr);
}

InkBox poseInk(int route, const Pose& pose) {
    InkBox box = {0, 0, 0, 0};
    if (!pose.visible || pose.alpha <= 0.0) return box;
    // Drawn once into a scratch picture around the feet; the box is that of every pixel
    // that received any ink.
    const int w = 560, h = 460, fx = 280, fy = 330;
    cairo_surface_t* img = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    cairo_t* cr = cairo_create(img);
    cairo_translate(cr, fx, fy);
    drawPose(cr, route, pose);
    cairo_destroy(cr);
    cairo_surface_flush(img);
    const unsigned char* data = cairo_image_surface_get_data(img);
    int stride = cairo_image_surface_get_stride(img);
    int x0 = w, y0 = h, x1 = -1, y1 = -1;
    for (int y = 0; y < h; ++y) {
        const uint32_t* row = reinterpret_cast<const uint32_t*>(data + y * stride);
        for (int x = 0; x < w; ++x) {
            if ((row[x] >> 24) == 0) continue;
            if (x < x0) x0 = x;
            if (x > x1) x1 = x;
            if (y < y0) y0 = y;
            if (y > y1) y1 = y;
        }
    }
    cairo_surface_destroy(img);
    if (x1 < 0) return box;
    box.x0 = x0 - fx;
    box.y0 = y0 - fy;
    box.w = x1 - x0 + 1;
    box.h = y1 - y0 + 1;
    return box;
}
