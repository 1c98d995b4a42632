// A scripted Devices for the unit tests: a screen, ports that exist or not, and a folder of files
// in memory.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/devices.h"
#include "text/text.h"

namespace velkaro::fakes {

class FakeDevices : public Devices {
 public:
  ScreenMetrics screen() override { return metrics; }

  bool openPort(const std::string& device, PortAccess access) override {
    opened.push_back(device + (access == PortAccess::Read ? " read" : " write"));
    return readyPorts.count(device) > 0;
  }

  bool createEmptyFile(const std::string& path) override {
    const std::string key = text::LowerAscii(path);
    if (createFails || folders.count(key)) {
      events.push_back("cannot create " + path);
      return false;
    }
    files[key] = "";
    events.push_back("created " + path);
    return true;
  }
  bool deleteFile(const std::string& path) override {
    const bool deleted = files.erase(text::LowerAscii(path)) > 0;
    events.push_back((deleted ? "deleted " : "nothing to delete at ") + path);
    return deleted;
  }
  bool exists(const std::string& path) const { return files.count(text::LowerAscii(path)) > 0; }

  ScreenMetrics metrics{15.0 * 1024, 15.0 * 768, 15, 15};
  std::set<std::string> readyPorts{"COM1", "COM2", "COM3", "LPT1"};
  std::vector<std::string> opened;
  std::vector<std::string> events;           // files created and deleted, as they happened
  std::map<std::string, std::string> files;  // lower-cased path -> contents
  std::set<std::string> folders;             // lower-cased paths that are folders
  bool createFails = false;
};

}  // namespace velkaro::fakes
