#include "commands/screenshot_capture.h"

#include <cstdio>
#include <cstring>

#include "config/file_manager.h"
#include "config/paths.h"
#include "config/printf_format.h"
#include "config/strings.h"
#include "engine/subsystem_pointers.h"
#include "platform/mbcs.h"
#include "platform/workdir.h"

namespace kv {

namespace {

const int32_t kNameSize = 260;

// A folder from the root or a drive: a POSIX host hands one over with
// slashes, a Windows host with a drive or a leading backslash.
bool namesItsRoot(const char* path) { return path[0] == '/' || path[0] == '\\' || mbChr(path, ':'); }

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

int32_t ScreenshotCapture::capture() {
    fmgPushDirectory();
    setWorkingDir(directory);  // a missing directory leaves the old one current
    const int32_t result = clickAndSave(nullptr);
    fmgPopDirectory();
    return result;
}

int32_t ScreenshotCapture::captureByPath(const char* base) {
    char folder[kNameSize];
    if (namesItsRoot(directory))
        strCopyBounded(folder, directory, sizeof folder);
    else
        resolvePath(base, directory, folder, sizeof folder);
    return clickAndSave(folder);
}

int32_t ScreenshotCapture::clickAndSave(const char* folder) {
    int32_t handle = -1;
    SND->sndPlaySound(&handle, soundId, 0);  // the click comes before any search
    if (!formatAccepts(filenameFormat, kScreenshotNameFormat)) return 0;
    while (lastNumber < maxScreenShot) {
        ++lastNumber;
        char name[kNameSize];
        const int length = std::snprintf(name, sizeof name, filenameFormat, lastNumber);
        if (length < 0 || length >= kNameSize) break;  // never write a cut name
        // Room for a folder and a name that together do not fit, so that
        // such a path is refused rather than cut.
        char path[2 * kNameSize];
        if (folder) {
            resolvePath(folder, name, path, sizeof path);
            if (std::strlen(path) >= static_cast<std::size_t>(kNameSize)) break;
        }
        const char* file = folder ? path : name;
        if (fmgFileExists(file) == 0) return GFX->gfxSaveScreenshot(file);
    }
    return 0;
}

}  // namespace kv
