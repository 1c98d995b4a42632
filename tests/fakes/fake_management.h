// A scripted management service for the unit tests. It keeps time the way the real one does:
// each call takes the time scripted for its kind on the fake clock and meets the deadline of its
// work (platform/deadlines.h) with the program's margin and grace.
#pragma once

#include <cstdio>
#include <functional>
#include <limits>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "fakes/fake_system.h"
#include "platform/deadlines.h"
#include "platform/management.h"

namespace velkaro::fakes {

// A scripted management service: namespaces by moniker, results by query text, objects as
// property maps. Anything not scripted fails like an unavailable service.
using Properties = std::map<std::string, WmiValue>;

struct ScriptedResult {
  std::vector<Properties> objects;
  // The walk fails after this many objects (a broken service); -1: never.
  int failAfter = -1;
};

class FakeManagement : public Management {
 public:
  enum Step { kConnect, kQuery, kNext, kGet, kSteps };
  static constexpr double kHung = std::numeric_limits<double>::infinity();

  FakeManagement(FakeClock& clock, Deadlines& deadlines, ServiceTiming timing = {})
      : clock_(clock), deadlines_(deadlines), timing_(timing) {}

  // Makes a moniker bindable; its queries answer from `results` (missing text: query fails).
  void addNamespace(const std::string& moniker) { namespaces_[moniker]; }
  void addResult(const std::string& moniker, const std::string& query, ScriptedResult result) {
    namespaces_[moniker][query] = std::move(result);
  }
  void addObject(const std::string& moniker, Properties properties) {
    objects_[moniker] = std::move(properties);
  }

  std::unique_ptr<WmiService> connect(const std::string& moniker) override {
    if (!Ask(kConnect, "connect " + moniker) || offline) return nullptr;
    const auto it = namespaces_.find(moniker);
    if (it == namespaces_.end()) return nullptr;
    return std::make_unique<Service>(*this, it->second);
  }
  std::unique_ptr<WmiObject> getObject(const std::string& moniker) override {
    if (!Ask(kGet, "object " + moniker) || offline) return nullptr;
    const auto it = objects_.find(moniker);
    if (it == objects_.end()) return nullptr;
    return std::make_unique<Object>(*this, it->second);
  }
  bool unanswered() override { return deadlines_.unanswered(); }

  // The time a call of each step takes (kHung: it never comes back).
  double seconds[kSteps] = {};
  // Runs while a connection or a query waits for the service, as the window's events do then;
  // each once.
  std::vector<std::function<void()>> duringWait;
  bool offline = false;  // the service has gone: nothing can be bound
  // What the service was asked, what ran out of time and what was not asked.
  std::vector<std::string> log;

 private:
  // A call of the service: false when it does not answer in time or is not asked. Time passes
  // on the fake clock as it would in the real wait.
  bool Ask(Step step, const std::string& what) {
    std::optional<Work> own;
    if (!deadlines_.any()) own.emplace(deadlines_, timing_.callSeconds);
    const double now = clock_.now;
    if (now < stalledUntil_ || (abandoned_ && seconds[*abandoned_] == kHung)) {
      Unanswered(what + ": not asked, the service stalled before");
      return false;
    }
    abandoned_.reset();
    if (deadlines_.secondsLeft() <= 0) {
      Unanswered(what + ": not asked, no time left");
      return false;
    }
    char left[32];
    std::snprintf(left, sizeof left, ", %.1f s left", deadlines_.secondsLeft());
    if (step == kQuery) log.push_back(what + left);
    if (step == kConnect || step == kQuery) Events();
    const double take = seconds[step];
    const double limit = deadlines_.secondsLeft();
    // The service's own wait for the next object ends a margin before the deadline.
    if (step == kNext && take != kHung && take > limit - timing_.marginSeconds) {
      clock_.now += std::max(0.0, limit - timing_.marginSeconds);
      Unanswered(what + ": timed out");
      return false;
    }
    if (take > limit + timing_.graceSeconds) {
      clock_.now += std::max(0.0, limit + timing_.graceSeconds);
      stalledUntil_ = clock_.now + timing_.retrySeconds;
      abandoned_ = step;
      Unanswered(what + ": stalled");
      return false;
    }
    clock_.now += take;
    return true;
  }
  void Unanswered(const std::string& line) {
    log.push_back(line);
    deadlines_.markUnanswered();
  }
  // The window's events while a call waits; the time they take is not the call's.
  void Events() {
    if (duringWait.empty()) return;
    auto events = std::move(duringWait.front());
    duringWait.erase(duringWait.begin());
    const double start = clock_.now;
    if (events) events();
    deadlines_.extend(clock_.now - start);
  }

  class Object : public WmiObject {
   public:
    Object(FakeManagement& owner, Properties properties)
        : owner_(owner), properties_(std::move(properties)) {}
    std::optional<WmiValue> get(const std::string& name) override {
      if (!owner_.Ask(kGet, "property " + name)) return std::nullopt;
      const auto it = properties_.find(name);
      if (it == properties_.end()) return std::nullopt;
      return it->second;
    }

   private:
    FakeManagement& owner_;
    Properties properties_;
  };

  class Set : public WmiObjectSet {
   public:
    Set(FakeManagement& owner, std::string query, ScriptedResult result)
        : owner_(owner), query_(std::move(query)), result_(std::move(result)) {}
    std::unique_ptr<WmiObject> next() override {
      if (failed_ || done_) return nullptr;
      if (!owner_.Ask(kNext, "next of " + query_) ||
          (result_.failAfter >= 0 && position_ >= static_cast<size_t>(result_.failAfter))) {
        failed_ = true;
        return nullptr;
      }
      if (position_ >= result_.objects.size()) {
        done_ = true;
        return nullptr;
      }
      return std::make_unique<Object>(owner_, result_.objects[position_++]);
    }
    bool failed() const override { return failed_; }

   private:
    FakeManagement& owner_;
    std::string query_;
    ScriptedResult result_;
    size_t position_ = 0;
    bool failed_ = false;
    bool done_ = false;
  };

  class Service : public WmiService {
   public:
    Service(FakeManagement& owner, const std::map<std::string, ScriptedResult>& results)
        : owner_(owner), results_(results) {}
    std::unique_ptr<WmiObjectSet> execQuery(const std::string& query,
                                            std::optional<int32_t> flags) override {
      const std::string what =
          "query " + query + " flags " + (flags ? std::to_string(*flags) : std::string("none"));
      if (!owner_.Ask(kQuery, what)) return nullptr;
      const auto it = results_.find(query);
      if (it == results_.end()) return nullptr;
      return std::make_unique<Set>(owner_, query, it->second);
    }

   private:
    FakeManagement& owner_;
    const std::map<std::string, ScriptedResult>& results_;
  };

  FakeClock& clock_;
  Deadlines& deadlines_;
  ServiceTiming timing_;
  double stalledUntil_ = 0;
  std::optional<Step> abandoned_;  // the step of a call given up, its thread still hanging
  std::map<std::string, std::map<std::string, ScriptedResult>> namespaces_;
  std::map<std::string, Properties> objects_;
};

}  // namespace velkaro::fakes
