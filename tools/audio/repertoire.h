#pragma once

// The music of Mirevo: the four songs, the menu piece, the drones and the short cues.

#include "tools/audio/music.h"

namespace mirevo_audio {

// Song 0: E minor electro-pop. Song 1: A major island tune. Song 2: F minor disco with a
// saxophone lead (its solo and break are the specials of route 0). Song 3: D major waltz.
extern const Song kSongs[4];

// The menu piece (C major, 80 beats per minute, eight bars).
extern const Song kMenuSong;
extern const double kMenuBeat;
// Stages of the menu piece's parts in the calm loop and in its fuller version.
extern const int kMenuCalmStages[4];
extern const int kMenuFullStages[4];

// An ambient loop in the key of a song: a low pad, a slowly moving upper pad and sparse bells.
struct Drone {
    int tonic;  // MIDI note of the bells' tonic
    bool minor;
    Instrument low;
    Instrument high;
    Instrument bells;
};
extern const Drone kDrones[4];  // by song
extern const double kDroneSeconds;

// The short note a route plays when a press catches nothing, by song.
struct Touch {
    Instrument instrument;
    int keys[4];  // by route
};
extern const Touch kTouches[4];

}  // namespace mirevo_audio
