#include "tools/audio/music.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace mirevo_audio {

namespace {

constexpr int kStepsPerBeat = 4;

const int kMajorScale[7] = {0, 2, 4, 5, 7, 9, 11};
const int kMinorScale[7] = {0, 2, 3, 5, 7, 8, 10};

// Which stages of the seven a route with `count` layers plays, by count 1..7.
const int kLayerStages[7][7] = {
    {7, 0, 0, 0, 0, 0, 0}, {1, 7, 0, 0, 0, 0, 0}, {1, 4, 7, 0, 0, 0, 0}, {1, 3, 5, 7, 0, 0, 0},
    {1, 2, 4, 6, 7, 0, 0}, {1, 2, 3, 5, 6, 7, 0}, {1, 2, 3, 4, 5, 6, 7},
};

int chordTones(Quality q, int* tones) {
    switch (q) {
        case Maj:
            tones[0] = 0, tones[1] = 4, tones[2] = 7;
            return 3;
        case Min:
            tones[0] = 0, tones[1] = 3, tones[2] = 7;
            return 3;
        case Dom7:
            tones[0] = 0, tones[1] = 4, tones[2] = 7, tones[3] = 10;
            return 4;
        case Maj7:
            tones[0] = 0, tones[1] = 4, tones[2] = 7, tones[3] = 11;
            return 4;
        case Min7:
            tones[0] = 0, tones[1] = 3, tones[2] = 7, tones[3] = 10;
            return 4;
        case Sus4:
            tones[0] = 0, tones[1] = 5, tones[2] = 7;
            return 3;
    }
    return 0;
}

// The MIDI note of pitch class `pc` closest to `centre` (the lower one on a tie).
int nearest(int pc, int centre) {
    int base = centre - ((centre % 12) + 12) % 12 + pc;
    while (base - centre > 6) base -= 12;
    while (centre - base > 5) base += 12;
    return base;
}

int rootPc(const Song& song, const Chord& chord) {
    return (song.tonic + chord.root) % 12;
}

// Close voicing of the chord around `centre`, low to high.
std::vector<int> voicing(const Song& song, const Chord& chord, int centre) {
    int tones[4] = {0, 0, 0, 0};
    const int n = chordTones(chord.quality, tones);
    std::vector<int> notes;
    for (int i = 0; i < n; ++i)
        notes.push_back(nearest((rootPc(song, chord) + tones[i]) % 12, centre));
    std::sort(notes.begin(), notes.end());
    return notes;
}

// Small deterministic variation of loudness so that repeated hits do not sound mechanical.
int humanise(int bar, int step, int salt) {
    unsigned h = static_cast<unsigned>(bar * 7919 + step * 104729 + salt * 1299709);
    h ^= h >> 13;
    h *= 0x5bd1e995u;
    h ^= h >> 15;
    return static_cast<int>(h % 9) - 4;
}

int stepsPerBar(const Song& song) {
    return song.beatsPerBar * kStepsPerBeat;
}

const char* barPattern(const Line& line, int bar, int barsPerLoop) {
    if (bar == 0 && line.firstBar) return line.firstBar;
    if (bar == barsPerLoop - 1 && line.lastBar) return line.lastBar;
    return line.pattern;
}

bool addLine(Score& score, const Song& song, const Line& line, int lineIndex, double start,
             double beat, int firstBar, int bars) {
    const int perBar = stepsPerBar(song);
    const double step = beat / kStepsPerBeat;
    // Flatten the bars into one stream of symbols.
    std::vector<char> symbols;
    std::vector<int> barOf;
    for (int b = 0; b < bars; ++b) {
        const int bar = (firstBar + b) % song.barsPerLoop;
        const char* p = barPattern(line, bar, song.barsPerLoop);
        if (static_cast<int>(std::strlen(p)) != perBar) return false;
        for (int i = 0; i < perBar; ++i) {
            symbols.push_back(p[i]);
            barOf.push_back(bar);
        }
    }
    const int slot = score.slot(line.instrument);
    const int total = static_cast<int>(symbols.size());
    for (int i = 0; i < total; ++i) {
        const char s = symbols[i];
        if (s == '.' || s == '-') continue;
        int length = 1;
        while (i + length < total && symbols[i + length] == '-') ++length;
        const int bar = barOf[i];
        const int inBar = i % perBar;
        const Chord& chord = song.chords[bar];
        const Chord& next = song.chords[(bar + 1) % song.barsPerLoop];
        const double t = start + i * step;
        const double len = length * step * line.gate;
        int velocity = line.velocity + humanise(bar, inBar, lineIndex);
        velocity += (inBar % kStepsPerBeat == 0) ? 4 : -2;
        if (s == 'X') velocity += 18;
        if (s == 'g') velocity = velocity * 45 / 100;
        if (line.drumKey >= 0) {
            if (s != 'x' && s != 'X' && s != 'g') return false;
            score.add(slot, t, len, line.drumKey, velocity);
            continue;
        }
        int tones[4] = {0, 0, 0, 0};
        const int toneCount = chordTones(chord.quality, tones);
        const int root = nearest(rootPc(song, chord), line.centre);
        std::vector<int> keys;
        switch (s) {
            case 'C':
                keys = voicing(song, chord, line.centre);
                break;
            case 'c':
                keys = voicing(song, chord, line.centre);
                keys.erase(keys.begin());
                break;
            case '1':
            case '2':
            case '3':
            case '4': {
                const std::vector<int> v = voicing(song, chord, line.centre);
                const int d = s - '1';
                const int n = static_cast<int>(v.size());
                keys.push_back(v[d % n] + 12 * (d / n));
                break;
            }
            case 'R':
            case 'x':
            case 'X':
            case 'g':
                keys.push_back(root);
                break;
            case 'O':
                keys.push_back(root + 12);
                break;
            case 'L':
                keys.push_back(root - 12);
                break;
            case 'F':
                keys.push_back(root + 7);
                break;
            case 'T':
                keys.push_back(root + tones[1]);
                break;
            case 'S':
                keys.push_back(root + (toneCount == 4 ? tones[3] : 12));
                break;
            case 'A':
                keys.push_back(nearest(rootPc(song, next), root) - 1);
                break;
            default:
                return false;
        }
        for (int k : keys) score.add(slot, t, len, k, velocity);
    }
    return true;
}

struct TuneNote {
    int step;
    int length;
    int key;         // -1: rest
    int importance;  // 0 skeleton, 1 main, 2 ornament
};

bool parseTune(const Song& song, const char* tune, std::vector<TuneNote>& out) {
    const int* scale = song.minor ? kMinorScale : kMajorScale;
    int step = 0;
    const char* p = tune;
    while (*p) {
        while (*p == ' ') ++p;
        if (!*p) break;
        TuneNote n{step, 0, -1, 1};
        if (*p == '!')
            n.importance = 0, ++p;
        else if (*p == '~')
            n.importance = 2, ++p;
        if (*p == 'r') {
            ++p;
        } else if (*p >= '1' && *p <= '7') {
            n.key = song.tonic + scale[*p - '1'];
            ++p;
        } else {
            return false;
        }
        for (; *p == '#' || *p == 'b' || *p == '\'' || *p == ','; ++p) {
            if (n.key < 0) return false;
            n.key += (*p == '#') ? 1 : (*p == 'b') ? -1 : (*p == '\'') ? 12 : -12;
        }
        if (*p != '/') return false;
        ++p;
        if (*p < '1' || *p > '9') return false;
        n.length = static_cast<int>(std::strtol(p, nullptr, 10));
        while (*p >= '0' && *p <= '9') ++p;
        step += n.length;
        out.push_back(n);
    }
    return step == song.barsPerLoop * stepsPerBar(song);
}

// Highest tone of the bar's chord at least a minor third under `key`.
int chordToneBelow(const Song& song, const Chord& chord, int key) {
    int tones[4] = {0, 0, 0, 0};
    const int n = chordTones(chord.quality, tones);
    int best = key - 12;
    for (int i = 0; i < n; ++i) {
        int k = nearest((rootPc(song, chord) + tones[i]) % 12, key);
        while (k > key - 3) k -= 12;
        best = std::max(best, k);
    }
    return best;
}

bool addMelody(Score& score, const Song& song, const Melody& melody, int stage, double start,
               double beat, int firstBar, int bars) {
    std::vector<TuneNote> tune;
    if (!parseTune(song, melody.tune, tune)) return false;
    const int perBar = stepsPerBar(song);
    const int loopSteps = perBar * song.barsPerLoop;
    const int from = firstBar * perBar;
    const int to = from + bars * perBar;
    const double step = beat / kStepsPerBeat;
    const int visibleUpTo = stage <= 1 ? 0 : stage == 2 ? 1 : 2;
    const int lead = score.slot(melody.lead);
    const int harmony = score.slot(melody.harmony);
    const int sparkle = score.slot(melody.sparkle);
    const int echo = score.slot(melody.echo);
    const int pad = score.slot(melody.pad);
    const int n = static_cast<int>(tune.size());
    for (int i = 0; i < n; ++i) {
        const TuneNote& note = tune[i];
        if (note.key < 0 || note.importance > visibleUpTo) continue;
        if (note.step < from || note.step >= to) continue;
        // Held until the next heard note or rest (or the end of the stretch).
        int end = loopSteps;
        for (int j = i + 1; j < n; ++j) {
            if (tune[j].key < 0 || tune[j].importance <= visibleUpTo) {
                end = tune[j].step;
                break;
            }
        }
        end = std::min(std::min(end, to), note.step + 2 * perBar);
        const int bar = note.step / perBar;
        const double t = start + (note.step - from) * step;
        const double len = (end - note.step) * step;
        int velocity = stage <= 1 ? 80 : stage == 2 ? 90 : stage >= 7 ? 106 : 100;
        velocity += note.importance == 0 ? 6 : note.importance == 2 ? -10 : 0;
        velocity += humanise(bar, note.step, 17);
        score.add(lead, t, len * (stage <= 2 ? 0.95 : 0.88), note.key, velocity);
        const bool bells = note.importance == 0 || (stage >= 7 && note.importance == 1);
        if (stage >= 3 && bells) {
            score.add(sparkle, t, std::min(len, beat) * 0.9, note.key + 12, velocity - 20);
        }
        if (stage >= 4 && note.importance <= 1) {
            score.add(harmony, t, len * 0.88, chordToneBelow(song, song.chords[bar], note.key),
                      velocity - 14);
        }
        if (stage >= 5) {
            score.add(echo, t + melody.echoSteps * step, len * 0.7, note.key, velocity - 34);
        }
        if (stage >= 6 && note.importance == 0) {
            int padEnd = to;
            for (int j = i + 1; j < n; ++j) {
                if (tune[j].key >= 0 && tune[j].importance == 0) {
                    padEnd = std::min(to, tune[j].step);
                    break;
                }
            }
            score.add(pad, t, (padEnd - note.step) * step * 0.97, note.key - 12, 62);
        }
    }
    return true;
}

}  // namespace

