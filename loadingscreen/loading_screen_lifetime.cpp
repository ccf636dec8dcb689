#include <new>
#include <type_traits>

#include "config/strings.h"
#include "engine/subsystem_pointers.h"
#include "loadingscreen/loading_screen.h"
#include "services/services.h"

namespace kv {

static_assert(std::is_trivially_default_constructible<LoadingScreen>::value,
              "the loading screen is set up by its operations, not by a constructor");

LoadingScreen* createLoadingScreen() {
    void* memory = ModuleAlloc(static_cast<int32_t>(sizeof(LoadingScreen)));
    if (!memory) return nullptr;
    // Value-initialised: every field zero, every owned text and the picture null.
    return new (memory) LoadingScreen();
}

void LoadingScreen::releaseUnshown() {
    if (backgroundTexture) GFX->gfxReleaseImage(&backgroundTexture);
    backgroundTexture = nullptr;
    // readSettings loaded the string table; nothing else did.
    if (stage == kScreenConfigured) TXT->txtUnloadTextFile(textFile);
    strFree(&streamAudio);
    strFree(&textFile);
    strFree(&backgroundImage);
}

void releaseLoadingScreen(LoadingScreen** screen) {
    if (!screen || !*screen) return;
    LoadingScreen* s = *screen;
    if (s->stage == kScreenShown)
        s->hide();
    else if (s->stage != kScreenHidden)
        s->releaseUnshown();
    MemFree(s);
    *screen = nullptr;
}

}  // namespace kv
