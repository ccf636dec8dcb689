// The simulated engine subsystems other than graphics, the per-flight
// modules and the game objects, one file per subsystem group.
#pragma once

#include "sim/modules/sim_controls.h"
#include "sim/modules/sim_flight_modules.h"
#include "sim/modules/sim_mission.h"
#include "sim/modules/sim_network.h"
#include "sim/modules/sim_objects.h"
#include "sim/modules/sim_scene.h"
#include "sim/modules/sim_sound.h"
#include "sim/modules/sim_text.h"
#include "sim/modules/sim_time.h"
#include "sim/modules/sim_views.h"
