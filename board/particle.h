#pragma once

#include <SFML/Graphics/Sprite.hpp>
#include <SFML/Graphics/Texture.hpp>
#include <vector>

// Route geometry in reference pixels: the hop of a particle after stages 0 and 1, the
// point of its last regular stage, and its catch point where the landing plays.
extern const float particleStep[4][2];
extern const float lastRegularPoint[4][2];
extern const float catchPoint[4][2];
// Landing animation of a particle that nobody catches, by route.
extern const int defaultLanding[4];

// One animated creature hopping along a route towards its catch point: three regular
// animations of 19 frames, a hop after each of the first two, then a landing animation.
class Particle {
public:
    Particle(int route, int a1, int a2, int a3);
    virtual ~Particle() = default;

    // Optional tricks, armed right after construction; n > 0 is a difficulty figure.
    void armRewind(int n);
    void armBlink(int n);

    // Landing animation 0..6 for a catch made now, or -1 when it cannot be caught now.
    // A catch in the last five frames of stage 2 moves `frame` to -5..-1.
    // A press counted as made `ago` seconds of the particle's time before now is judged by
    // where the particle stood then.
    int judgeCatch(float ago = 0.0f);
    // Frame ticks that came within the last `ago` seconds of the particle's time.
    int ticksWithin(float ago) const;
    // How late a catch judged `ago` seconds of the particle's time before now is against its
    // ideal moment, the middle of the good window (landing frames 1 to 6), in ms of the
    // particle's own time (positive: late). Read after judgeCatch, which puts a catch made in
    // stage 2 on the landing's timeline.
    float catchLatenessMs(float ago = 0.0f) const;

    // Per-frame step: one frame tick each time frameTimer passes 1/12 s (at most one per call).
    void update(float dt);
    // Sprite position, rectangle, colour and texture for the current frame.
    void updateDrawState();
    // Moves the anchor to the route's catch point.
    void moveToCatchPoint();
    // Anchor, hop and sprite again for the shared board scale and offset, as they would
    // be had the particle been launched at them.
    void relayout();

    // Verdict of a landing animation: 1 good, -1 early, -2 late.
    static int verdictOf(int route, int landing);
    // Landing animation for a catch made at this frame of the landing timeline.
    static int landingForFrame(int route, int frame);

    float frameTimer = 0.0f;
    float stepX = 0.0f;
    float stepY = 0.0f;
    float posX = 0.0f;
    float posY = 0.0f;
    bool finished = false;
    int judgement = 0;
    bool rewindPending = false;
    bool blinkPending = false;
    int rewindFrame = 0;
    int blinkFrame = 0;
    int rewindStage = 0;
    int blinkStage = 0;
    int blinkLength = 0;
    int blinkDepth = 0;
    bool judged = false;
    int rewindCounter = 0;
    int blinkCounter = 0;
    int frame = 0;
    int frameCount = 0;
    int stage = 0;
    int anim = 0;
    int anims[3] = {0, 0, 0};
    int route = 0;
    // Seconds of the particle's time since it finished uncaught (its route keeps it that
    // long within reach of a press counted as made earlier).
    float finishedFor = 0.0f;
    sf::Sprite sprite;

    // Shared by every particle, set once at start-up by setupParticleResources: the atlas
    // loaded at start-up (not owned), null until then. Per route: the regular animation
    // pictures followed by the 7 landing pictures.
    static const std::vector<std::vector<sf::Texture>>* atlasTextures;
    static float boardScale;
    static float windowWidth;
    static float menuTopOffset;
    static float frameRectScale;

private:
    void frameTick();
    const sf::Texture* textureFor(int animation, bool landing) const;
};
