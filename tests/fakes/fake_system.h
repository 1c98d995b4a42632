// Fakes of the system's services for the unit tests: the registry, the clock and the event
// pump, the version and folders, the shell, text files.
#pragma once

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "platform/platform.h"
#include "platform/registry.h"
#include "text/text.h"

namespace velkaro::fakes {

// An in-memory registry: keys and value names compare without regard to case, like the real one.
class FakeRegistry : public Registry {
 public:
  struct Write {
    RootKey root;
    std::string key, name;
    RegData data;
  };

  // A key (and the keys above it) without values; keys enumerate in the order they were made.
  void addKey(RootKey root, const std::string& key, RegView view = RegView::Native) {
    for (const auto& k : keys_)
      if (std::get<0>(k) == root && std::get<1>(k) == view &&
          text::EqualsIgnoreCaseAscii(std::get<2>(k), key))
        return;
    keys_.emplace_back(root, view, key);
  }
  void put(RootKey root, const std::string& key, const std::string& name, RegData data,
           RegView view = RegView::Native) {
    addKey(root, key, view);
    values_[{root, view, text::LowerAscii(key)}][text::LowerAscii(name)] = std::move(data);
  }
  void putString(RootKey root, const std::string& key, const std::string& name,
                 const std::string& utf8, RegView view = RegView::Native) {
    std::string bytes = text::Utf8ToUtf16Le(utf8);
    bytes.append(2, '\0');
    put(root, key, name, {regtype::kSz, bytes}, view);
  }

  std::optional<RegData> queryValue(RootKey root, const std::string& subKey,
                                    const std::string& name, RegView view) override {
    queries.push_back({root, subKey, name, view});
    const auto key = values_.find({root, view, text::LowerAscii(subKey)});
    if (key == values_.end()) return std::nullopt;
    const auto value = key->second.find(text::LowerAscii(name));
    if (value == key->second.end()) return std::nullopt;
    return value->second;
  }

  std::optional<std::string> subKeyName(RootKey root, const std::string& subKey, uint32_t index,
                                        RegView view) override {
    const std::string prefix = text::LowerAscii(subKey) + "\\";
    std::vector<std::string> children;
    for (const auto& [r, v, key] : keys_) {
      if (r != root || v != view || text::LowerAscii(key).rfind(prefix, 0) != 0) continue;
      const std::string child =
          key.substr(prefix.size(), key.find('\\', prefix.size()) - prefix.size());
      bool seen = false;
      for (const auto& c : children) seen = seen || text::EqualsIgnoreCaseAscii(c, child);
      if (!seen) children.push_back(child);
    }
    if (index >= children.size()) return std::nullopt;
    return children[index];
  }

  bool setValue(RootKey root, const std::string& subKey, const std::string& name,
                const RegData& data) override {
    writes.push_back({root, subKey, name, data});
    put(root, subKey, name, data);
    return true;
  }

  struct Query {
    RootKey root;
    std::string key, name;
    RegView view;
  };
  std::vector<Query> queries;
  std::vector<Write> writes;

 private:
  std::map<std::tuple<RootKey, RegView, std::string>, std::map<std::string, RegData>> values_;
  std::vector<std::tuple<RootKey, RegView, std::string>> keys_;
};

class FakeClock : public Clock {
 public:
  explicit FakeClock(double start = 1000.0) : now(start) {}
  double monotonicSeconds() override { return now; }
  uint64_t uptimeMilliseconds() override { return uptimeMs; }
  LocalTime localTime() override {
    if (calendarFails) throw std::runtime_error("no calendar");
    return local;
  }
  double now;
  bool calendarFails = false;
  uint64_t uptimeMs = 0;
  LocalTime local{2026, 12, 5, 6, 48, 42};
};

// Each wait lets `step` seconds pass (or the whole remaining time when step is 0) and then
// runs the events queued for that moment.
class FakePump : public EventPump {
 public:
  explicit FakePump(FakeClock& clock) : clock_(clock) {}

  bool doEvents() override {
    RunDue();
    return !quitting;
  }
  bool ending() const override { return quitting; }
  bool waitEvents(double maxSeconds) override {
    ++waits;
    // Like a real wait, it lasts at least a moment, so a remainder below the clock's resolution
    // cannot keep a caller waiting for ever.
    clock_.now += std::max(step > 0 && step < maxSeconds ? step : maxSeconds, 1e-9);
    RunDue();
    return !quitting;
  }
  // Runs `event` at the first pump at or after the given clock time.
  void at(double time, std::function<void()> event) {
    events_.emplace_back(time, std::move(event));
  }

