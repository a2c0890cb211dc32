#pragma once

// Loading and saving the player's records file, with the state lines the game writes
// about it. The lists are the interface's: best completion, best score and best explore
// time, indexed by song.

#include <fstream>
#include <vector>

// Opens the records file into stream and reads it into the lists, creating the file only
// when nothing exists under its name (a file that cannot be read is left alone and the
// lists keep their values). Writes "loading profile", "creating new profile" or "error
// loading profile !" on standard output.
void loadProfileFile(std::ifstream& stream, std::vector<float>& bestCompletion,
                     std::vector<float>& bestScore, std::vector<float>& bestExploreTime);

// Closes stream and saves the lists crash-safely, through a symbolic link. A file that
// cannot be read, or is read-only, is never replaced. Writes "profile saved" or "error
// saving profile !" on standard error; true when saved.
bool saveProfileFile(std::ifstream& stream, const std::vector<float>& bestCompletion,
                     const std::vector<float>& bestScore,
                     const std::vector<float>& bestExploreTime);
