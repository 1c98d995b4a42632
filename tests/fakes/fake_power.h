// A recording Power and a scripted MemoryArena for the unit tests.
#pragma once

#include "platform/power.h"

namespace velkaro::fakes {

class FakePower : public Power {};

class FakeArena : public MemoryArena {};

}  // namespace velkaro::fakes
