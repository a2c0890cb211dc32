#pragma once

// One play of a song.
class Game {
public:
    virtual ~Game() = default;
};
