// Modules of a host whose threads meet the flight's: a graphics module that
// reads a screenshot back from the next presented frame, and a file manager
// with one directory stack for the whole process that watches where the
// flight's thread reads its files. Both hand every call on to the stand-in's
// own module, so the flight runs as it always does.
#pragma once

#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <korvane/engine_interfaces.h>
#include <korvane/shell.h>

namespace kvtest {

// gfxSaveScreenshot from a thread other than the one that presents frames
// waits until that thread presents the next one, as a module that reads the
// frame buffer back would; gfxReleaseDisplay ends the wait too, since no
// frame follows it. The wait is bounded: a capture that times out is
// counted as a stall and writes nothing, so a deadlock fails a test rather
// than hanging it.
class WaitingGraphics : public kv::GraphicsInterface {
public:
    explicit WaitingGraphics(kv::GraphicsInterface& real, std::chrono::seconds bound = std::chrono::seconds(5))
        : real_(real), bound_(bound) {}

    int32_t gfxSaveScreenshot(const char* fileName) override {
        {
            std::unique_lock<std::mutex> held(mutex_);
            if (presenter_ != std::thread::id() && std::this_thread::get_id() != presenter_) {
                const int presentsBefore = presents_;
                ++waits_;
                changed_.notify_all();
                const bool presented = changed_.wait_for(held, bound_, [&] {
                    return presents_ > presentsBefore || displayReleased_;
                });
                if (!presented) {
                    ++stalls_;
                    return 0;
                }
            }
        }
        const int32_t result = real_.gfxSaveScreenshot(fileName);
        std::lock_guard<std::mutex> held(mutex_);
        if (result) ++saves_;
        return result;
    }
    void gfxPresent() override {
        real_.gfxPresent();
        std::lock_guard<std::mutex> held(mutex_);
        presenter_ = std::this_thread::get_id();
        ++presents_;
        changed_.notify_all();
    }
    int32_t gfxInitDisplay(kv::GraphicsSetup* setup, kv::DisplayOptions* options) override {
        {
            std::lock_guard<std::mutex> held(mutex_);
            displayReleased_ = false;
        }
        return real_.gfxInitDisplay(setup, options);
    }
    void gfxReleaseDisplay() override {
        {
            std::lock_guard<std::mutex> held(mutex_);
            displayReleased_ = true;
            changed_.notify_all();
        }
        real_.gfxReleaseDisplay();
    }

    // Waits, up to the bound, until count captures in all have begun to
    // wait for a frame; false when they have not.
    bool awaitWaiting(int count) {
        std::unique_lock<std::mutex> held(mutex_);
        return changed_.wait_for(held, bound_, [&] { return waits_ >= count; });
    }
    // Captures that waited for a frame, those that waited in vain, and the
    // files written.
    int waits() const { return read(waits_); }
    int stalls() const { return read(stalls_); }
    int saves() const { return read(saves_); }

    void gfxConfigure(kv::GraphicsSetup* setup) override { real_.gfxConfigure(setup); }
    kv::Image* gfxLoadImage(const char* fileName) override { return real_.gfxLoadImage(fileName); }
    void gfxReleaseImage(kv::Image** image) override { real_.gfxReleaseImage(image); }
    kv::Camera* gfxCreateCamera(int32_t kind) override { return real_.gfxCreateCamera(kind); }
    void gfxDestroyCamera(kv::Camera** camera) override { real_.gfxDestroyCamera(camera); }
    void gfxSetCamera(kv::Camera* camera) override { real_.gfxSetCamera(camera); }
    kv::Display* gfxGetDisplay() override { return real_.gfxGetDisplay(); }
    void gfxSetTextureLimit(int32_t resolution) override { real_.gfxSetTextureLimit(resolution); }
    void gfxEnableTextureLimit(int32_t enable) override { real_.gfxEnableTextureLimit(enable); }
    void gfxGetTextureSize(int32_t id, int32_t* width, int32_t* height) override {
        real_.gfxGetTextureSize(id, width, height);
    }
    void gfxSetRenderTarget(int32_t textureId) override { real_.gfxSetRenderTarget(textureId); }
    void gfxDrawRectFrame(const float* lt, const float* rb, const float* color) override {
        real_.gfxDrawRectFrame(lt, rb, color);
    }
    void gfxFillRect(const float* lt, const float* rb, const float* color) override { real_.gfxFillRect(lt, rb, color); }
    void gfxSetSceneMode(int32_t mode) override { real_.gfxSetSceneMode(mode); }
    void gfxSetWorldMode(int32_t on) override { real_.gfxSetWorldMode(on); }
    void gfxSetPassOption(int32_t option) override { real_.gfxSetPassOption(option); }
    void gfxSetMirrorPass(int32_t on) override { real_.gfxSetMirrorPass(on); }
    int32_t gfxGetPassOption() override { return real_.gfxGetPassOption(); }
    void gfxSetDefaultColor(const int32_t* rgb) override { real_.gfxSetDefaultColor(rgb); }
    void gfxSetLightingEnable(int32_t on) override { real_.gfxSetLightingEnable(on); }
    void gfxClearBuffers() override { real_.gfxClearBuffers(); }
    void gfxApplyCamera() override { real_.gfxApplyCamera(); }
    void gfxClearDepth() override { real_.gfxClearDepth(); }
    void gfxBeginFrame() override { real_.gfxBeginFrame(); }
    void gfxEndFrame() override { real_.gfxEndFrame(); }
    void gfxBeginScene() override { real_.gfxBeginScene(); }
    void gfxEndScene() override { real_.gfxEndScene(); }
    void gfxBeginPass() override { real_.gfxBeginPass(); }
    void gfxEndPass() override { real_.gfxEndPass(); }
    void gfxDrawObjects() override { real_.gfxDrawObjects(); }
    void gfxFlushObjects() override { real_.gfxFlushObjects(); }
    void gfxDrawFarObjects() override { real_.gfxDrawFarObjects(); }
    void gfxDrawTransparent() override { real_.gfxDrawTransparent(); }
    int32_t gfxCreateFont(const kv::FontSettings* font) override { return real_.gfxCreateFont(font); }
    void gfxSelectFont(int32_t font) override { real_.gfxSelectFont(font); }
    void gfxSetTextColor(const float* color) override { real_.gfxSetTextColor(color); }
    void gfxBeginText() override { real_.gfxBeginText(); }
    void gfxEndText() override { real_.gfxEndText(); }
    void gfxDrawText(const char* text, float x, float y, int32_t zero, int32_t alignment) override {
        real_.gfxDrawText(text, x, y, zero, alignment);
    }

private:
    int read(const int& count) const {
        std::lock_guard<std::mutex> held(mutex_);
        return count;
    }

