// Starting other programs and finding the program that opens a document.
#pragma once

#include <string>

namespace velkaro {

// Window styles for a started program, with the platform's values.
enum class WindowStyle { Hidden = 0, NormalFocus = 1, MinimizedFocus = 2 };

class Shell {
 public:
  virtual ~Shell() = default;
  // Starts a command line (the program is searched like the platform's own starter does) and
  // returns at once; false when it could not be started.
  virtual bool start(const std::string& commandLine, WindowStyle style) = 0;
  // The full path of the program the shell associates with a document (which must exist);
  // empty text when there is none.
  virtual std::string findExecutable(const std::string& document) = 0;
};

}  // namespace velkaro
