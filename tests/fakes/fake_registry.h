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

}  // namespace velkaro::fakes
