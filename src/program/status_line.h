// The main window's live status line: four times a second the processor load, date and time,
// uptime and the seven memory figures, written whether or not their panel is shown.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "app/view.h"
#include "cpuload/clscpuload.h"
#include "platform/platform.h"

namespace velkaro {

// "dd.mm.yyyy  |  hh:mm:ss" (24-hour clock).
std::string DateTimeText(const LocalTime& time);

class StatusLine {
 public:
  static constexpr int32_t kSamplerStackSize = 10;

  StatusLine(View& view, Platform& platform);

  // At the window's load: creates the sampler and sets its averaging depth.
  void createSampler();
  // Timer1_Timer: one refresh. A step that fails is skipped; a tick that arrives while one is
  // running (let in by its event processing) is skipped too.
  void Timer1_Timer();

  clsCPULoad* sampler() { return sampler_.get(); }

 private:
  View& view_;
  Platform& platform_;
  std::unique_ptr<clsCPULoad> sampler_;
  bool ticking_ = false;
};

}  // namespace velkaro
