#pragma once

// Loading and saving the player's records file, with the state lines the game writes
// about it. The lists are the interface's: best completion, best score and best explore
// time, indexed by song.

#include <fstream>
#include <vector>

// Opens the records file into stream and reads it into the lists, creating the file only
// when nothing exists under its name. Only a regular file, or a link to one, is read;
// anything else under the name is left alone like a file that cannot be read, and the
// lists keep their values. unread tells whether no file was read. Writes "loading profile",
// "creating new profile" or "error loading profile !" on standard output.
void loadProfileFile(std::ifstream& stream, bool& unread, std::vector<float>& bestCompletion,
                     std::vector<float>& bestScore, std::vector<float>& bestExploreTime);

// Closes stream and saves the lists crash-safely, through a symbolic link. After a load
// that read no file (unread), a file is only created, never replaced, even one that has
// become readable since; a read-only file is never replaced either. Writes "profile saved" or
// "error saving profile !" on standard error; true when saved.
bool saveProfileFile(std::ifstream& stream, bool unread, const std::vector<float>& bestCompletion,
                     const std::vector<float>& bestScore,
                     const std::vector<float>& bestExploreTime);
