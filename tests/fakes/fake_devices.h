// A scripted Devices for the unit tests.
#pragma once

#include "platform/devices.h"

namespace velkaro::fakes {

class FakeDevices : public Devices {};

}  // namespace velkaro::fakes
