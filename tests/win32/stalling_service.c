/* The stand-in management service, in C: each object is a vtable with the few methods the
   program calls; the others are never reached. */
#define COBJMACROS
#pragma GCC diagnostic ignored "-Wunused-parameter" /* COM methods ignore most of theirs */
#include "stalling_service.h"

#include <stdlib.h>

typedef struct Object {
  const void* lpVtbl;
  LONG refs;
  const IID* iid; /* the interface it answers for, besides IUnknown */
  const StallPlan* plan;
  int position; /* enumerator: objects handed out; object: its number */
} Object;

/* Whether the step answered within the caller's timeout: a slow step (plan->ms) ends with the
   timeout, a hung one (INFINITE) ignores it. */
static BOOL Stall(const StallPlan* plan, enum StallStep step, DWORD timeout) {
  if (plan->step != step) return TRUE;
  const BOOL slow = plan->ms != INFINITE && plan->ms > timeout;
  const DWORD ms = slow ? timeout : plan->ms;
  if (plan->release)
    WaitForSingleObject(plan->release, ms);
  else
    Sleep(ms);
  return !slow;
}

static void* New(const void* vtable, const IID* iid, const StallPlan* plan, int position) {
  Object* object = (Object*)calloc(1, sizeof(Object));
  if (!object) return NULL;
  *object = (Object){vtable, 1, iid, plan, position};
  return object;
}

static ULONG STDMETHODCALLTYPE AddRef(Object* self) {
  return (ULONG)InterlockedIncrement(&self->refs);
}

static ULONG STDMETHODCALLTYPE Release(Object* self) {
  const LONG refs = InterlockedDecrement(&self->refs);
  if (refs == 0) free(self);
  return (ULONG)refs;
}

static HRESULT STDMETHODCALLTYPE Query(Object* self, REFIID riid, void** out) {
  *out = IsEqualIID(riid, &IID_IUnknown) || IsEqualIID(riid, self->iid) ? self : NULL;
  if (!*out) return E_NOINTERFACE;
  AddRef(self);
  return S_OK;
}

/* The IUnknown entries of a vtable: the functions above, cast to the interface's types. */
#define UNKNOWN(Vtbl)                                              \
  .QueryInterface = (__typeof__(((Vtbl*)0)->QueryInterface))Query, \
  .AddRef = (__typeof__(((Vtbl*)0)->AddRef))AddRef,                \
  .Release = (__typeof__(((Vtbl*)0)->Release))Release

static HRESULT STDMETHODCALLTYPE ClassObjectGet(IWbemClassObject* self, LPCWSTR name, LONG flags,
                                                VARIANT* value, CIMTYPE* type, LONG* flavor) {
  const Object* object = (const Object*)self;
  wchar_t text[32] = L"Stand-in 0";
  Stall(object->plan, kStallGet, INFINITE);
  /* Object 0 is the service's identification, the others are walked ones with a Name. */
  if (object->position == 0 && lstrcmpiW(name, L"versionusedtocreatedb") == 0)
    lstrcpyW(text, kStandInVersion);
  else if (object->position == 0 || lstrcmpiW(name, L"Name") != 0)
    return (HRESULT)WBEM_E_NOT_FOUND;
  else
    text[9] = (wchar_t)(L'0' + object->position);
  if (value) {
    VariantInit(value);
    value->vt = VT_BSTR;
    value->bstrVal = SysAllocString(text);
  }
  if (type) *type = CIM_STRING;
  return S_OK;
}

static const IWbemClassObjectVtbl kClassObject = {
    UNKNOWN(IWbemClassObjectVtbl),
    .Get = ClassObjectGet,
};

static HRESULT STDMETHODCALLTYPE EnumNext(IEnumWbemClassObject* self, LONG timeout, ULONG count,
                                          IWbemClassObject** objects, ULONG* returned) {
  Object* walk = (Object*)self;
  *returned = 0;
  if (count < 1) return (HRESULT)WBEM_E_INVALID_PARAMETER;
  if (!Stall(walk->plan, kStallNext, (DWORD)timeout)) return WBEM_S_TIMEDOUT;
  if (walk->position >= 2) return WBEM_S_FALSE;
  objects[0] =
      (IWbemClassObject*)New(&kClassObject, &IID_IWbemClassObject, walk->plan, ++walk->position);
  *returned = objects[0] ? 1 : 0;
  return objects[0] ? WBEM_S_NO_ERROR : E_OUTOFMEMORY;
}

static const IEnumWbemClassObjectVtbl kEnum = {
    UNKNOWN(IEnumWbemClassObjectVtbl),
    .Next = EnumNext,
};

static HRESULT STDMETHODCALLTYPE ServicesExecQuery(IWbemServices* self, BSTR language, BSTR query,
                                                   LONG flags, IWbemContext* context,
                                                   IEnumWbemClassObject** objects) {
  Stall(((Object*)self)->plan, kStallQuery, INFINITE);
  *objects =
      (IEnumWbemClassObject*)New(&kEnum, &IID_IEnumWbemClassObject, ((Object*)self)->plan, 0);
  return *objects ? WBEM_S_NO_ERROR : E_OUTOFMEMORY;
}

/* The one named object there is the service's own identification. */
static HRESULT STDMETHODCALLTYPE ServicesGetObject(IWbemServices* self, BSTR path, LONG flags,
                                                   IWbemContext* context, IWbemClassObject** object,
                                                   IWbemCallResult** result) {
  if (result) *result = NULL;
  if (!object) return (HRESULT)WBEM_E_INVALID_PARAMETER;
  *object = NULL;
  if (!path || lstrcmpiW(path, L"__cimomidentification=@") != 0) return (HRESULT)WBEM_E_NOT_FOUND;
  *object = (IWbemClassObject*)New(&kClassObject, &IID_IWbemClassObject, ((Object*)self)->plan, 0);
  return *object ? WBEM_S_NO_ERROR : E_OUTOFMEMORY;
}

static const IWbemServicesVtbl kServices = {
    UNKNOWN(IWbemServicesVtbl),
    .GetObject = ServicesGetObject,
    .ExecQuery = ServicesExecQuery,
};

static HRESULT STDMETHODCALLTYPE LocatorConnect(IWbemLocator* self, BSTR resource, BSTR user,
                                                BSTR password, BSTR locale, LONG flags,
                                                BSTR authority, IWbemContext* context,
                                                IWbemServices** services) {
  Stall(((Object*)self)->plan, kStallConnect, INFINITE);
  *services = (IWbemServices*)New(&kServices, &IID_IWbemServices, ((Object*)self)->plan, 0);
  return *services ? WBEM_S_NO_ERROR : E_OUTOFMEMORY;
}

static const IWbemLocatorVtbl kLocator = {
    UNKNOWN(IWbemLocatorVtbl),
    .ConnectServer = LocatorConnect,
};

HRESULT CreateStallingLocator(const StallPlan* plan, IWbemLocator** locator) {
  *locator = (IWbemLocator*)New(&kLocator, &IID_IWbemLocator, plan, 0);
  return *locator ? S_OK : E_OUTOFMEMORY;
}
