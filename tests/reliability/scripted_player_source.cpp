// The player of the flow tests, shared with the soak here.
#include "../flow/scripted_player.cpp"  // NOLINT(bugprone-suspicious-include)
