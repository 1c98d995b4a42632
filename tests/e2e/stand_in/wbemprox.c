/* wbemprox.dll for a throw-away prefix: the management service's locator replaced by the
   stand-in, which stalls where the variable VELKARO_STALL_WMI says ("connect", "query:300", ...;
   unset: at the connection, for ever). Its class factory is a static object. */
#define COBJMACROS
#include <windows.h>

#include <stdlib.h>

#include "stalling_service.h"

static StallPlan g_plan;

static HRESULT STDMETHODCALLTYPE FactoryQuery(IClassFactory* self, REFIID riid, void** out) {
  *out = IsEqualIID(riid, &IID_IUnknown) || IsEqualIID(riid, &IID_IClassFactory) ? self : NULL;
  return *out ? S_OK : E_NOINTERFACE;
}
static ULONG STDMETHODCALLTYPE FactoryRefCount(IClassFactory* self) {
  (void)self;
  return 1;
}
static HRESULT STDMETHODCALLTYPE FactoryCreate(IClassFactory* self, IUnknown* outer, REFIID riid,
                                               void** out) {
  IWbemLocator* locator = NULL;
  HRESULT hr = outer ? CLASS_E_NOAGGREGATION : CreateStallingLocator(&g_plan, &locator);
  (void)self;
  *out = NULL;
  if (FAILED(hr)) return hr;
  hr = IWbemLocator_QueryInterface(locator, riid, out);
  IWbemLocator_Release(locator);
  return hr;
}
static HRESULT STDMETHODCALLTYPE FactoryLock(IClassFactory* self, BOOL lock) {
  (void)self;
  (void)lock;
  return S_OK;
}

static IClassFactoryVtbl kFactoryVtbl = {FactoryQuery, FactoryRefCount, FactoryRefCount,
                                         FactoryCreate, FactoryLock};
static IClassFactory g_factory = {&kFactoryVtbl};

HRESULT WINAPI DllGetClassObject(REFCLSID clsid, REFIID riid, void** out) {
  const char* plan = getenv("VELKARO_STALL_WMI");
  *out = NULL;
  if (!IsEqualCLSID(clsid, &CLSID_WbemLocator)) return CLASS_E_CLASSNOTAVAILABLE;
  g_plan = ParseStallPlan(plan && *plan ? plan : "connect");
  return IClassFactory_QueryInterface(&g_factory, riid, out);
}

HRESULT WINAPI DllCanUnloadNow(void) {
  return S_FALSE;
}