    kv::GraphicsInterface& real_;
    const std::chrono::seconds bound_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::thread::id presenter_;
    int presents_ = 0;
    bool displayReleased_ = false;
    int waits_ = 0;
    int stalls_ = 0;
    int saves_ = 0;
};

// One directory stack for the whole process, as a file manager that does
// not know about threads keeps it: each pop must take back the entry the
// same thread pushed last. On the flight's thread, every file looked at
// between Fly's push and its pop (one entry deep: not inside a capture of
// the flight's own) must be looked at from the flight's folder.
class WatchingFiles : public kv::FileManagerInterface {
public:
    // A pop on another thread takes popDelay before it restores the
    // directory, as a file manager on a busy disk may: whatever that thread
    // changed stays changed the longer.
    WatchingFiles(kv::FileManagerInterface& real, std::thread::id flightThread,
                  std::chrono::microseconds popDelay = std::chrono::microseconds(0))
        : real_(real), flightThread_(flightThread), popDelay_(popDelay) {}

    // The folder the flight's thread must read from; set before each flight.
    void expectFlightFolder(const std::filesystem::path& folder) {
        std::lock_guard<std::mutex> held(mutex_);
        flightFolder_ = std::filesystem::weakly_canonical(folder);
    }

    int32_t fmgOpenFile(const char* name, int32_t mode) override {
        watch(name);
        return real_.fmgOpenFile(name, mode);
    }
    int32_t fmgFileExists(const char* name, int32_t mode) override {
        watch(name);
        return real_.fmgFileExists(name, mode);
    }
    int32_t fmgGetFileSize(const char* name) override {
        watch(name);
        return real_.fmgGetFileSize(name);
    }
    void fmgCloseFile(int32_t handle) override { real_.fmgCloseFile(handle); }
    int32_t fmgReadFile(int32_t handle, void* buffer, int32_t count) override {
        return real_.fmgReadFile(handle, buffer, count);
    }
    void fmgPushDirectory() override {
        {
            std::lock_guard<std::mutex> held(mutex_);
            stack_.push_back(std::this_thread::get_id());
            ++pushes_;
        }
        real_.fmgPushDirectory();
    }
    void fmgPopDirectory() override {
        {
            std::lock_guard<std::mutex> held(mutex_);
            if (stack_.empty() || stack_.back() != std::this_thread::get_id())
                ++unpairedPops_;
            if (!stack_.empty()) stack_.pop_back();
        }
        if (std::this_thread::get_id() != flightThread_) std::this_thread::sleep_for(popDelay_);
        real_.fmgPopDirectory();
    }

