#pragma once

// Loads one song's touch sounds and wave layers on a second thread.
class LoadWithThread {
public:
    virtual ~LoadWithThread() = default;
};
