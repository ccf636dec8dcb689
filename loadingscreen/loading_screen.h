// The picture, progress bar, captions, music and fades shown while a flight
// loads. One object serves one load: the loading sequence allocates it
// zeroed from the module allocator (no constructor runs), the start-up
// reader configures it with readSettings, and the loading sequence shows,
// advances, hides and frees it.
#pragma once

#include <cstdint>

#include "host/engine_interfaces.h"
#include "host/records.h"

namespace kv {

class ConfigDocument;

class LoadingScreen {
public:
    // Reads the "LoadingScreen" section of the start-up document.
    void readSettings(ConfigDocument* document);
    // Replaces the picture by the named file and loads it at once; a null,
    // empty or current name (in any case) changes nothing.
    void setBackgroundImage(const char* name);
    // Opens the screen; returns once the fade-in has finished. imageIndex -1
    // applies no index to the picture name.
    void show(int32_t imageIndex);
    // Adds step to the progress and draws the screen.
    void advance(int32_t step);
    // Fades out, stops the music, releases what the screen holds.
    void hide();

    int32_t progress;
    int32_t progressBarRange;
    char* backgroundImage;
    Image* backgroundTexture;
    int32_t imageWidth;
    int32_t imageHeight;
    int32_t fontHandle;
    FontSettings font;
    float textColor[4];
    float barLeft;
    float barRight;
    float barTop;
    float barBottom;
    float imageX;
    float imageW;
    float textGap;
    int32_t loadingTextId;
    int32_t percentTextId;
    char* textFile;
    char* streamAudio;
    int32_t loopAudio;
    float fadeTime;
};

}  // namespace kv
