#include "app/app.h"
#include "audio/load_with_thread.h"

void App::endLoader() {
    if (!backgroundLoader) return;
    // A loader that has not reported success may still be writing into the banks.
    if (backgroundLoader->loadStatus.load() != 1) backgroundLoader->wait();
    backgroundLoader.reset();
}