  std::function<void()> onPump;  // runs at every pump, before the events due
  double step = 0;
  int waits = 0;
  bool quitting = false;  // the program is ending

 private:
  void RunDue() {
    if (onPump) onPump();
    for (size_t i = 0; i < events_.size();) {
      if (events_[i].first <= clock_.now) {
        auto event = std::move(events_[i].second);
        events_.erase(events_.begin() + static_cast<long>(i));
        event();
      } else {
        ++i;
      }
    }
  }
  FakeClock& clock_;
  std::vector<std::pair<double, std::function<void()>>> events_;
};

class FakeSystem : public System {
 public:
  std::optional<VersionRecord> versionInfo(uint32_t recordSize) override {
    const auto it = versions.find(recordSize);
    if (it == versions.end()) return std::nullopt;
    return it->second;
  }
  std::optional<std::string> userName(uint32_t) override { return user; }
  std::optional<bool> isNTAdmin() override { return admin; }
  std::string windowsDirectory() override { return windowsDir; }
  std::string systemDirectory() override { return systemDir; }
  std::string programPath() override { return program; }

  std::map<uint32_t, VersionRecord> versions;
  std::optional<std::string> user = std::string("tester");
  std::optional<bool> admin = true;
  std::string windowsDir = "C:\\WINDOWS";
  std::string systemDir = "C:\\WINDOWS\\system32";
  std::string program = "C:\\Velkaro\\Velkaro.exe";
};

class FakeShell : public Shell {
 public:
  bool start(const std::string& commandLine, WindowStyle style) override {
    started.emplace_back(commandLine, style);
    return true;
  }
  // Answers with the program associated to the document's extension (case ignored); an
  // `onFind` hook sees each call first.
  std::string findExecutable(const std::string& document) override {
    if (onFind) onFind(document);
    const auto dot = document.rfind('.');
    const auto it = associations.find(
        text::LowerAscii(dot == std::string::npos ? std::string() : document.substr(dot)));
    return it == associations.end() ? std::string() : it->second;
  }
  std::vector<std::pair<std::string, WindowStyle>> started;
  std::map<std::string, std::string> associations;  // ".html" -> program path
  std::function<void(const std::string&)> onFind;
};

class FakeFiles : public TextFiles {
 public:
  // Each read takes the next scripted answer, as far as the limit; without one the file is
  // missing. The reads are kept: path and limit.
  std::optional<std::string> read(const std::string& path, std::size_t maxBytes) override {
    reads.push_back(path + ", at most " + std::to_string(maxBytes) + " bytes");
    if (answers.empty()) return std::nullopt;
    auto answer = answers.front();
    answers.erase(answers.begin());
    if (answer && answer->size() > maxBytes) answer->resize(maxBytes);
    return answer;
  }
  // Committed files live in `disk` (path -> text as handed over, before any code page); a new
  // version stays apart until it is committed.
  CreatedFile create(const std::string& path) override {
    if (createError) return {nullptr, *createError};
    return {std::make_unique<File>(*this, path), {}};
  }

  std::vector<std::optional<std::string>> answers;
  std::vector<std::string> reads;
  std::map<std::string, std::string> disk;
  std::optional<FileError> createError;
  int failWriteAt = -1;  // the write (counted from 0 over all files) that fails with writeError
  FileError writeError{112, "disk full"};
  std::optional<FileError> commitError;
  int commitFails = -1;  // how many commits from now fail with commitError; -1: every one
  int commits = 0;       // commits tried
  int writes = 0;
  int unfinished = 0;  // versions created and neither committed nor dropped yet

 private:
  class File : public OutputFile {
   public:
    File(FakeFiles& files, std::string path) : files_(files), path_(std::move(path)) {
      ++files_.unfinished;
    }
    ~File() override {
      if (!committed_) --files_.unfinished;
    }
    std::optional<FileError> write(const std::string& text) override {
      if (committed_) return FileError{6, "committed"};
      if (files_.writes++ == files_.failWriteAt) return files_.writeError;
      text_ += text;
      return std::nullopt;
    }
    std::optional<FileError> commit() override {
      if (committed_) return std::nullopt;
      ++files_.commits;
      if (files_.commitError && files_.commitFails != 0) {
        if (files_.commitFails > 0) --files_.commitFails;
        return files_.commitError;
      }
      committed_ = true;
      --files_.unfinished;
      files_.disk[path_] = text_;
      return std::nullopt;
    }

   private:
    FakeFiles& files_;
    std::string path_;
    std::string text_;
    bool committed_ = false;
  };
};

}  // namespace velkaro::fakes