    int pushes() const { return read(pushes_); }
    int unpairedPops() const { return read(unpairedPops_); }
    int leftOnStack() const {
        std::lock_guard<std::mutex> held(mutex_);
        return static_cast<int>(stack_.size());
    }
    int flightReads() const { return read(flightReads_); }
    // What the flight's thread looked at from another folder.
    std::vector<std::string> readsElsewhere() const {
        std::lock_guard<std::mutex> held(mutex_);
        return elsewhere_;
    }

private:
    void watch(const char* name) {
        if (std::this_thread::get_id() != flightThread_) return;
        std::lock_guard<std::mutex> held(mutex_);
        int depth = 0;
        for (const std::thread::id& owner : stack_) depth += owner == flightThread_ ? 1 : 0;
        if (depth != 1) return;
        ++flightReads_;
        std::error_code error;
        const std::filesystem::path here = std::filesystem::current_path(error);
        if (error || here != flightFolder_)
            elsewhere_.push_back(std::string(name ? name : "(null)") + " from " + here.string());
    }
    int read(const int& count) const {
        std::lock_guard<std::mutex> held(mutex_);
        return count;
    }

    kv::FileManagerInterface& real_;
    const std::thread::id flightThread_;
    const std::chrono::microseconds popDelay_;
    mutable std::mutex mutex_;
    std::filesystem::path flightFolder_;
    std::vector<std::thread::id> stack_;
    int pushes_ = 0;
    int unpairedPops_ = 0;
    int flightReads_ = 0;
    std::vector<std::string> elsewhere_;
};

}  // namespace kvtest

namespace kvtest {

// A text module that counts every table unloaded while a text of it,
// handed to a thread other than the flight's, is still in use: the text
// would point into freed memory. A text is in use from txtGetString until
// the message module has read it (WatchingMessages). Each text handed out
// takes a little while, as a module that reads from disk may.
class WatchingText : public kv::TextInterface {
public:
    WatchingText(kv::TextInterface& real, std::thread::id flightThread) : real_(real), flightThread_(flightThread) {}

    const char* txtGetString(const char* fileName, int32_t id) override {
        const char* text = real_.txtGetString(fileName, id);
        if (std::this_thread::get_id() != flightThread_ && text && fileName) {
            {
                std::lock_guard<std::mutex> held(mutex_);
                lent_ = fileName;
            }
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        return text;
    }
    // The text handed to the calling thread has been read.
    void giveBack() {
        if (std::this_thread::get_id() == flightThread_) return;
        std::lock_guard<std::mutex> held(mutex_);
        lent_.clear();
    }
    void txtUnloadTextFile(const char* fileName) override {
        {
            std::lock_guard<std::mutex> held(mutex_);
            if (!lent_.empty() && fileName && lent_ == fileName) ++unloadedWhileLent_;
            ++unloads_;
        }
        real_.txtUnloadTextFile(fileName);
    }
    int unloadedWhileLent() const {
        std::lock_guard<std::mutex> held(mutex_);
        return unloadedWhileLent_;
    }
    int unloads() const {
        std::lock_guard<std::mutex> held(mutex_);
        return unloads_;
    }

    void txtLoadTextFile(const char* fileName) override { real_.txtLoadTextFile(fileName); }
    int32_t txtGetStringId(const char* fileName, const char* name) override {
        return real_.txtGetStringId(fileName, name);
    }
    void txtGetIndexedString(const char* fileName, int32_t id, char* buffer, int32_t size) override {
        real_.txtGetIndexedString(fileName, id, buffer, size);
    }
    void txtFormatTime(const kv::TimeRecord* time, char* buffer, int32_t size, int32_t style) override {
        real_.txtFormatTime(time, buffer, size, style);
    }

private:
    kv::TextInterface& real_;
    const std::thread::id flightThread_;
    mutable std::mutex mutex_;
    std::string lent_;
    int unloadedWhileLent_ = 0;
    int unloads_ = 0;
};

// A message module that formats each text at once, so that a text from the
// text module is read before the call returns, and then tells the text
// module the text is back.
class WatchingMessages : public kv::MessagesInterface {
public:
    WatchingMessages(kv::MessagesInterface& real, WatchingText& text) : real_(real), text_(text) {}
    void msgShowText(const char* format, ...) override {
        char line[1024];
        va_list arguments;
        va_start(arguments, format);
        std::vsnprintf(line, sizeof line, format ? format : "", arguments);
        va_end(arguments);
        text_.giveBack();
        real_.msgShowText("%s", line);
    }
    void msgShowEntryLine(const char* format, ...) override {
        char line[1024];
        va_list arguments;
        va_start(arguments, format);
        std::vsnprintf(line, sizeof line, format ? format : "", arguments);
        va_end(arguments);
        real_.msgShowEntryLine("%s", line);
    }
    void msgLoadMessageSystem(const char* fileName) override { real_.msgLoadMessageSystem(fileName); }
    void msgUnloadMessageSystem() override { real_.msgUnloadMessageSystem(); }
    void msgUpdate(float clampedFrameTime) override { real_.msgUpdate(clampedFrameTime); }
    void msgRender() override { real_.msgRender(); }

private:
    kv::MessagesInterface& real_;
    WatchingText& text_;
};

}  // namespace kvtest
