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
    // The sound module writes the sound id; also called with an empty name.
    void setSoundEffect(const char* name);
    // 0 when no file was written, otherwise what gfxSaveScreenshot returned.
    int32_t capture();

    int32_t lastNumber;
    int32_t maxScreenShot;
    int32_t soundId;
    char directory[260];
    char filenameFormat[260];
};

}  // namespace kv
