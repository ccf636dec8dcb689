// The stand-in graphics module's screenshots: the last presented flight
// frame, drawn from what the module set up for it and what the other
// simulated modules hold on screen.
#include "sim/modules/sim_graphics.h"
#include "sim/modules/sim_modules.h"

namespace kvsim {

namespace {

// The map camera sees from half the map's size away (its far clip).
constexpr float kMapSizePerFarClip = 2.0f;

}  // namespace

void SimGraphics::keepViewFrame() {
    if (!selected_) return;
    std::lock_guard<std::mutex> held(viewMutex_);
    lastView_.shown = true;
    lastView_.map = selected_->kind == SimCamera::kMapCameraKind;
    lastView_.cockpit = views ? views->cockpitShown() : true;
    lastView_.viewName = views ? views->shownViewName() : std::string();
    std::copy(selected_->orientation, selected_->orientation + 9, lastView_.orientation);
    std::copy(selected_->position, selected_->position + 3, lastView_.position);
    lastView_.params = selected_->params;
}

FlightScreen SimGraphics::flightScreen() const {
    FlightScreen screen;
    std::unique_lock<std::mutex> viewHeld(viewMutex_);
    if (lastView_.map)
        screen.view = FlightScreen::View::Map;
    else
        screen.view = lastView_.cockpit ? FlightScreen::View::Cockpit : FlightScreen::View::Outside;
    screen.viewName = lastView_.viewName;
    std::copy(lastView_.orientation, lastView_.orientation + 9, screen.orientation);
    screen.fieldOfView = lastView_.params.fieldOfView;
    std::copy(lastView_.position, lastView_.position + 3, screen.centre);
    screen.mapSize = lastView_.params.farClip * kMapSizePerFarClip;
    viewHeld.unlock();
    if (objects) {
        std::lock_guard<std::mutex> objectsHeld(objects->screenMutex);
        for (const auto& [id, object] : objects->objects) {
            FlightScreen::Marker marker;
            marker.id = id;
            std::copy(object->position, object->position + 3, marker.position);
            marker.player = id == objects->playerObject;
            screen.objects.push_back(marker);
        }
    }
    if (messages) {
        std::vector<SimMessages::OnScreen> onScreen;
        messages->copyScreen(onScreen, screen.entryLine);
        for (const SimMessages::OnScreen& shown : onScreen) screen.messages.push_back({shown.text, shown.timeLeft});
    }
    return screen;
}

bool SimGraphics::writeFlightPicture(const std::string& path) const {
    int32_t width = 0;
    int32_t height = 0;
    {
        std::lock_guard<std::mutex> held(viewMutex_);
        width = displayWidth;
        height = displayHeight;
    }
    Picture picture(width, height);
    drawFlightScreen(flightScreen(), picture);
    return picture.writePng(path);
}

}  // namespace kvsim
