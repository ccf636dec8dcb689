// What the player sees, drawn as pictures: a loading-screen frame as the
// module drew it, and a flight frame as the module composed it (which
// view, the horizon, the map with the objects around the player, the
// texts on screen). Both fill a picture the size of the display.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "sim/pictures/picture.h"

namespace kvsim {

struct ScreenFrame;

// One presented flight frame as a screenshot shows it.
struct FlightScreen {
    enum class View { Cockpit, Outside, Map };
    View view = View::Cockpit;
    std::string viewName;  // the selected view's name, "" before any
    // The view camera's orientation (rows: right, forward, up, in world
    // axes with z up) and its horizontal field of view in degrees.
    float orientation[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    float fieldOfView = 60.0f;
    // The map: centred on the player, mapSize across (world units).
    double centre[3] = {};
    float mapSize = 0.0f;
    struct Marker {
        int32_t id = 0;
        double position[3] = {};
        bool player = false;
    };
    std::vector<Marker> objects;
    struct Message {
        std::string text;
        float timeLeft = 0.0f;  // seconds
    };
    std::vector<Message> messages;
    std::string entryLine;  // the chat line as typed, with its cursor
};

// The height of a loading-screen text in display pixels: the selected
// font's size (its magnitude: a negative size is a height too), 16 without
// a font.
float loadingTextHeight(const ScreenFrame& frame);

void drawLoadingScreen(const ScreenFrame& frame, Picture& picture);
void drawFlightScreen(const FlightScreen& screen, Picture& picture);

// The pixel rectangle (left, top, right, bottom) of a rectangle given in
// fractions of the screen, as both pictures place it.
void toPixels(const float* fractions, const Picture& picture, int32_t* pixels);

}  // namespace kvsim
