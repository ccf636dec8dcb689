// korvane-host --pictures DIR: each distinct loading-screen frame the module
// draws, as a PNG the size of the display, named
// flightK-loading-NN.png (K the flight from 1, NN the picture from 01 in
// that flight). A frame drawn again unchanged (both buffers of the
// display) makes no new picture.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "sim/modules/sim_graphics.h"

namespace kvhost {

class LoadingPictures {
public:
    // Watches the graphics module's loading screens from now on; the folder
    // must exist.
    LoadingPictures(std::filesystem::path folder, kvsim::SimGraphics& graphics);
    ~LoadingPictures();
    LoadingPictures(const LoadingPictures&) = delete;
    LoadingPictures& operator=(const LoadingPictures&) = delete;

    void flyBegin(int32_t flight);
    // The files written so far, in order.
    const std::vector<std::filesystem::path>& written() const { return written_; }
    // The files that could not be written.
    const std::vector<std::filesystem::path>& failed() const { return failed_; }

private:
    void shown(const kvsim::ScreenFrame& frame);

    std::filesystem::path folder_;
    kvsim::SimGraphics& graphics_;
    int32_t flight_ = 0;
    int32_t count_ = 0;
    bool hasLast_ = false;
    kvsim::ScreenFrame last_;
    std::vector<std::filesystem::path> written_;
    std::vector<std::filesystem::path> failed_;
};

}  // namespace kvhost
