// A scripted management service for the unit tests.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/management.h"

namespace velkaro::fakes {

// A scripted management service: namespaces by moniker, results by query text, objects as
// property maps. Anything not scripted fails like an unavailable service.
using Properties = std::map<std::string, WmiValue>;

struct ScriptedResult {
  std::vector<Properties> objects;
  // The walk fails after this many objects (a timeout or a broken service); -1: never.
  int failAfter = -1;
};

class FakeManagement : public Management {
 public:
  // Makes a moniker bindable; its queries answer from `results` (missing text: query fails).
  void addNamespace(const std::string& moniker) { namespaces_[moniker]; }
  void addResult(const std::string& moniker, const std::string& query, ScriptedResult result) {
    namespaces_[moniker][query] = std::move(result);
  }
  void addObject(const std::string& moniker, Properties properties) {
    objects_[moniker] = std::move(properties);
  }

  std::unique_ptr<WmiService> connect(const std::string& moniker) override {
    Wait();
    if (offline) return nullptr;
    const auto it = namespaces_.find(moniker);
    if (it == namespaces_.end()) return nullptr;
    return std::make_unique<Service>(*this, it->second);
  }
  std::unique_ptr<WmiObject> getObject(const std::string& moniker) override {
    if (offline) return nullptr;
    const auto it = objects_.find(moniker);
    if (it == objects_.end()) return nullptr;
    return std::make_unique<Object>(it->second);
  }

  void beginWork(double seconds) override { work.push_back(seconds); }
  void endWork() override { work.pop_back(); }

  // Runs while a query waits for the service, as the window's events do then; each call once.
  std::vector<std::function<void()>> duringWait;
  std::vector<double> work;  // the deadlines of the work under way, innermost last
  bool offline = false;      // the service has gone: nothing can be bound
  struct QueryCall {
    std::string text;
    std::optional<int32_t> flags;
    std::vector<double> work;  // the work it belonged to
  };
  std::vector<QueryCall> queries;

 private:
  void Wait() {
    if (duringWait.empty()) return;
    auto events = std::move(duringWait.front());
    duringWait.erase(duringWait.begin());
    if (events) events();
  }

  class Object : public WmiObject {
   public:
    explicit Object(Properties properties) : properties_(std::move(properties)) {}
    std::optional<WmiValue> get(const std::string& name) override {
      const auto it = properties_.find(name);
      if (it == properties_.end()) return std::nullopt;
      return it->second;
    }

   private:
    Properties properties_;
  };

  class Set : public WmiObjectSet {
   public:
    explicit Set(ScriptedResult result) : result_(std::move(result)) {}
    std::unique_ptr<WmiObject> next() override {
      if (failed_) return nullptr;
      if (result_.failAfter >= 0 && position_ >= static_cast<size_t>(result_.failAfter)) {
        failed_ = true;
        return nullptr;
      }
      if (position_ >= result_.objects.size()) return nullptr;
      return std::make_unique<Object>(result_.objects[position_++]);
    }
    bool failed() const override { return failed_; }

   private:
    ScriptedResult result_;
    size_t position_ = 0;
    bool failed_ = false;
  };

  class Service : public WmiService {
   public:
    Service(FakeManagement& owner, const std::map<std::string, ScriptedResult>& results)
        : owner_(owner), results_(results) {}
    std::unique_ptr<WmiObjectSet> execQuery(const std::string& query,
                                            std::optional<int32_t> flags) override {
      owner_.queries.push_back({query, flags, owner_.work});
      owner_.Wait();
      const auto it = results_.find(query);
      if (it == results_.end()) return nullptr;
      return std::make_unique<Set>(it->second);
    }

   private:
    FakeManagement& owner_;
    const std::map<std::string, ScriptedResult>& results_;
  };

  std::map<std::string, std::map<std::string, ScriptedResult>> namespaces_;
  std::map<std::string, Properties> objects_;
};

}  // namespace velkaro::fakes
