// Numbered screenshot files in the host's screenshot directory, with the
// click sound. Numbers survive from flight to flight: the next capture
// tries the number after the last one tried.
#pragma once

#include <cstdint>

namespace kv {

class ScreenshotCapture {
public:
    ScreenshotCapture();

    // Null or empty restores ".\".
    void setDirectory(const char* text);
    void setFilenameFormat(const char* text);
    // 0 when no file was written, otherwise what gfxSaveScreenshot returned.
    // The screenshot directory is the working directory for the capture's
    // length (fmgPushDirectory to fmgPopDirectory) and names are relative.
    int32_t capture();
    // The same capture without entering the directory: each name carries
    // the screenshot directory, a relative one taken from base. Neither the
    // process's working directory nor the file manager's directory stack
    // changes, so a flight another thread runs at the time never sees it.
    int32_t captureByPath(const char* base);

    int32_t lastNumber;
    int32_t maxScreenShot;
    // Written by the loading from sndLoadSound, also for an empty name.
    int32_t soundId;
    char directory[260];
    char filenameFormat[260];

private:
    // The click, then the first number not on disk. folder null: names are
    // relative to the working directory.
    int32_t clickAndSave(const char* folder);
};

}  // namespace kv
