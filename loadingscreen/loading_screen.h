// The picture, progress bar, captions, music and fades shown while a flight
// loads. One object serves one load: createLoadingScreen hands it out
// zeroed from the module allocator (no constructor runs), the start-up
// reader configures it with readSettings, the loading sequence shows,
// advances and hides it, and releaseLoadingScreen frees it.
#pragma once

#include <cstdint>

#include <korvane/engine_interfaces.h>
#include <korvane/records.h>

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
    // How far the object has come (LoadingScreenStage), so that a load
    // that fails at any point can release it safely.
    int32_t stage;

private:
    friend void releaseLoadingScreen(LoadingScreen** screen);
    // Turns the clock and keeps the music streaming until the fade module
    // reports the current fade finished.
    void waitForFade();
    // Loads the picture for show: the name as it is, or numbered.
    void loadPicture(int32_t imageIndex);
    // One full frame of the screen at percentage percent.
    void drawPass(float percent);
    // Outline and fill of the bar; only with a usable range and picture size.
    void drawBar(float percent);
    // The caption left of the bar and the percentage right of it.
    void drawCaptions(float percent);
    // What readSettings and setBackgroundImage took, given back without a
    // fade, for a screen that was never shown.
    void releaseUnshown();
};

enum LoadingScreenStage : int32_t {
    kScreenCreated = 0,
    kScreenConfigured = 1,
    kScreenShown = 2,
    kScreenHidden = 3,
};

// A zeroed screen from the module allocator; null when the host refuses.
LoadingScreen* createLoadingScreen();
// Hides *screen when it is shown, gives back what it holds otherwise,
// frees it and nulls *screen. Safe at every stage and for a null *screen.
void releaseLoadingScreen(LoadingScreen** screen);

}  // namespace kv
