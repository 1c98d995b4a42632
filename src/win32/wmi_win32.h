// The management service through COM (WbemLocator, ConnectServer, ExecQuery). Every call that
// can block runs on a service thread of its own (see service_calls.h).
#pragma once

#include <windows.h>
#include <wbemidl.h>

#include <functional>
#include <memory>

#include "platform/management.h"
#include "win32/service_calls.h"

namespace velkaro::win32 {

class ComManagement : public Management {
 public:
  // Makes the locator, on the service thread; the default asks COM for the WbemLocator.
  using LocatorFactory = std::function<HRESULT(IWbemLocator**)>;

  ComManagement(MessagePump& pump, Deadlines& deadlines, LocatorFactory locator = {},
                ServiceTiming timing = {});
  ComManagement(const ComManagement&) = delete;
  ComManagement& operator=(const ComManagement&) = delete;

  std::unique_ptr<WmiService> connect(const std::string& moniker) override;
  std::unique_ptr<WmiObject> getObject(const std::string& moniker) override;
  bool unanswered() override { return calls_.deadlines().unanswered(); }

  // Whether the service is being left alone after a stall (or the program is ending).
  bool stalled() { return calls_.stalled(); }
  ServiceCalls& calls() { return calls_; }

 private:
  ServiceCalls calls_;
  LocatorFactory locator_;
};

}  // namespace velkaro::win32
