#include "tools/audio/repertoire.h"

namespace mirevo_audio {

namespace {

// Instrument: bank, program, volume, pan, reverb, chorus.
constexpr Instrument kElectroKit{128, 24, 100, 64, 30, 0};
constexpr Instrument kStandardKit{128, 0, 100, 64, 35, 0};
constexpr Instrument kDiscoKit{128, 0, 104, 64, 30, 0};
constexpr Instrument kOrchestraKit{128, 48, 90, 70, 70, 0};
constexpr Instrument kBrushKit{128, 40, 80, 64, 50, 0};

// ---------------------------------------------------------------------------------------------
// Song 0: E minor, electro-pop, four bars: Em C G D.

const Chord kChords0[4] = {{0, Min}, {8, Maj}, {3, Maj}, {10, Maj}};

const Line kDrums0[] = {
    {1, 2, kElectroKit, 0, 100, 36, 1.0, "x.......x.......", nullptr, nullptr},
    {3, 5, kElectroKit, 0, 100, 36, 1.0, "x...x...x...x...", nullptr, nullptr},
    {6, 7, kElectroKit, 0, 100, 36, 1.0, "x...x...x...x.x.", nullptr, "x...x...x.x.x..."},
    {2, 3, kElectroKit, 0, 66, 42, 1.0, "..x...x...x...x.", nullptr, nullptr},
    {4, 4, kElectroKit, 0, 70, 42, 1.0, "xgxgxgxgxgxgxgxg", nullptr, nullptr},
    {5, 7, kElectroKit, 0, 68, 42, 1.0, "xg.gxg.gxg.gxg.g", nullptr, nullptr},
    {5, 7, kElectroKit, 0, 64, 46, 1.0, "..x...x...x...x.", nullptr, nullptr},
    {3, 7, kElectroKit, 0, 92, 39, 1.0, "....x.......x...", nullptr, nullptr},
    {5, 7, kElectroKit, 0, 70, 38, 1.0, "....x.......x...", nullptr, nullptr},
    {6, 7, kElectroKit, 0, 60, 38, 1.0, ".......g.g....g.", nullptr, ".......g.g..xxXX"},
    {6, 7, kElectroKit, 0, 80, 50, 1.0, "................", nullptr, "........x......."},
    {6, 7, kElectroKit, 0, 80, 47, 1.0, "................", nullptr, "..........x....."},
    {6, 7, kElectroKit, 0, 84, 45, 1.0, "................", nullptr, "...........x...."},
    {7, 7, kElectroKit, 0, 82, 49, 1.0, "................", "x...............", nullptr},
};

constexpr Instrument kSynthBass{0, 38, 100, 64, 10, 0};
constexpr Instrument kSynthBassHigh{0, 39, 66, 64, 20, 20};

const Line kBass0[] = {
    {1, 1, kSynthBass, 40, 96, -1, 0.96, "R---------------", nullptr, nullptr},
    {2, 2, kSynthBass, 40, 96, -1, 0.9, "R-------R-------", nullptr, nullptr},
    {3, 3, kSynthBass, 40, 96, -1, 0.85, "R---R---R---R---", nullptr, nullptr},
    {4, 4, kSynthBass, 40, 96, -1, 0.8, "R.R.R.R.R.R.R.R.", nullptr, nullptr},
    {5, 5, kSynthBass, 40, 96, -1, 0.8, "R.R.O.R.R.R.O.R.", nullptr, nullptr},
    {6, 7, kSynthBass, 40, 98, -1, 0.75, "R.RRO.R.R.RRO.RA", nullptr, nullptr},
    {7, 7, kSynthBassHigh, 52, 84, -1, 0.6, "R...R...R...R.R.", nullptr, nullptr},
};

constexpr Instrument kWarmPad{0, 89, 92, 64, 70, 50};
constexpr Instrument kPluckKeys{0, 5, 90, 56, 50, 40};
constexpr Instrument kSquareArp{0, 80, 62, 78, 60, 30};
constexpr Instrument kSynthStrings{0, 50, 74, 50, 80, 40};
constexpr Instrument kCelestaHigh{0, 8, 80, 90, 90, 0};

const Line kHarmony0[] = {
    {1, 7, kWarmPad, 64, 76, -1, 1.0, "C---------------", nullptr, nullptr},
    {2, 2, kPluckKeys, 67, 82, -1, 0.5, "C.......C.......", nullptr, nullptr},
    {3, 7, kPluckKeys, 67, 80, -1, 0.3, "..C...C...C...C.", nullptr, nullptr},
    {4, 4, kSquareArp, 72, 66, -1, 0.7, "1.2.3.4.1.2.3.4.", nullptr, nullptr},
    {5, 7, kSquareArp, 72, 62, -1, 0.7, "1234123412341234", nullptr, nullptr},
    {6, 7, kSynthStrings, 76, 64, -1, 1.0, "C---------------", nullptr, nullptr},
    {7, 7, kCelestaHigh, 84, 70, -1, 0.8, "3...........2...", nullptr, nullptr},
};

const Melody kLead0 = {
    "!5/3 5/3 3/2 5/2 ~6/2 5/4 "
    "!3/3 3/3 1/2 3/2 ~4/2 3/4 "
    "!2/3 2/3 7,/2 2/2 ~3/2 2/4 "
    "!2/4 1/2 7,/2 2/4 ~4/4",
    {0, 81, 92, 64, 50, 40},   // lead: saw
    {0, 80, 74, 44, 50, 30},   // harmony: square
    {0, 9, 62, 86, 70, 0},     // bells: glockenspiel
    {0, 81, 60, 104, 80, 40},  // echo
    {0, 90, 70, 64, 80, 50},   // pad: polysynth
    3,
};

const Section kFinal0[] = {
    {0, 4, {0, 0, 1, 0}}, {0, 4, {1, 0, 2, 0}}, {0, 4, {2, 1, 2, 1}}, {0, 4, {3, 2, 3, 2}},
    {0, 4, {4, 3, 4, 3}}, {0, 4, {4, 4, 4, 4}}, {0, 4, {5, 5, 5, 5}}, {0, 4, {6, 6, 6, 6}},
    {0, 4, {7, 7, 7, 7}}, {0, 4, {7, 7, 7, 7}}, {0, 4, {2, 3, 6, 0}}, {0, 4, {3, 4, 6, 4}},
    {0, 4, {6, 6, 6, 6}}, {0, 4, {7, 7, 7, 7}}, {0, 4, {4, 4, 4, 3}}, {0, 4, {0, 1, 2, 1}},
};

// ---------------------------------------------------------------------------------------------
// Song 1: A major island tune, eight bars: A E F#m D A E D E.

const Chord kChords1[8] = {{0, Maj}, {7, Maj}, {9, Min}, {5, Maj},
                           {0, Maj}, {7, Maj}, {5, Maj}, {7, Maj}};

const Melody kLead1 = {
    "!3/3 3/3 2/2 3/2 5/2 ~6/2 5/2 "
    "!2/3 2/3 1/2 7,/2 ~1/2 2/4 "
    "!3/3 3/3 2/2 3/2 6/2 ~5/2 3/2 "
    "!4/6 3/2 !2/8 "
    "!5/3 5/3 3/2 5/2 1'/2 ~7/2 6/2 "
    "!5/4 ~4/2 3/2 !2/8 "
    "!4/3 4/3 3/2 4/2 6/2 ~5/2 4/2 "
    "!2/6 3/2 ~2/2 7,/2 !5,/4",
    {0, 114, 100, 64, 45, 0},  // lead: steel drums
    {0, 114, 76, 40, 45, 0},   // harmony
    {0, 9, 58, 90, 60, 0},     // bells: glockenspiel
    {0, 12, 72, 100, 60, 0},   // echo: marimba
    {0, 75, 66, 64, 70, 20},   // pad: pan flute
    2,
};

constexpr Instrument kNylon{0, 24, 96, 50, 40, 20};
constexpr Instrument kMarimba{0, 12, 88, 80, 40, 0};
constexpr Instrument kSkankOrgan{0, 16, 56, 40, 40, 30};
constexpr Instrument kStrings1{0, 48, 66, 64, 80, 30};

const Line kHarmony1[] = {
    {1, 1, kNylon, 62, 74, -1, 1.0, "C-------C-------", nullptr, nullptr},
    {2, 7, kNylon, 62, 78, -1, 0.6, "C..C..C.C..C..C.", nullptr, nullptr},
    {3, 5, kMarimba, 72, 72, -1, 0.9, "1.2.3.2.1.2.3.2.", nullptr, nullptr},
    {6, 7, kMarimba, 72, 68, -1, 0.9, "1232123212321232", nullptr, nullptr},
    {6, 7, kSkankOrgan, 64, 70, -1, 0.4, "..c...c...c...c.", nullptr, nullptr},
    {7, 7, kStrings1, 67, 58, -1, 1.0, "C---------------", nullptr, nullptr},
};

constexpr Instrument kFingerBass{0, 33, 104, 64, 15, 0};
constexpr Instrument kTuba{0, 58, 70, 70, 30, 0};

const Line kBass1[] = {
    {1, 1, kFingerBass, 45, 96, -1, 0.95, "R---------------", nullptr, nullptr},
    {2, 3, kFingerBass, 45, 96, -1, 0.9, "R-------F-------", nullptr, nullptr},
    {4, 5, kFingerBass, 45, 98, -1, 0.8, "R..F..R.R..F..R.", nullptr, nullptr},
    {6, 7, kFingerBass, 45, 100, -1, 0.75, "R..F..O.R..F..OA", nullptr, nullptr},
    {7, 7, kTuba, 45, 80, -1, 0.7, "R.......F.......", nullptr, nullptr},
};

const Line kPercussion1[] = {
    {1, 3, kStandardKit, 0, 76, 70, 1.0, "x.x.x.x.x.x.x.x.", nullptr, nullptr},
    {1, 3, kStandardKit, 0, 84, 64, 1.0, "x.......x.......", nullptr, nullptr},
    {4, 7, kStandardKit, 0, 64, 70, 1.0, "xgxgxgxgxgxgxgxg", nullptr, nullptr},
    {2, 3, kStandardKit, 0, 96, 36, 1.0, "x.......x.......", nullptr, nullptr},
    {4, 7, kStandardKit, 0, 96, 36, 1.0, "x...x...x...x...", nullptr, nullptr},
    {2, 7, kStandardKit, 0, 72, 75, 1.0, "x..x..x...x.x...", nullptr, nullptr},
    {4, 7, kStandardKit, 0, 74, 63, 1.0, "..x...x....x..x.", nullptr, nullptr},
    {4, 7, kStandardKit, 0, 78, 64, 1.0, "x......x.x......", nullptr, nullptr},
    {4, 7, kStandardKit, 0, 60, 62, 1.0, ".x...x.....x....", nullptr, nullptr},
    {6, 7, kStandardKit, 0, 76, 37, 1.0, "....x.......x...", nullptr, nullptr},
    {6, 7, kStandardKit, 0, 62, 60, 1.0, "..x.x...x.x.x.x.", nullptr, nullptr},
    {6, 7, kStandardKit, 0, 84, 65, 1.0, "................", nullptr, "........x.x.xxxx"},
    {6, 7, kStandardKit, 0, 84, 66, 1.0, "................", nullptr, ".........x.x...."},
    {7, 7, kStandardKit, 0, 50, 56, 1.0, "x...x...x...x...", nullptr, nullptr},
    {7, 7, kStandardKit, 0, 76, 49, 1.0, "................", "x...............", nullptr},
};

const Section kFinal1[] = {
    {0, 8, {0, 1, 0, 1}}, {0, 8, {1, 2, 1, 2}}, {0, 8, {2, 4, 2, 4}},
    {0, 8, {4, 4, 4, 4}}, {0, 8, {6, 6, 6, 6}}, {0, 8, {7, 7, 7, 7}},
    {0, 8, {0, 2, 4, 2}}, {0, 8, {7, 7, 7, 7}}, {0, 8, {1, 1, 1, 1}},
};

// ---------------------------------------------------------------------------------------------
// Song 2: F minor disco, eight bars: Fm7 Dbmaj7 Bbm7 C7 (twice). Route 0 is a saxophone that
// the game plays every other loop; its specials are a solo and a brass break.

const Chord kChords2[8] = {{0, Min7}, {8, Maj7}, {5, Min7}, {7, Dom7},
                           {0, Min7}, {8, Maj7}, {5, Min7}, {7, Dom7}};

constexpr Instrument kAltoSax{0, 65, 100, 64, 50, 10};
constexpr Instrument kTenorSax{0, 66, 80, 44, 50, 10};
constexpr Instrument kVibes{0, 11, 66, 86, 60, 0};
constexpr Instrument kSaxEcho{0, 65, 66, 100, 80, 10};
constexpr Instrument kStringPad{0, 48, 66, 64, 80, 30};

const Melody kLead2 = {
    "r/2 !5/2 ~6/1 5/1 3/2 1/4 r/4 "
    "r/2 !6/2 5/2 3/2 ~4/2 3/6 "
    "r/2 !4/2 ~5/1 4/1 3/2 1/2 3/2 4/4 "
    "!5/4 4/2 7#,/2 !2/8 "
    "r/2 !5/2 ~6/1 5/1 3/2 5/2 1'/2 7/4 "
    "!6/6 5/2 ~6/2 5/2 3/4 "
    "r/2 !4/2 3/2 1/2 ~3/2 4/2 6/4 "
    "!5/6 4/2 2/4 7#,/4",
    kAltoSax,
    kTenorSax,
    kVibes,
    kSaxEcho,
    kStringPad,
    3,
};

const Melody kSolo2 = {
    "!1'/2 7/1 5/1 4/1 3/1 4/2 5/2 ~6/1 5/1 3/2 1/2 "
    "r/2 !6/2 1'/2 3'/2 2'/2 1'/2 6/4 "
    "!4/1 5/1 6/1 1'/1 2'/2 1'/2 6/2 5/2 4/4 "
    "!7#/2 2'/2 4'/2 2'/2 7#/2 5/2 4/2 2/2 "
    "!5'/4 4'/2 3'/2 1'/2 7/2 5/4 "
    "!6/1 1'/1 3'/1 5'/1 6'/4 5'/2 3'/2 1'/4 "
    "!4'/2 3'/1 2'/1 1'/2 7/2 6/2 4/2 3/2 1/2 "
    "!2/2 7#,/2 2/2 4/2 5/2 7#/2 !1'/4",
    kAltoSax,
    kTenorSax,
    kVibes,
    kSaxEcho,
    kStringPad,
    3,
};

constexpr Instrument kBrass{0, 61, 100, 64, 50, 0};
constexpr Instrument kTrombone{0, 57, 86, 54, 40, 0};

const Line kBreak2[] = {
    {1, 7, kBrass, 67, 104, -1, 0.35, "C..C..C...C.C...", nullptr, "C.C.C.C.C-------"},
    {1, 7, kTrombone, 48, 96, -1, 0.35, "R..R..R...R.R...", nullptr, "R.R.R.R.R-------"},
};

const Line kDrums2[] = {
    {1, 5, kDiscoKit, 0, 100, 36, 1.0, "x...x...x...x...", nullptr, nullptr},
    {6, 7, kDiscoKit, 0, 100, 36, 1.0, "x...x...x...x...", nullptr, "x...x...x...x.x."},
    {2, 7, kDiscoKit, 0, 70, 46, 1.0, "..x...x...x...x.", nullptr, nullptr},
    {3, 7, kDiscoKit, 0, 92, 39, 1.0, "....x.......x...", nullptr, nullptr},
    {4, 7, kDiscoKit, 0, 64, 42, 1.0, "xg.gxg.gxg.gxg.g", nullptr, nullptr},
    {5, 7, kDiscoKit, 0, 52, 70, 1.0, "gxgxgxgxgxgxgxgx", nullptr, nullptr},
    {6, 7, kDiscoKit, 0, 66, 63, 1.0, "...x..x....x..x.", nullptr, nullptr},
    {6, 7, kDiscoKit, 0, 70, 64, 1.0, "x.....x.x.......", nullptr, nullptr},
    {6, 7, kDiscoKit, 0, 78, 38, 1.0, "................", nullptr, ".........g..x.xX"},
    {7, 7, kDiscoKit, 0, 60, 54, 1.0, "....x.......x...", nullptr, nullptr},
    {7, 7, kDiscoKit, 0, 80, 49, 1.0, "................", "x...............", nullptr},
};

constexpr Instrument kDiscoBass{0, 33, 106, 64, 15, 0};
constexpr Instrument kDiscoBassSynth{0, 38, 62, 64, 20, 10};

const Line kBass2[] = {
    {1, 1, kDiscoBass, 41, 96, -1, 0.95, "R---------------", nullptr, nullptr},
    {2, 3, kDiscoBass, 41, 96, -1, 0.85, "R-------R-------", nullptr, nullptr},
    {4, 5, kDiscoBass, 41, 100, -1, 0.65, "R.O.R.O.R.O.R.O.", nullptr, nullptr},
    {6, 7, kDiscoBass, 41, 104, -1, 0.65, "R.ORR.O.R.ORR.OA", nullptr, nullptr},
    {7, 7, kDiscoBassSynth, 41, 80, -1, 0.4, "O...O...O...O...", nullptr, nullptr},
};

constexpr Instrument kRhodes{0, 4, 96, 60, 50, 30};
constexpr Instrument kClav{0, 7, 60, 84, 40, 0};
constexpr Instrument kVibesArp{0, 11, 60, 40, 70, 0};

const Line kKeys2[] = {
    {1, 1, kRhodes, 63, 76, -1, 1.0, "C---------------", nullptr, nullptr},
    {2, 3, kRhodes, 63, 80, -1, 0.8, "C.....C.....C...", nullptr, nullptr},
    {4, 7, kRhodes, 63, 80, -1, 0.5, "C..C..C...C..C..", nullptr, nullptr},
    {4, 7, kStringPad, 72, 60, -1, 1.0, "C---------------", nullptr, nullptr},
    {6, 7, kClav, 64, 66, -1, 0.4, ".c.c...c.c.c...c", nullptr, nullptr},
    {7, 7, kVibesArp, 76, 58, -1, 0.8, "1.3.2.4.1.3.2.4.", nullptr, nullptr},
};

const Section kFinal2[] = {
    {0, 8, {0, 0, 0, 1}}, {0, 8, {0, 1, 1, 2}}, {0, 8, {1, 3, 2, 3}},
    {0, 8, {3, 4, 4, 4}}, {0, 8, {5, 5, 5, 5}}, {0, 8, {8, 6, 6, 6}},
    {0, 8, {9, 7, 7, 7}}, {0, 8, {7, 7, 7, 7}}, {0, 8, {3, 2, 1, 1}},
};

// ---------------------------------------------------------------------------------------------
// Song 3: D major waltz in 3/4, twenty bars.

const Chord kChords3[20] = {
    {0, Maj}, {0, Maj}, {9, Min}, {9, Min}, {5, Maj}, {5, Maj},  {7, Maj},
    {7, Maj}, {0, Maj}, {0, Maj}, {4, Min}, {4, Min}, {2, Min},  {2, Min},
    {5, Maj}, {7, Maj}, {9, Min}, {5, Maj}, {7, Maj}, {7, Dom7},
};

constexpr Instrument kStrings3{0, 48, 84, 64, 80, 20};
constexpr Instrument kPizz{0, 45, 96, 44, 60, 0};
constexpr Instrument kHorn{0, 60, 70, 76, 80, 0};
constexpr Instrument kViolins{0, 49, 70, 84, 90, 20};

const Line kStringsPart3[] = {
    {1, 7, kStrings3, 62, 74, -1, 1.0, "C-----------", nullptr, nullptr},
    {2, 5, kPizz, 62, 82, -1, 0.5, "....C...C...", nullptr, nullptr},
    {6, 7, kPizz, 62, 80, -1, 0.5, "....C.C.C...", nullptr, nullptr},
    {4, 7, kHorn, 57, 64, -1, 1.0, "C-----------", nullptr, nullptr},
    {7, 7, kViolins, 79, 62, -1, 1.0, "4-----------", nullptr, nullptr},
};

constexpr Instrument kContrabass{0, 43, 96, 64, 50, 0};
constexpr Instrument kPizzBass{0, 45, 100, 64, 40, 0};
constexpr Instrument kBassoon{0, 70, 76, 56, 50, 0};

const Line kBass3[] = {
    {1, 1, kContrabass, 38, 86, -1, 1.0, "R-----------", nullptr, nullptr},
    {2, 3, kContrabass, 38, 88, -1, 0.95, "R-------F---", nullptr, nullptr},
    {4, 7, kContrabass, 38, 70, -1, 1.0, "R-----------", nullptr, nullptr},
    {4, 5, kPizzBass, 38, 96, -1, 0.6, "R...F...F...", nullptr, nullptr},
    {6, 7, kPizzBass, 38, 98, -1, 0.6, "R...F...T...", nullptr, "R...F...A..."},
    {7, 7, kBassoon, 50, 72, -1, 0.9, "R-------....", nullptr, nullptr},
};

constexpr Instrument kHarp{0, 46, 100, 60, 70, 0};
constexpr Instrument kCelesta{0, 8, 74, 90, 80, 0};
constexpr Instrument kGlock{0, 9, 60, 36, 80, 0};

const Line kHarp3[] = {
    {1, 1, kHarp, 67, 76, -1, 1.0, "1...2...3...", nullptr, nullptr},
    {2, 3, kHarp, 67, 78, -1, 1.0, "1.2.3.2.3.2.", nullptr, nullptr},
    {4, 5, kHarp, 67, 78, -1, 1.0, "1.2.3.4.3.2.", nullptr, nullptr},
    {6, 7, kHarp, 67, 76, -1, 1.0, "123432123432", nullptr, nullptr},
    {4, 7, kCelesta, 84, 62, -1, 0.8, "....2...3...", nullptr, nullptr},
    {7, 7, kGlock, 86, 56, -1, 0.8, "1...........", nullptr, nullptr},
    {7, 7, kOrchestraKit, 0, 62, 81, 1.0, "x...........", "X...........", nullptr},
};

const Melody kLead3 = {
    "!3/8 2/2 1/2 "
    "!5,/4 1/4 3/4 "
    "!5/8 4/2 3/2 "
    "!3/8 ~4/2 3/2 "
    "!2/8 1/2 7,/2 "
    "!6,/4 7,/4 1/4 "
    "!2/8 3/2 4/2 "
    "!5/12 "
    "!3'/8 2'/2 1'/2 "
    "!5/4 1'/4 3'/4 "
    "!7/8 6/2 5/2 "
    "!3/12 "
    "!6/8 4/2 2/2 "
    "!4/4 2/4 6,/4 "
    "!1/4 2/4 4/4 "
    "!5/4 4/4 2/4 "
    "!6/8 1'/2 6/2 "
    "!4/8 6/2 4/2 "
    "!2/4 3/4 ~4/2 2/2 "
    "!7,/4 ~2/4 5,/4",
    {0, 73, 100, 64, 60, 0},  // lead: flute
    {0, 71, 78, 44, 60, 0},   // harmony: clarinet
    {0, 11, 56, 88, 70, 0},   // bells: vibraphone
    {0, 68, 62, 96, 80, 0},   // echo: oboe
    {0, 52, 62, 64, 90, 20},  // pad: choir
    4,
};

// Halves of the twenty-bar loop; the last half ends on the tonic, back into the opening.
const Section kFinal3[] = {
    {0, 10, {1, 0, 1, 0}},  {10, 10, {2, 1, 2, 1}}, {0, 10, {2, 2, 4, 2}},
    {10, 10, {4, 4, 4, 3}}, {0, 10, {6, 6, 6, 5}},  {10, 10, {7, 7, 6, 6}},
    {0, 10, {7, 7, 7, 7}},  {10, 10, {6, 6, 7, 7}}, {0, 10, {1, 1, 1, 2}},
};

// ---------------------------------------------------------------------------------------------
// Menu: C major, eight slow bars.

const Chord kMenuChords[8] = {{0, Maj7}, {9, Min7}, {5, Maj7}, {7, Maj},
                              {0, Maj7}, {4, Min7}, {5, Maj7}, {7, Sus4}};

const Line kMenuPad[] = {
    {1, 7, {0, 89, 88, 64, 80, 50}, 60, 70, -1, 1.0, "C---------------", nullptr, nullptr},
    {2, 7, {0, 4, 84, 56, 70, 30}, 64, 64, -1, 0.9, "C-------c-------", nullptr, nullptr},
    {5, 7, {0, 48, 62, 72, 90, 30}, 72, 52, -1, 1.0, "C---------------", nullptr, nullptr},
};

const Line kMenuBass[] = {
    {1, 7, {0, 32, 96, 64, 40, 0}, 40, 80, -1, 0.9, "R-------R-----F-", nullptr, nullptr},
};

const Line kMenuDrums[] = {
    {1, 7, kBrushKit, 0, 66, 36, 1.0, "x.......x..x....", nullptr, nullptr},
    {1, 7, kBrushKit, 0, 50, 51, 1.0, "x...x.xxx...x.xx", nullptr, nullptr},
    {1, 7, kBrushKit, 0, 56, 38, 1.0, "....x.......x...", nullptr, nullptr},
};

const Melody kMenuTune = {
    "!5/8 3/4 2/4 "
    "!1/12 r/4 "
    "!6/8 5/4 3/4 "
    "!2/12 r/4 "
    "!5/8 1'/4 7/4 "
    "!5/12 r/4 "
    "!6/4 5/4 3/4 2/4 "
    "!1/8 2/8",
    {0, 11, 92, 64, 80, 0},   // lead: vibraphone
    {0, 4, 70, 44, 80, 20},   // harmony: electric piano
    {0, 8, 58, 88, 90, 0},    // bells: celesta
    {0, 11, 58, 100, 90, 0},  // echo
    {0, 52, 56, 64, 90, 20},  // pad: choir
    6,
};

}  // namespace

const Song kSongs[4] = {
    {64,
     true,
     4,
     4,
     kChords0,
     {{kDrums0, int(sizeof kDrums0 / sizeof kDrums0[0]), nullptr},
      {kBass0, int(sizeof kBass0 / sizeof kBass0[0]), nullptr},
      {kHarmony0, int(sizeof kHarmony0 / sizeof kHarmony0[0]), nullptr},
      {nullptr, 0, &kLead0}},
     {-2, -1, -4, -3},
     {{nullptr, 0, nullptr}, {nullptr, 0, nullptr}},
     {0, 0},
     kFinal0,
     int(sizeof kFinal0 / sizeof kFinal0[0])},
    {69,
     false,
     4,
     8,
     kChords1,
     {{nullptr, 0, &kLead1},
      {kHarmony1, int(sizeof kHarmony1 / sizeof kHarmony1[0]), nullptr},
      {kBass1, int(sizeof kBass1 / sizeof kBass1[0]), nullptr},
      {kPercussion1, int(sizeof kPercussion1 / sizeof kPercussion1[0]), nullptr}},
     {-3, -4, -1, -2},
     {{nullptr, 0, nullptr}, {nullptr, 0, nullptr}},
     {0, 0},
     kFinal1,
     int(sizeof kFinal1 / sizeof kFinal1[0])},
    {65,
     true,
     4,
     8,
     kChords2,
     {{nullptr, 0, &kLead2},
      {kDrums2, int(sizeof kDrums2 / sizeof kDrums2[0]), nullptr},
      {kBass2, int(sizeof kBass2 / sizeof kBass2[0]), nullptr},
      {kKeys2, int(sizeof kKeys2 / sizeof kKeys2[0]), nullptr}},
     {-3, -2, -1, -4},
     {{nullptr, 0, &kSolo2}, {kBreak2, int(sizeof kBreak2 / sizeof kBreak2[0]), nullptr}},
     {4, 7},
     kFinal2,
     int(sizeof kFinal2 / sizeof kFinal2[0])},
    {74,
     false,
     3,
     20,
     kChords3,
     {{kStringsPart3, int(sizeof kStringsPart3 / sizeof kStringsPart3[0]), nullptr},
      {kBass3, int(sizeof kBass3 / sizeof kBass3[0]), nullptr},
      {kHarp3, int(sizeof kHarp3 / sizeof kHarp3[0]), nullptr},
      {nullptr, 0, &kLead3}},
     {-3, -2, -3, -2},
     {{nullptr, 0, nullptr}, {nullptr, 0, nullptr}},
     {0, 0},
     kFinal3,
     int(sizeof kFinal3 / sizeof kFinal3[0])},
};

const Song kMenuSong = {
    72,
    false,
    4,
    8,
    kMenuChords,
    {{kMenuPad, int(sizeof kMenuPad / sizeof kMenuPad[0]), nullptr},
     {kMenuBass, int(sizeof kMenuBass / sizeof kMenuBass[0]), nullptr},
     {kMenuDrums, int(sizeof kMenuDrums / sizeof kMenuDrums[0]), nullptr},
     {nullptr, 0, &kMenuTune}},
    {0, 0, 0, 0},
    {{nullptr, 0, nullptr}, {nullptr, 0, nullptr}},
    {0, 0},
    nullptr,
    0,
};
const double kMenuBeat = 0.75;
const int kMenuCalmStages[4] = {2, 0, 0, 2};
const int kMenuFullStages[4] = {6, 4, 4, 5};

const Drone kDrones[4] = {
    {76, true, {0, 95, 100, 64, 90, 60}, {0, 94, 80, 64, 100, 60}, {0, 11, 62, 84, 110, 0}},
    {69, false, {0, 88, 96, 64, 90, 60}, {0, 89, 80, 64, 100, 60}, {0, 114, 56, 80, 110, 0}},
    {77, true, {0, 91, 96, 64, 90, 60}, {0, 90, 76, 64, 100, 60}, {0, 4, 66, 84, 110, 20}},
    {74, false, {0, 48, 96, 64, 90, 30}, {0, 49, 78, 64, 100, 30}, {0, 46, 74, 84, 110, 0}},
};
const double kDroneSeconds = 24.0;

const Touch kTouches[4] = {
    {{0, 5, 110, 64, 40, 20}, {76, 79, 83, 88}},
    {{0, 114, 110, 64, 40, 0}, {69, 73, 76, 81}},
    {{0, 11, 110, 64, 40, 0}, {77, 80, 84, 89}},
    {{0, 8, 110, 64, 40, 0}, {74, 78, 81, 86}},
};

}  // namespace mirevo_audio
