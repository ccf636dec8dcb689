#include <cstring>

#include "config/config_document.h"
#include "config/strings.h"
#include "engine/subsystem_pointers.h"
#include "loading/startup_vocabulary.h"
#include "loadingscreen/loading_screen.h"

namespace kv {

namespace {

const char* const kSection = kLoadingScreenSection;
const int32_t kNameSize = 260;

}  // namespace

void LoadingScreen::readSettings(ConfigDocument* document) {
    // A second reading gives back what the first one took.
    strFree(&backgroundImage);
    strFree(&textFile);
    strFree(&streamAudio);
    if (backgroundTexture) GFX->gfxReleaseImage(&backgroundTexture);

    // 1. Picture
    backgroundImage = getStringCopy(document, kSection, loadingScreenKey(kBackgroundImageKey), kCaseKeep);
    const IntPair size = getIntPair(document, kSection, loadingScreenKey(kBackgroundImageSizeKey));
    imageWidth = size.first;
    imageHeight = size.second;
    backgroundTexture = nullptr;
    fontHandle = -1;

    // 2. Font and colour. Without a usable TextFontColor the bar and the
    // captions are opaque white, readable on any picture.
    (void)getFontSettings(&font, document, kSection);
    ConfigColor color = {1.0f, 1.0f, 1.0f, 1.0f};
    (void)getColor(&color, document, kSection, loadingScreenKey(kTextFontColorKey));
    textColor[0] = color.red;
    textColor[1] = color.green;
    textColor[2] = color.blue;
    textColor[3] = color.alpha;

    // 3. Captions: the string table is loaded even without a name, as the
    // text service expects one load for every unload in hide.
    textFile = getStringCopy(document, kSection, loadingScreenKey(kTextFileKey), kCaseKeep);
    TXT->txtLoadTextFile(textFile);

    // 4.
    char name[kNameSize];
    document->getString(kSection, loadingScreenKey(kLoadingTextStringIdKey), "", name, sizeof name, kCaseKeep);
    loadingTextId = TXT->txtGetStringId(textFile, name);
    document->getString(kSection, loadingScreenKey(kPercentTextStringIdKey), "", name, sizeof name, kCaseKeep);
    percentTextId = TXT->txtGetStringId(textFile, name);

    // 5.
    progressBarRange = document->getInt(kSection, loadingScreenKey(kProgressBarRangeKey), 0);

    // 6. The bar is given in picture pixels and kept as screen fractions, so
    // it stays on the same spot of the picture at any resolution. Without a
    // picture size there is nothing to divide by: the edges stay 0 and
    // advance leaves the bar out.
    const ConfigRect rect = getRect(document, kSection, loadingScreenKey(kProgressBarRectKey));
    barLeft = barRight = barTop = barBottom = 0.0f;
    if (imageWidth > 0 && imageHeight > 0) {
        barLeft = static_cast<float>(rect.values[0]) / static_cast<float>(imageWidth);
        barTop = static_cast<float>(rect.values[1]) / static_cast<float>(imageHeight);
        barRight = static_cast<float>(rect.values[2]) / static_cast<float>(imageWidth);
        barBottom = static_cast<float>(rect.values[3]) / static_cast<float>(imageHeight);
    }

    // 7. Music and fades
    streamAudio = getStringCopy(document, kSection, loadingScreenKey(kStreamAudioKey), kCaseKeep);
    fadeTime = document->getFloat(kSection, loadingScreenKey(kFadeTimeKey), 0.0f);
    loopAudio = document->getBool(kSection, loadingScreenKey(kLoopAudioKey), 0);

    stage = kScreenConfigured;
}

}  // namespace kv
