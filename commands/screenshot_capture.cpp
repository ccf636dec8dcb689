#include "commands/screenshot_capture.h"

#include <cstdio>
#include <cstring>

#include "config/file_manager.h"
#include "config/printf_format.h"
#include "config/strings.h"
#include "engine/subsystem_pointers.h"
#include "platform/workdir.h"

namespace kv {

namespace {

const int32_t kNameSize = 260;

}  // namespace

ScreenshotCapture::ScreenshotCapture() : lastNumber(0), maxScreenShot(999), soundId(-1) {
    std::strcpy(directory, ".\\");
    filenameFormat[0] = '\0';
}

void ScreenshotCapture::setDirectory(const char* text) {
    if (strIsEmpty(text))
        std::strcpy(directory, ".\\");
    else
        strCopyBounded(directory, text, sizeof directory);
}

void ScreenshotCapture::setFilenameFormat(const char* text) {
    strCopyBounded(filenameFormat, text, sizeof filenameFormat);
}

void ScreenshotCapture::setSoundEffect(const char* name) { SND->sndLoadSound(&soundId, name); }

int32_t ScreenshotCapture::capture() {
    int32_t result = 0;
    fmgPushDirectory();
    setWorkingDir(directory);  // a missing directory leaves the old one current
    int32_t handle = -1;
    SND->sndPlaySound(&handle, soundId, 0);  // the click comes before any search
    const bool formatUsable = formatAccepts(filenameFormat, kScreenshotNameFormat);
    while (formatUsable && lastNumber < maxScreenShot) {
        ++lastNumber;
        char name[kNameSize];
        const int length = std::snprintf(name, sizeof name, filenameFormat, lastNumber);
        if (length < 0 || length >= kNameSize) break;  // never write a cut name
        if (fmgFileExists(name) == 0) {
            result = GFX->gfxSaveScreenshot(name);
            break;
        }
    }
    fmgPopDirectory();
    return result;
}

}  // namespace kv
