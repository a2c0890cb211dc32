#pragma once

// Bounds on the waits of tests. A fault that makes a test wait forever (a loader that never
// ends, a worker stuck on a file) fails it within seconds, with a message naming what it waited
// for, instead of leaving it to the test runner's time-out. The bounds are far above the time
// the steps take: they are not timing checks.

#include <functional>
#include <string>

// Bound of a wait for a small load or decoding step, slow sanitizer builds included.
const double stepBoundSeconds = 30.0;

// Calls done() until it returns true or `seconds` of real time have passed. False, with a test
// failure naming `what`, when it did not come true.
bool waitUntil(const std::function<bool()>& done, double seconds, const std::string& what);

// Runs the step on a thread of its own and waits at most `seconds` for it to return. When it
// has not returned by then, the test fails naming `what`, and `release` (when given), which
// should unblock the step, is called until it returns, for `seconds` more; false. A step that
// still does not return cannot be left behind (it works on the test's objects): the test program
// then ends at once, with status 1 and the message on standard error.
bool returnsWithin(const std::function<void()>& step, double seconds, const std::string& what,
                   const std::function<void()>& release = nullptr);

// Makes a FIFO at `path`. False when it cannot be made.
bool makeFifo(const std::string& path);
// Opens the FIFO for writing and closes it at once: a reader blocked in opening it goes on, and
// reads an empty file. Nothing happens when no reader is waiting.
void releaseFifoReaders(const std::string& path);
