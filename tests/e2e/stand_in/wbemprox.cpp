// wbemprox.dll for a throw-away prefix: the management service's locator replaced by the stand-in,
// which stalls for ever at every query when VELKARO_STALL_WMI is "query", else at the connection.
#include <windows.h>

#include <cstdlib>
#include <string>

#include "stalling_service.h"

namespace {

StallPlan g_plan;

struct Factory : IClassFactory {
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    *out = riid == IID_IUnknown || riid == IID_IClassFactory ? this : nullptr;
    return *out ? S_OK : E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** out) override {
    IWbemLocator* locator = nullptr;
    HRESULT hr = outer ? CLASS_E_NOAGGREGATION : CreateStallingLocator(&g_plan, &locator);
    *out = nullptr;
    if (FAILED(hr)) return hr;
    hr = locator->QueryInterface(riid, out);
    locator->Release();
    return hr;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
} g_factory;

}  // namespace

extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID clsid, REFIID riid, void** out) {
  const char* step = std::getenv("VELKARO_STALL_WMI");
  *out = nullptr;
  if (clsid != CLSID_WbemLocator) return CLASS_E_CLASSNOTAVAILABLE;
  g_plan = {step && std::string(step) == "query" ? kStallQuery : kStallConnect, INFINITE, nullptr};
  return g_factory.QueryInterface(riid, out);
}

extern "C" HRESULT WINAPI DllCanUnloadNow() {
  return S_FALSE;
}
