// The management service through COM (WbemLocator, ConnectServer, ExecQuery).
#pragma once

#include <windows.h>
#include <wbemidl.h>

#include "platform/management.h"

namespace velkaro::win32 {

class ComManagement : public Management {
 public:
  // Each wait for the next object of a result is bounded, so a hanging service cannot freeze
  // the window for good; a wait that runs out ends the walk like a failed query.
  explicit ComManagement(DWORD nextObjectTimeoutMs = 10000) : timeoutMs_(nextObjectTimeoutMs) {}

  std::unique_ptr<WmiService> connect(const std::string& moniker) override;
  std::unique_ptr<WmiObject> getObject(const std::string& moniker) override;

 private:
  DWORD timeoutMs_;
};

// The objects of a query's result; each next() waits at most timeoutMs for the service, and a
// wait that runs out ends the walk as failed. Takes over the caller's reference.
std::unique_ptr<WmiObjectSet> WrapObjectSet(IEnumWbemClassObject* objects, DWORD timeoutMs);

}  // namespace velkaro::win32
