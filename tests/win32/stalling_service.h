/* A stand-in management service for tests: a locator whose namespace answers every query with
   two objects that have a Name and holds the service's identification object, and which can
   stall at one step (for a while, or until an event is set). Used by the Win32 tests directly
   and, as wbemprox.dll, by the end-to-end tests. */
#pragma once

#include <windows.h>
#include <wbemidl.h>

#ifdef __cplusplus
extern "C" {
#endif

enum StallStep { kStallNowhere, kStallConnect, kStallQuery, kStallNext, kStallGet };

typedef struct StallPlan {
  enum StallStep step;
  DWORD ms;       /* how long the step takes (INFINITE: for ever, a hung service) */
  HANDLE release; /* ends the stall early when set; may be NULL */
} StallPlan;

/* The version the stand-in's identification object gives. */
#define kStandInVersion L"6.1.7600.16385"

/* A locator that follows the plan; the plan must outlive it. */
HRESULT CreateStallingLocator(const StallPlan* plan, IWbemLocator** locator);

#ifdef __cplusplus
}
#endif
