// The interface's records: loaded at construction, saved at exit.
#include "profile/profile.h"
#include "ui/interface.h"

void Interface::loadProfile() {
    loadProfileFile(profileStream, profileUnread, bestCompletion, bestScore, bestExploreTime);
}

void Interface::saveProfile() {
    saveProfileFile(profileStream, profileUnread, bestCompletion, bestScore, bestExploreTime);
}
