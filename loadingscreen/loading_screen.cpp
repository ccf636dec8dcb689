#include "loadingscreen/loading_screen.h"

#include <cstdio>

#include "config/printf_format.h"
#include "config/strings.h"
#include "engine/subsystem_pointers.h"

namespace kv {

namespace {

const int32_t kNameSize = 260;
// Gap between the bar and its captions, as a fraction of the screen width.
const float kTextGap = 0.008f;
// A display of three monitors side by side shows the screen on the middle
// one. The factor is the 32-bit real 0.333333, not an exact third, so the
// picture lands where it always has.
const float kOneThird = 0.333333f;

}  // namespace

void LoadingScreen::setBackgroundImage(const char* name) {
    if (strIsEmpty(name)) return;
    if (strEqual(name, backgroundImage, 0)) return;
    strFree(&backgroundImage);
    backgroundImage = strDuplicate(name);
    if (backgroundTexture) {
        GFX->gfxReleaseImage(&backgroundTexture);
        backgroundTexture = nullptr;
    }
    // Taken as it is: an index applies only to the start-up file's name.
    if (backgroundImage) backgroundTexture = GFX->gfxLoadImage(backgroundImage);
}

void LoadingScreen::show(int32_t imageIndex) {
    // 1. Full screen
    imageX = 0.0f;
    imageW = 1.0f;
    textGap = kTextGap;

    // 2. Three screens: the middle third; vertical values stay.
    Display* display = GFX->gfxGetDisplay();
    DisplayInfo* info = nullptr;
    if (display) display->displayGetInfo(&info);
    if (info && info->threeScreens) {
        imageX = (imageX + 1.0f) * kOneThird;
        imageW = imageW * kOneThird;
        barLeft = (barLeft + 1.0f) * kOneThird;
        barRight = (barRight + 1.0f) * kOneThird;
        textGap = textGap * kOneThird;
    }

    // 3.
    if (SND && !strIsEmpty(streamAudio)) SND->sndPlayStream(streamAudio, loopAudio);
    // 4.
    fontHandle = GFX->gfxCreateFont(&font);
    // 5. A picture set by setBackgroundImage stays; the index is not applied to it.
    if (!backgroundTexture) loadPicture(imageIndex);
    // 6.
    progress = 0;
    // 7.
    FAD->fadSetFadeTime(fadeTime);
    FAD->fadStartFadeIn(0);
    // 8. The first picture is on screen before the fade starts running.
    advance(0);
    // 9.
    waitForFade();
    stage = kScreenShown;
}

void LoadingScreen::loadPicture(int32_t imageIndex) {
    if (strIsEmpty(backgroundImage)) return;
    // The name comes from a file a player can edit: only a format with one
    // integer conversion takes the index; any other is a plain name.
    if (imageIndex == -1 || !formatAccepts(backgroundImage, kLoadingPictureFormat)) {
        backgroundTexture = GFX->gfxLoadImage(backgroundImage);
        return;
    }
    char name[kNameSize];
    const int length = std::snprintf(name, sizeof name, backgroundImage, imageIndex);
    // A cut name would load some other file.
    if (length < 0 || length >= kNameSize) return;
    backgroundTexture = GFX->gfxLoadImage(name);
}

void LoadingScreen::hide() {
    // 1.
    FAD->fadStartFadeOut(0);
    // 2.
    waitForFade();
    // 3. Asked also without StreamAudio: something else may have started one.
    if (SND && SND->sndIsStreamPlaying()) SND->sndStopStream();
    // 4.
    GFX->gfxReleaseImage(&backgroundTexture);
    backgroundTexture = nullptr;
    // 5.
    TXT->txtUnloadTextFile(textFile);
    // 6. The font belongs to the graphics module and is not given back.
    strFree(&streamAudio);
    strFree(&textFile);
    strFree(&backgroundImage);
    stage = kScreenHidden;
}

void LoadingScreen::waitForFade() {
    CLK->clkReset();
    int32_t done = 0;
    while (!done) {
        CLK->clkUpdate();
        const int32_t time = CLK->clkGetTime();
        done = FAD->fadStep(time);
        if (SND) SND->sndUpdate();  // the music keeps streaming while we wait
    }
}

}  // namespace kv
