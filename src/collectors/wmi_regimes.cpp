#include "collectors/wmi_regimes.h"

namespace velkaro::wmi {

bool Walk(Management& management, View& view, const Query& query, const Body& body) {
  const auto service = management.connect(query.moniker);
  if (!service) return false;
  const auto objects = service->execQuery(query.text, query.flags);
  if (!objects) return false;
  while (auto object = objects->next()) {
    Row row(*object, view);
    body(row);
    if (row.ended()) break;
  }
  return true;
}

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

bool Row::set(int field, const std::optional<std::string>& value) {
  if (!value) return false;
  view_.setText(field, *value);
  return true;
}

}  // namespace velkaro::wmi
