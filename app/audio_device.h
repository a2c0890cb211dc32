#pragma once

// Picks the audio driver before the first sound is made. The audio library chooses its
// driver once, at its first call; on a machine without a usable sound device the game
// then runs silently through the library's null driver instead of failing on every
// sound. An ALSOFT_DRIVERS setting of the player's own is always kept.
// Returns true when a real device was found (or the player chose the driver).
bool chooseAudioDriver();

// Asks a child process whether the default sound device opens, so that the failed
// attempt and its messages stay out of this process.
bool soundDeviceOpens();
