#include <cstdio>
#include <cstring>

#include "config/printf_format.h"
#include "config/strings.h"
#include "engine/subsystem_pointers.h"
#include "loadingscreen/loading_screen.h"

namespace kv {

namespace {

const int32_t kTextSize = 260;
// Alignment codes of gfxDrawText: the caption ends at its point, the
// percentage starts at it; both are centred on it vertically.
const int32_t kAlignCaption = 0x14;
const int32_t kAlignPercentage = 0x12;
// Both buffers of a double-buffered display hold the same screen.
const int kPassesPerAdvance = 2;

// A string from the text service in a cleared buffer: a service that
// writes nothing for an unknown id leaves an empty text, and one that fills
// the buffer without a terminator is cut at its end.
void readIndexedString(const char* file, int32_t id, char* buffer) {
    std::memset(buffer, 0, kTextSize);
    TXT->txtGetIndexedString(file, id, buffer, kTextSize);
    buffer[kTextSize - 1] = '\0';
}

}  // namespace

void LoadingScreen::advance(int32_t step) {
    progress += step;
    // Without a range there is no percentage to show; 0 rather than a
    // division by zero.
    const float percent =
        progressBarRange != 0
            ? static_cast<float>(static_cast<double>(progress) * 100.0 / static_cast<double>(progressBarRange))
            : 0.0f;
    for (int pass = 0; pass < kPassesPerAdvance; ++pass) drawPass(percent);
}

void LoadingScreen::drawPass(float percent) {
    GFX->gfxBeginFrame();
    GFX->gfxClearBuffers();
    GFX->gfxSetLightingEnable(0);
    if (backgroundTexture) backgroundTexture->imageDraw(imageX, 0.0f, imageW, 1.0f);
    drawBar(percent);
    drawCaptions(percent);
    GFX->gfxEndText();
    GFX->gfxEndFrame();
    GFX->gfxPresent();
}

void LoadingScreen::drawBar(float percent) {
    // Without a range or a picture size the bar's edges mean nothing.
    if (progressBarRange == 0 || imageWidth <= 0 || imageHeight <= 0) return;
    const float leftTop[2] = {barLeft, barTop};
    const float rightBottom[2] = {barRight, barBottom};
    GFX->gfxDrawRectFrame(leftTop, rightBottom, textColor);
    const float fillRightBottom[2] = {barLeft + (barRight - barLeft) * percent * 0.01f, barBottom};
    GFX->gfxFillRect(leftTop, fillRightBottom, textColor);
}

void LoadingScreen::drawCaptions(float percent) {
    GFX->gfxSelectFont(fontHandle);
    GFX->gfxBeginText();
    GFX->gfxSetTextColor(textColor);
    const float middle = (barBottom + barTop) * 0.5f;

    char text[kTextSize];
    readIndexedString(textFile, loadingTextId, text);
    GFX->gfxDrawText(text, barLeft - textGap, middle, 0, kAlignCaption);

    // The format comes from a string table a player can edit: it may read
    // the one real passed and nothing else, or it is shown as it is.
    char format[kTextSize];
    readIndexedString(textFile, percentTextId, format);
    if (formatAccepts(format, kPercentageFormat))
        std::snprintf(text, sizeof text, format, static_cast<double>(percent));
    else
        strCopyBounded(text, format, sizeof text);
    GFX->gfxDrawText(text, barRight + textGap, middle, 0, kAlignPercentage);
}

}  // namespace kv
