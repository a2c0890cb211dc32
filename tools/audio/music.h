#pragma once

// The composing side of the sound pack: songs are written as chord progressions, one-bar
// patterns and tunes; each route part grows through seven stages, from sparse to full, and the
// layer files of a route are chosen stages of its part.

#include "tools/audio/render.h"

namespace mirevo_audio {

enum Quality { Maj, Min, Dom7, Maj7, Min7, Sus4 };

// Chord of one bar; root in semitones above the key's tonic.
struct Chord {
    int root;
    Quality quality;
};

// One instrument repeating a one-bar pattern over the chords, heard from `firstStage` to
// `lastStage`. Pattern steps are sixteenth notes:
//   .  rest            -  hold the previous note
//   C  whole chord     c  chord without its lowest note      1-4  chord tone, low to high
//   R  root near the centre   O / L  root an octave up / down   F  fifth   T  third
//   S  seventh (octave on a triad)   A  semitone below the next bar's root
//   x  hit (drum lines: drumKey; pitched lines: root)   X  accented hit   g  ghost hit
struct Line {
    int firstStage;
    int lastStage;
    Instrument instrument;
    int centre;
    int velocity;
    int drumKey;  // -1 on pitched lines
    double gate;  // part of each note's length actually held
    const char* pattern;
    const char* firstBar;  // first bar of the loop, nullptr: as pattern
    const char* lastBar;   // last bar of the loop, nullptr: as pattern
};

// A tune with the instruments of its stages: 1 the lead's skeleton notes held long, 2 the tune
// without its ornaments, 3 the whole tune with bells an octave above the skeleton, 4 a harmony
// voice below, 5 an echo, 6 a low pad under the skeleton, 7 louder, bells on every main note.
// Tune tokens: [!|~](1-7|r)[#|b]['|,]*/steps  (! skeleton, ~ ornament, ' octave up, , down).
struct Melody {
    const char* tune;
    Instrument lead;
    Instrument harmony;
    Instrument sparkle;
    Instrument echo;
    Instrument pad;
    int echoSteps;
};

struct Part {
    const Line* lines;  // a pattern part...
    int lineCount;
    const Melody* melody;  // ...or a tune
};

// A stretch of the final music: bars of the loop with the stage of each route (0 silent;
// 8 and 9 play the song's first and second special part).
struct Section {
    int firstBar;
    int bars;
    int stages[4];
};

struct Song {
    int tonic;  // MIDI note of the key's tonic in the tune's register
    bool minor;
    int beatsPerBar;
    int barsPerLoop;
    const Chord* chords;  // one per bar of the loop
    Part parts[4];
    // Loudness of each route's fullest layer, dB relative to the others.
    double balance[4];
    Part specials[2];
    int specialStages[2];
    const Section* sections;  // arrangement of the final music
    int sectionCount;
};

// Stage 1..7 of the k-th (1-based) of `count` layer files.
int stageOfLayer(int k, int count);

// Adds bars [firstBar, firstBar + bars) of the loop of `part` at `stage`, starting at `start`
// seconds with the given beat length. Returns false on a malformed tune or pattern.
bool addPart(Score& score, const Song& song, const Part& part, int stage, double start, double beat,
             int firstBar, int bars);

// Number of bars in an arrangement.
int sectionBars(const Song& song);

// Adds the whole final music of `song`, one route, with the given beat length.
bool addArrangement(Score& score, const Song& song, int route, double beat);

}  // namespace mirevo_audio
