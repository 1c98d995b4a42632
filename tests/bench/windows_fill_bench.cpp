// Times the Windows panel's fill against the real platform: the first fill of the process
// (cold: the first management connection) and the following ones. Prints one JSON line.
#include <windows.h>
#include <objbase.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <vector>

#include "collectors/windows.h"
#include "win32/platform_win32.h"
#include "win32/wmi_win32.h"

namespace {

using namespace velkaro;

// Keeps field texts in memory, like a window that is never shown.
class MemoryView : public View {
 public:
  void setText(int id, const std::string& text) override { texts_[id] = text; }
  std::string text(int id) override { return texts_[id]; }
  void setVisible(int, bool) override {}
  bool isVisible(int) override { return true; }
  void setForeColor(int, Rgb) override {}
  Rgb foreColor(int) override { return {}; }
  void addItem(int, const std::string&) override {}
  void clearItems(int) override {}
  void setValue(int, int) override {}
  int value(int) override { return 0; }
  void beginWindowDrag() override {}
  void endProgram() override {}

 private:
  std::map<int, std::string> texts_;
};

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_DEFAULT,
                       RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE, nullptr);
  win32::Win32Registry registry;
  win32::Win32System system;
  win32::Win32Shell shell;
  win32::Win32Clock clock;
  win32::MessagePump pump;
  win32::Win32TextFiles files;
  win32::ComManagement management;
  Platform platform{registry, system, shell, clock, pump, files, management};
  MemoryView view;

  std::vector<double> ms;
  for (int i = 0; i <= runs; ++i) {
    const double start = clock.monotonicSeconds();
    Windows::Fill(platform, view);
    ms.push_back((clock.monotonicSeconds() - start) * 1000.0);
  }
  const double cold = ms.front();
  std::vector<double> warm(ms.begin() + 1, ms.end());
  std::sort(warm.begin(), warm.end());
  std::printf(
      "{\"cold_ms\": %.2f, \"warm_min_ms\": %.2f, \"warm_median_ms\": %.2f, \"warm_max_ms\": "
      "%.2f, \"runs\": %d, \"os\": \"%s\", \"wmi\": \"%s\"}\n",
      cold, warm.front(), warm[warm.size() / 2], warm.back(), runs,
      view.text(ids::Text1(0)).c_str(), view.text(ids::Text1(9)).c_str());
  CoUninitialize();
  return 0;
}
