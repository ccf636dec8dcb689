#include "tools/korvane_host_pictures.h"

#include <cstdio>
#include <utility>

#include "sim/pictures/picture.h"
#include "sim/pictures/screen_pictures.h"

namespace kvhost {

LoadingPictures::LoadingPictures(std::filesystem::path folder, kvsim::SimGraphics& graphics)
    : folder_(std::move(folder)), graphics_(graphics) {
    graphics_.onLoadingScreen = [this](const kvsim::ScreenFrame& frame) { shown(frame); };
}

LoadingPictures::~LoadingPictures() { graphics_.onLoadingScreen = nullptr; }

void LoadingPictures::flyBegin(int32_t flight) {
    flight_ = flight;
    count_ = 0;
    hasLast_ = false;
}

void LoadingPictures::shown(const kvsim::ScreenFrame& frame) {
    if (hasLast_ && frame.sameAs(last_)) return;
    last_ = frame;
    hasLast_ = true;
    kvsim::Picture picture(graphics_.displayWidth, graphics_.displayHeight);
    kvsim::drawLoadingScreen(frame, picture);
    char name[64];
    std::snprintf(name, sizeof name, "flight%d-loading-%02d.png", static_cast<int>(flight_), static_cast<int>(++count_));
    const std::filesystem::path path = folder_ / name;
    (picture.writePng(path.string()) ? written_ : failed_).push_back(path);
}

}  // namespace kvhost
