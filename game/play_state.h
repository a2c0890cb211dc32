#pragma once

#include <cstdint>

class Game;

// A small fingerprint of everything a play's course and result are made of: the game's
// counts, score and clocks, and for every route its launcher, gauge, button, music score and
// creatures. What only changes what is seen or heard (positions on the window, sounds and
// their volumes) is left out, so that the same play on another window or with its sounds
// handed over at other moments has the same fingerprint, frame by frame.
std::uint32_t playStateChecksum(const Game& game);
