#include "program/status_line.h"

#include <cstdio>

#include "app/fields.h"
#include "app/prgkern.h"
#include "app/scope.h"
#include "collectors/ram.h"

namespace velkaro {

std::string DateTimeText(const LocalTime& t) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%02d.%02d.%04d  |  %02d:%02d:%02d", t.day, t.month, t.year,
                t.hour, t.minute, t.second);
  return buffer;
}

StatusLine::StatusLine(View& view, Platform& platform) : view_(view), platform_(platform) {}

void StatusLine::createSampler() {
  sampler_ = std::make_unique<clsCPULoad>(platform_.perf, platform_.system);
  sampler_->StackSize(kSamplerStackSize);
}

void StatusLine::Timer1_Timer() {
  if (ticking_) return;
  ScopedFlag ticking(ticking_);

  EventPump& pump = platform_.pump;
  // The program ends while its events are processed: then the tick ends too.
  if (!pump.doEvents()) return;
  Contained([this] {
    if (sampler_)
      view_.setText(field::kCpuLoad, std::to_string(static_cast<int16_t>(sampler_->Val())) + "%");
  });
  if (!pump.doEvents()) return;
  Contained([this] { view_.setText(ids::kUhrdate, DateTimeText(platform_.clock.localTime())); });
  // The other live fields in the table's order: the uptime, the memory figures.
  for (const PanelFields& panel : FieldTable()) {
    for (const FieldRow& row : panel.rows) {
      if (row.live == Live::No || row.field == field::kCpuLoad) continue;
      Contained([this, &row] {
        const auto text = row.field == field::kUptime
                              ? PrgKern::UptimeText(platform_.clock)
                              : ram::FigureText(row.field, platform_.machine);
        if (text) view_.setText(row.field, *text);
      });
      if (row.live == Live::ThenEvents && !pump.doEvents()) return;
    }
  }
}

}  // namespace velkaro
