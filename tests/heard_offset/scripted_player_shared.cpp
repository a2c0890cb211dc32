// The scripted player is shared with the other play-driven tests.
#include "flow/scripted_player.cpp"
