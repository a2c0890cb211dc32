#pragma once

// What a frame of a play asks the screen to show, in the order it happened. The game
// only reports; the frame loop shows each event on the interface in the same frame.
enum class PlayEventKind : unsigned char {
    ScoreShown,       // the headline shows `number` (the score)
    ExploreUnlocked,  // the first grab: the explore item of the main menu opens
    FinalStageHud,    // a scored final stage begins: countdown and hint shown, HUD slides in
    HintHidden,       // the final stage's hint has been shown long enough
    TimeShown,        // the headline shows `seconds` (an explore play's time)
    CounterShown,     // the countdown shows `number`
    ScoredPlayEnded   // the results of a scored play: score `number`, play time `seconds`
};

struct PlayEvent {
    PlayEventKind kind = PlayEventKind::ScoreShown;
    int number = 0;
    float seconds = 0.0f;
};

// A frame reports at most one score per route and one of each other kind.
struct PlayEvents {
    static const int capacity = 12;
    PlayEvent list[capacity];
    int count = 0;

    void add(PlayEventKind kind, int number = 0, float seconds = 0.0f) {
        if (count < capacity) list[count++] = PlayEvent{kind, number, seconds};
    }
    const PlayEvent* begin() const { return list; }
    const PlayEvent* end() const { return list + count; }
    // How many events of a kind were reported.
    int countOf(PlayEventKind kind) const {
        int n = 0;
        for (const PlayEvent& e : *this) n += e.kind == kind ? 1 : 0;
        return n;
    }
};

// What the game needs to know of the screen it plays on; the frame loop fills it in.
struct PlayView {
    bool scoredPlay = false;      // the screen is a scored play (not its results)
    bool explorePlay = false;     // the screen is an explore play (not its results)
    bool pauseShown = false;      // the pause panel is shown
    bool counterVisible = false;  // the final stage's countdown is shown
};
