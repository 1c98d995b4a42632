#include "collectors/wmi_regimes.h"

namespace velkaro::wmi {

namespace {

struct WalkResult {
  bool queried = false;  // binding and query succeeded
  bool clean = false;    // and so did the walk and every step
};

WalkResult Walk(Management& management, View& view, const Query& query, const Body& body,
                bool stopOnFailure) {
  WalkResult result;
  const auto service = management.connect(query.moniker);
  if (!service) return result;
  const auto objects = service->execQuery(query.text, query.flags);
  if (!objects) return result;
  result.queried = true;
  bool stepsOk = true;
  while (auto object = objects->next()) {
    Row row(*object, view, stopOnFailure);
    body(row);
    stepsOk = stepsOk && !row.failed();
    if (row.ended()) {
      result.clean = stepsOk;
      return result;
    }
  }
  result.clean = stepsOk && !objects->failed();
  return result;
}

}  // namespace

std::optional<std::string> Row::text(const std::string& name) {
  const auto value = object_.get(name);
  return value ? FieldText(*value) : std::nullopt;
}

std::optional<std::string> Row::withSuffix(const std::string& name, std::string_view suffix) {
  const auto value = object_.get(name);
  return value ? WithSuffix(*value, suffix) : std::nullopt;
}

std::optional<std::string> Row::joined(const std::string& name, std::string_view separator) {
  const auto value = object_.get(name);
  return value ? JoinArray(*value, separator) : std::nullopt;
}

bool Row::step(bool ok) {
  if (stopOnFailure_ && failed_) return false;
  if (!ok) failed_ = true;
  return ok;
}

bool Row::set(int field, const std::optional<std::string>& value) {
  if (!step(value.has_value())) return false;
  view_.setText(field, *value);
  return true;
}

void SkipAll(Management& management, View& view, const Query& query, const Body& body) {
  Walk(management, view, query, body, false);
}

bool SkipFromWalk(Management& management, View& view, const Query& query, const Body& body) {
  return Walk(management, view, query, body, false).queried;
}

bool Unguarded(Management& management, View& view, const Query& query, const Body& body) {
  return Walk(management, view, query, body, true).clean;
}

}  // namespace velkaro::wmi
