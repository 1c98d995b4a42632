// An in-memory registry: keys and value names compare without regard to case, like the real one.
#pragma once

#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "platform/registry.h"
#include "text/text.h"

namespace velkaro::fakes {

class FakeRegistry : public Registry {
 public:
  struct Write {
    RootKey root;
    std::string key, name;
    RegData data;
  };

  void put(RootKey root, const std::string& key, const std::string& name, RegData data,
           RegView view = RegView::Native) {
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

  bool setValue(RootKey root, const std::string& subKey, const std::string& name,
                const RegData& data) override {
    writes.push_back({root, subKey, name, data});
    if (failWrites) return false;
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
  bool failWrites = false;

 private:
  std::map<std::tuple<RootKey, RegView, std::string>, std::map<std::string, RegData>> values_;
};

}  // namespace velkaro::fakes
