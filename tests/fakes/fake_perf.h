// A scripted PerfCounters for the unit tests: set-up results, counter readings and processor
// times are played back in order; every call is logged.
#pragma once

#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/perf.h"

namespace velkaro::fakes {

class FakePerf : public PerfCounters {
 public:
  uint32_t openQuery(PdhHandle& query) override {
    log.push_back("open");
    if (openResult == 0) query = kQuery;
    return openResult;
  }
  uint32_t addCounter(PdhHandle query, const std::string& path, PdhHandle& counter) override {
    return Add("add " + path, query, addResult, counter);
  }
  uint32_t addEnglishCounter(PdhHandle query, const std::string& path,
                             PdhHandle& counter) override {
    return Add("add english " + path, query, addEnglishResult, counter);
  }
  uint32_t collect(PdhHandle query) override {
    log.push_back("collect " + std::to_string(query));
    return 0;
  }
  CounterValue doubleValue(PdhHandle counter) override {
    log.push_back("value " + std::to_string(counter));
    return Next(values, CounterValue{});
  }
  void closeQuery(PdhHandle query) override { log.push_back("close " + std::to_string(query)); }

  std::optional<ProcessorTimes> firstProcessorTimes() override {
    log.push_back("processor times");
    return Next(processor, std::optional<ProcessorTimes>());
  }
  std::optional<ProcessorTimes> systemTimes() override {
    log.push_back("system times");
    return Next(system, std::optional<ProcessorTimes>());
  }

  std::optional<uint32_t> readDynData(const std::string& keyPath,
                                      const std::string& valueName) override {
    log.push_back("dyn " + keyPath + " " + valueName);
    return Next(dynData, std::optional<uint32_t>());
  }

  static constexpr PdhHandle kQuery = 11;
  static constexpr PdhHandle kCounter = 22;

  uint32_t openResult = 0;
  uint32_t addResult = 0;
  uint32_t addEnglishResult = 0;
  std::deque<CounterValue> values;  // an empty queue reads as invalid data
  std::deque<std::optional<ProcessorTimes>> processor;
  std::deque<std::optional<ProcessorTimes>> system;
  std::deque<std::optional<uint32_t>> dynData;
  std::vector<std::string> log;

 private:
  uint32_t Add(const std::string& entry, PdhHandle query, uint32_t result, PdhHandle& counter) {
    log.push_back(entry + " to " + std::to_string(query));
    if (result == 0) counter = kCounter;
    return result;
  }
  template <typename T>
  static T Next(std::deque<T>& queue, T otherwise) {
    if (queue.empty()) return otherwise;
    T next = queue.front();
    queue.pop_front();
    return next;
  }
};

}  // namespace velkaro::fakes
