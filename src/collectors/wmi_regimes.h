// How a collector runs a management query and walks its objects, dropping what fails, so that each
// collector states its regime in one line. (A regime that stops at the first failing step would
// leave the fields half written; the collectors use the two that skip.)
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "app/view.h"
#include "platform/management.h"

namespace velkaro::wmi {

inline constexpr const char* kLocalCimV2 = "winmgmts:\\\\.\\root\\cimv2";

// The deadline of one fill's service work (binding, queries, walks): long enough for a service
// that starts on demand on an old machine (a few seconds), short enough that a report run with
// a hung service still ends in under 20 s. A stall costs it once; the service is then left
// alone for a while.
inline constexpr double kFillServiceSeconds = 8.0;

struct Query {
  std::string moniker;
  std::string text;
  // Flags of the query; nullopt runs it by its text alone.
  std::optional<int32_t> flags = kWmiReturnImmediatelyForwardOnly;
};

// One object of a walk. Its steps write fields; a step whose value could not be read or
// converted (nullopt) is dropped and the next one runs.
class Row {
 public:
  Row(WmiObject& object, View& view) : object_(object), view_(view) {}

  std::optional<WmiValue> get(const std::string& name) { return object_.get(name); }
  // The property as field text (a null, an array or a missing property fail).
  std::optional<std::string> text(const std::string& name);
  // The property followed by a suffix (a null counts as empty text).
  std::optional<std::string> withSuffix(const std::string& name, std::string_view suffix);
  // The elements of an array property joined by a separator.
  std::optional<std::string> joined(const std::string& name, std::string_view separator);

  // One step: writes the value into the field, or fails. Returns whether it wrote.
  bool set(int field, const std::optional<std::string>& value);

  // Ends the walk after this object.
  void stopWalk() { stopWalk_ = true; }

  bool ended() const { return stopWalk_; }

 private:
  WmiObject& object_;
  View& view_;
  bool stopWalk_ = false;
};

using Body = std::function<void(Row&)>;

// Binds the moniker, runs the query and walks its objects; false (and no walk) when binding or
// query fails. Inside the walk a step that fails is dropped and the next one runs. Both regimes
// of the collectors follow from it: skip-all leaves the result aside (without the service,
// nothing changes), skip-from-the-walk-on acts on it.
bool Walk(Management& management, View& view, const Query& query, const Body& body);

}  // namespace velkaro::wmi
