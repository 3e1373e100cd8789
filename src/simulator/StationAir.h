#pragma once

#include "evaluation/CorrectionFactor.h"

namespace dyno {

// The air a simulated weather station measures.
using StationAir = AirConditions;

}  // namespace dyno
