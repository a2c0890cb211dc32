// The interface's records: loaded at construction, saved at exit.
#include "profile/profile.h"
#include "ui/interface.h"

void Interface::loadProfile() {
    loadProfileFile(profileStream, bestCompletion, bestScore, bestExploreTime);
}

void Interface::saveProfile() {
    saveProfileFile(profileStream, bestCompletion, bestScore, bestExploreTime);
}
