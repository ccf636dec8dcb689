// The engine object as the host sees it under "FLT": nine operations, in
// this order, and no data.
//
// Fly keeps the host's thread for the whole flight. The other eight may be
// called from any thread at any moment; none waits for a frame or for the
// flight's thread. SetPaused and TakeScreenshot call the host's modules
// (msnCanPause, txtGetString, msgShowText; sndPlaySound, fmgFileExists,
// gfxSaveScreenshot) on the thread that calls them. A screenshot taken on
// another thread while a flight runs names its file by its path instead of
// entering the screenshot directory, so it never moves the flight.
#pragma once

#include <cstdint>

namespace kv {

class FlightModuleInterface {
public:
    // Runs one flight from loading to unloading; 1 when the application is
    // ending or the flight failed to load, otherwise 0.
    virtual int32_t Fly(const char* directory, const char* startupFile) = 0;
    // Any nonzero state ends the running flight after the current frame.
    virtual int32_t SetRunState(int32_t state) = 0;
    virtual float GetTimeCompression() = 0;
    virtual int32_t IsPaused() = 0;
    // Refused while the mission forbids pausing or a skip forward runs.
    virtual void SetPaused(int32_t paused) = 0;
    virtual void SetScreenshotDirectory(const char* directory) = 0;
    // A screenshot, at most one per screenshot interval and one at a time: a
    // second asked for while one is being taken is refused.
    virtual void TakeScreenshot() = 0;
    // The running flight's directory, cut to size - 1 bytes and terminated.
    virtual void GetFlightDirectory(char* buffer, int32_t size) = 0;
    virtual float GetStepRate() = 0;
};

}  // namespace kv
