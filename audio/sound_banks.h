#pragma once

#include <SFML/Audio/Sound.hpp>
#include <string>
#include <vector>

#include "audio/held_samples.h"

// The menu sounds, by index: 0 click, 1 menu loop, 2 full-volume menu loop, 3 error sound
// (their files: menuSoundFile, the drones' droneFile, in assets/asset_files.h).
// Volume of each menu sound at full master volume.
extern const float menuSoundVolumes[4];

class SoundDecoder;

// Resizes both lists to 4 and loads the menu sounds in index order, each sound bound to the
// buffer of the same index. False at the first file that fails (later files are not tried).
// The files come from the decoder when one is given (decoded ahead).
bool loadMenuSounds(std::vector<sf::Sound>& sounds, std::vector<HeldBuffer>& buffers,
                    SoundDecoder* ahead = nullptr);
// The same for the four drones.
bool loadDrones(std::vector<sf::Sound>& sounds, std::vector<HeldBuffer>& buffers,
                SoundDecoder* ahead = nullptr);

// Sets the volumes of the menu sounds for the master volume v, in the order 3, 2, 1, 0.
void setMenuVolumes(std::vector<sf::Sound>& sounds, float v);

// Plays touch sound i of the current song from its start at 100 x v, if the loader has
// already handed it over; otherwise nothing (the press stays silent). True when it played.
bool playTouchSound(std::vector<sf::Sound>& touchSounds, int i, float v);
