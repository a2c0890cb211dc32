#pragma once

#include <functional>
#include <string>

// What a body run in a child process did: whether it ended within the time allowed, its
// exit status and everything it wrote on standard output and standard error, in order.
struct ChildRun {
    bool ended = false;
    int status = -1;  // the exit status, or -1 when killed or ended by a signal
    std::string output;
};

// Runs body in a child process (the test's working folder and files are shared, nothing
// else the child changes comes back) and waits for it at most `seconds`; a child still
// running then is killed. body's result is the child's exit status.
ChildRun runInChild(const std::function<int()>& body, double seconds);

// Makes the calling process the user and group nobody (65534) when it runs as root, with
// no other group; false when that failed. A process that is not root stays as it is.
bool becomeNobody();
