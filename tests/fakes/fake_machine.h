// A scripted Machine for the unit tests.
#pragma once

#include "platform/machine.h"

namespace velkaro::fakes {

class FakeMachine : public Machine {};

}  // namespace velkaro::fakes
