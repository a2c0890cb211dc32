#pragma once

#include <ostream>

#include "game/play_events.h"

class Interface;
class Game;

// The frame loop's side of a play: what the game is told of the screen, and how what it
// reports is shown. Only the frame loop writes the interface's screen and HUD.

// The screen as the game needs to know it.
PlayView playViewOf(const Interface& ui);
// Shows the events on the interface in their order. A scored play's end switches to the
// results and writes the play's line to `log`. True when that happened (the caller then
// shows the cursor).
bool showPlayEvents(Interface& ui, const Game& game, const PlayEvents& events, std::ostream* log);
// A failed explore play: its results are shown. True when it happened this frame (the caller
// then shows the cursor).
bool endFailedExplore(Interface& ui, Game& game);
// Builds the routes of a new play (Game::initRoutes) and resets the HUD for it.
void startRoutes(Interface& ui, Game& game);
// The volume button was clicked: mutes or unmutes when the button is at rest.
void applyMuteStage(Interface& ui, Game& game);
