// Registry with Windows calls (the W calls, in the registry view asked for).
#pragma once

#include <windows.h>

#include "platform/registry.h"

namespace velkaro::win32 {

class Win32Registry : public Registry {
 public:
  std::optional<RegData> queryValue(RootKey root, const std::string& subKey,
                                    const std::string& name, RegView view) override;
  std::optional<std::string> subKeyName(RootKey root, const std::string& subKey, uint32_t index,
                                        RegView view) override;
  bool setValue(RootKey root, const std::string& subKey, const std::string& name,
                const RegData& data) override;
};

}  // namespace velkaro::win32
