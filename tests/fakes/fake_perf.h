// A scripted PerfCounters for the unit tests.
#pragma once

#include "platform/perf.h"

namespace velkaro::fakes {

class FakePerf : public PerfCounters {};

}  // namespace velkaro::fakes
