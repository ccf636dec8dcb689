// The simulated engine subsystems other than graphics, the per-flight
// modules and the game objects, one file per subsystem group.
#pragma once

#include "sim/sim_controls.h"
#include "sim/sim_flight_modules.h"
#include "sim/sim_mission.h"
#include "sim/sim_network.h"
#include "sim/sim_objects.h"
#include "sim/sim_scene.h"
#include "sim/sim_sound.h"
#include "sim/sim_text.h"
#include "sim/sim_time.h"
#include "sim/sim_views.h"
