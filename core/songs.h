#pragma once

// The four songs and how the menu modes map onto them. Shared by the game, the routes,
// the sound loader and the interface.

// Mode (menu choice 0..3) -> song 0..3. Sound files of song s carry the number s + 1.
extern const int songOfMode[4];
// The mode shown at song-list position 0..3: with songOfMode it puts song k at position k.
extern const int modeOrder[4];
// Length of the final stage of each song, seconds.
extern const float songLength[4];
// Tempo of each song, beats per minute.
extern const float songBpm[4];
// Length of one music loop of each song, seconds.
extern const float songLoopLength[4];
// Beats per phrase (one loop) of each song.
extern const int songPhraseLength[4];
// Wave layers per route, by song (also the number of touch/wave files per route).
extern const int touchCounts[4][4];

// Safe lookup of the song of a mode: -1 for a mode outside 0..3.
int songOf(int mode);
