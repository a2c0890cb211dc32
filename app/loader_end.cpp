#include "app/app.h"
#include "audio/load_with_thread.h"

void App::endLoader() {
    if (!backgroundLoader) return;
    // A loader that has not reported success may still be writing into the banks: it stops
    // before its next sound (one being decoded stops where it is), and is waited for.
    if (backgroundLoader->loadStatus.load() != 1) {
        backgroundLoader->requestStop();
        backgroundLoader->wait();
    }
    backgroundLoader.reset();
}
