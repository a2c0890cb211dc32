// The system's OpenAL library mixes on its own thread and hands data over with atomics the
// thread sanitizer cannot see (the library is not instrumented). Its internal accesses are
// left out of the reports; races in the game's own code are still reported.
extern "C" const char* __tsan_default_suppressions() {
    return "race:libopenal.so\n";
}
