// The management-instrumentation service (WMI) as the core sees it: bind a moniker, run a query,
// walk its objects once, read properties by name.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velkaro {

// A property value: text, number, truth value, null or an array of values.
struct WmiValue {
  enum class Kind { Null, Text, Integer, Real, Boolean, Array };
  Kind kind = Kind::Null;
  std::string text;
  int64_t integer = 0;
  double real = 0;
  bool boolean = false;
  std::vector<WmiValue> items;

  static WmiValue Null() { return {}; }
  static WmiValue Text(std::string s) {
    WmiValue v;
    v.kind = Kind::Text;
    v.text = std::move(s);
    return v;
  }
  static WmiValue Integer(int64_t i) {
    WmiValue v;
    v.kind = Kind::Integer;
    v.integer = i;
    return v;
  }
  static WmiValue Real(double d) {
    WmiValue v;
    v.kind = Kind::Real;
    v.real = d;
    return v;
  }
  static WmiValue Boolean(bool b) {
    WmiValue v;
    v.kind = Kind::Boolean;
    v.boolean = b;
    return v;
  }
  static WmiValue Array(std::vector<WmiValue> items) {
    WmiValue v;
    v.kind = Kind::Array;
    v.items = std::move(items);
    return v;
  }
};

// The value as a field shows it: text as it is, numbers in plain decimal, truth values as
// "True"/"False". A null or an array cannot stand in a field: nullopt.
std::optional<std::string> FieldText(const WmiValue& value);

// The value joined with a suffix; a null counts as empty text. Arrays cannot be joined: nullopt.
std::optional<std::string> WithSuffix(const WmiValue& value, std::string_view suffix);

// The elements of an array joined with a separator; nullopt for anything that is not an array
// of values that can stand in a field.
std::optional<std::string> JoinArray(const WmiValue& value, std::string_view separator);

class WmiObject {
 public:
  virtual ~WmiObject() = default;
  // A property by name; nullopt when the object cannot deliver it (no such property).
  virtual std::optional<WmiValue> get(const std::string& name) = 0;
};

// A query result, walked once in the order the service delivers it.
class WmiObjectSet {
 public:
  virtual ~WmiObjectSet() = default;
  // The next object, or nullptr at the end of the result or when the walk failed (failed() then
  // tells; a wait for the next object that runs out of time is a failure).
  virtual std::unique_ptr<WmiObject> next() = 0;
  virtual bool failed() const = 0;
};

class WmiService {
 public:
  virtual ~WmiService() = default;
  // Runs a query; nullptr when it cannot be run. Without flags the query runs as a query given
  // by its text alone.
  virtual std::unique_ptr<WmiObjectSet> execQuery(const std::string& query,
                                                  std::optional<int32_t> flags) = 0;
};

class Management {
 public:
  virtual ~Management() = default;
  // Binds a moniker that names a namespace ("winmgmts:", "winmgmts:\\.\root\cimv2");
  // nullptr when it cannot be bound.
  virtual std::unique_ptr<WmiService> connect(const std::string& moniker) = 0;
  // Binds a moniker that names one object ("winmgmts:root\default:__cimomidentification=@");
  // nullptr when it cannot be bound.
  virtual std::unique_ptr<WmiObject> getObject(const std::string& moniker) = 0;

  // Whether a call of the work under way went unanswered: the service did not answer in time,
  // or it was not asked because it had stalled before. Its failures then say nothing about
  // what the service holds (a service that cannot be bound fails without that).
  virtual bool unanswered() { return false; }
};

// The parts of a "winmgmts:" moniker.
struct WmiMoniker {
  std::string server;      // "." for the local computer
  std::string nameSpace;   // "root\cimv2" when the moniker names none
  std::string objectPath;  // empty unless the moniker names an object
};
std::optional<WmiMoniker> ParseWmiMoniker(std::string_view moniker);

// Flags of a query: return at once and walk forward only.
inline constexpr int32_t kWmiReturnImmediatelyForwardOnly = 48;

}  // namespace velkaro
