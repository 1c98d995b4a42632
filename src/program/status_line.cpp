#include "program/status_line.h"

#include <cstdio>
#include <exception>

#include "app/prgkern.h"
#include "collectors/ram.h"

namespace velkaro {

namespace {

using ids::Text1;

struct MemoryField {
  int id;
  std::string (*text)(Machine&);
  bool eventsAfter;  // window events are processed after this field
};

constexpr MemoryField kMemoryFields[] = {
    {Text1(52), ram::TotalPhysText, false},    {Text1(53), ram::AvailPhysText, true},
    {Text1(54), ram::TotalVirtualText, false}, {Text1(55), ram::AvailVirtualText, false},
    {Text1(56), ram::TotalPageFileText, true}, {Text1(57), ram::AvailPageFileText, false},
    {Text1(58), ram::MemoryLoadText, false},
};

template <typename Step>
void Contained(Step step) {
  try {
    step();
  } catch (const std::exception&) {
  }
}

}  // namespace

std::string DateTimeText(const LocalTime& t) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%02d.%02d.%04d  |  %02d:%02d:%02d", t.day, t.month, t.year,
                t.hour, t.minute, t.second);
  return buffer;
}

StatusLine::StatusLine(View& view, Platform& platform) : view_(view), platform_(platform) {}

void StatusLine::CreateSampler() {
  sampler_ = std::make_unique<clsCPULoad>(platform_.perf, platform_.system);
  sampler_->StackSize(kSamplerStackSize);
}

void StatusLine::Timer1_Timer() {
  if (ticking_) return;
  ticking_ = true;
  struct Done {
    bool& flag;
    ~Done() { flag = false; }
  } done{ticking_};

  EventPump& pump = platform_.pump;
  // The program ends while its events are processed: then the tick ends too.
  if (!pump.doEvents()) return;
  Contained([this] {
    if (sampler_)
      view_.setText(ids::Text5(8), std::to_string(static_cast<int16_t>(sampler_->Val())) + "%");
  });
  if (!pump.doEvents()) return;
  Contained([this] { view_.setText(ids::kUhrdate, DateTimeText(platform_.clock.localTime())); });
  Contained([this] { view_.setText(Text1(4), PrgKern::UptimeText(platform_.clock)); });
  for (const MemoryField& field : kMemoryFields) {
    Contained([this, &field] { view_.setText(field.id, field.text(platform_.machine)); });
    if (field.eventsAfter && !pump.doEvents()) return;
  }
}

}  // namespace velkaro
