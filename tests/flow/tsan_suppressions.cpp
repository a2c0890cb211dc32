// The system's OpenAL library mixes on its own thread, and the software OpenGL driver of the
// virtual screen draws on threads of its own; both hand data over with atomics the thread
// sanitizer cannot see (the libraries are not instrumented). Their internal accesses are left
// out of the reports, and so is the order in which the graphics library takes its own locks
// when the program ends; races in the game's own code are still reported.
extern "C" const char* __tsan_default_suppressions() {
    return "race:libopenal.so\nrace:swrast_dri.so\nrace:libgallium\nmutex:swrast_dri.so\n"
           "deadlock:libsfml-window.so\ndeadlock:libsfml-graphics.so\n";
}