int stageOfLayer(int k, int count) {
    if (count < 1 || count > 7 || k < 1 || k > count) return 0;
    return kLayerStages[count - 1][k - 1];
}

bool addPart(Score& score, const Song& song, const Part& part, int stage, double start, double beat,
             int firstBar, int bars) {
    if (stage <= 0) return true;
    if (part.melody) {
        return addMelody(score, song, *part.melody, stage, start, beat, firstBar, bars);
    }
    for (int i = 0; i < part.lineCount; ++i) {
        const Line& line = part.lines[i];
        if (stage < line.firstStage || stage > line.lastStage) continue;
        if (!addLine(score, song, line, i, start, beat, firstBar, bars)) return false;
    }
    return true;
}

int sectionBars(const Song& song) {
    int bars = 0;
    for (int i = 0; i < song.sectionCount; ++i) bars += song.sections[i].bars;
    return bars;
}

bool addArrangement(Score& score, const Song& song, int route, double beat) {
    double t = 0.0;
    for (int i = 0; i < song.sectionCount; ++i) {
        const Section& s = song.sections[i];
        const int stage = s.stages[route];
        bool ok = true;
        if (stage >= 8) {
            const int special = stage - 8;
            ok = addPart(score, song, song.specials[special], song.specialStages[special], t, beat,
                         s.firstBar, s.bars);
        } else {
            ok = addPart(score, song, song.parts[route], stage, t, beat, s.firstBar, s.bars);
        }
        if (!ok) return false;
        t += s.bars * song.beatsPerBar * beat;
    }
    return true;
}

}  // namespace mirevo_audio
