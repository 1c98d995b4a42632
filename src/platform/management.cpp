#include "platform/management.h"

#include <cinttypes>
#include <cstdio>

#include "text/text.h"

namespace velkaro {

std::optional<std::string> FieldText(const WmiValue& value) {
  switch (value.kind) {
    case WmiValue::Kind::Text:
      return value.text;
    case WmiValue::Kind::Integer:
      return std::to_string(value.integer);
    case WmiValue::Kind::Real: {
      char buffer[64];
      std::snprintf(buffer, sizeof(buffer), "%.15g", value.real);
      return std::string(buffer);
    }
    case WmiValue::Kind::Boolean:
      return std::string(value.boolean ? "True" : "False");
    case WmiValue::Kind::Null:
    case WmiValue::Kind::Array:
      return std::nullopt;
  }
  return std::nullopt;
}

std::optional<std::string> WithSuffix(const WmiValue& value, std::string_view suffix) {
  if (value.kind == WmiValue::Kind::Null) return std::string(suffix);
  auto text = FieldText(value);
  if (!text) return std::nullopt;
  return *text + std::string(suffix);
}

std::optional<std::string> JoinArray(const WmiValue& value, std::string_view separator) {
  if (value.kind != WmiValue::Kind::Array) return std::nullopt;
  std::string joined;
  for (size_t i = 0; i < value.items.size(); ++i) {
    auto text = FieldText(value.items[i]);
    if (!text) return std::nullopt;
    if (i) joined += separator;
    joined += *text;
  }
  return joined;
}

std::optional<WmiMoniker> ParseWmiMoniker(std::string_view moniker) {
  static constexpr std::string_view kScheme = "winmgmts:";
  if (moniker.size() < kScheme.size() ||
      !text::EqualsIgnoreCaseAscii(moniker.substr(0, kScheme.size()), kScheme))
    return std::nullopt;
  std::string_view rest = moniker.substr(kScheme.size());
  // Security settings such as "{impersonationLevel=impersonate}!" come first.
  if (!rest.empty() && rest.front() == '{') {
    const auto close = rest.find('}');
    if (close == std::string_view::npos) return std::nullopt;
    rest.remove_prefix(close + 1);
    if (!rest.empty() && rest.front() == '!') rest.remove_prefix(1);
  }
  WmiMoniker parsed{".", "root\\cimv2", ""};
  if (rest.substr(0, 2) == "\\\\" || rest.substr(0, 2) == "//") {
    rest.remove_prefix(2);
    const auto end = rest.find_first_of("\\/");
    parsed.server = std::string(rest.substr(0, end));
    rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
    if (parsed.server.empty()) return std::nullopt;
  }
  const auto colon = rest.find(':');
  const std::string_view nameSpace = rest.substr(0, colon);
  if (!nameSpace.empty()) parsed.nameSpace = std::string(nameSpace);
  if (colon != std::string_view::npos) {
    parsed.objectPath = std::string(rest.substr(colon + 1));
    if (parsed.objectPath.empty()) return std::nullopt;
  }
  return parsed;
}

}  // namespace velkaro
