// Devices and screen facts of the graphics and network panels, and the probe document the
// network panel creates and deletes.
#pragma once

#include <string>

namespace velkaro {

// The screen as the window toolkit measures it: its size in twips and the twips per pixel.
struct ScreenMetrics {
  double widthTwips = 0;
  double heightTwips = 0;
  double twipsPerPixelX = 15;
  double twipsPerPixelY = 15;
};

enum class PortAccess { Read, Write };

class Devices {
 public:
  virtual ~Devices() = default;
  virtual ScreenMetrics screen() = 0;
  // Opens a port device ("COM1", "LPT1") exclusively for reading or writing and closes it at
  // once; true when the open succeeded. Nothing is read, written or configured.
  virtual bool openPort(const std::string& device, PortAccess access) = 0;
  // Creates an empty file, emptying one that exists; false when it cannot be created.
  virtual bool createEmptyFile(const std::string& path) = 0;
  // Deletes a file (never a folder); false when nothing was deleted.
  virtual bool deleteFile(const std::string& path) = 0;
};

}  // namespace velkaro
