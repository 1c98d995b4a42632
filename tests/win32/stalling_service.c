/* The stand-in management service, in C: each object is a vtable with the few methods the
   program calls; the others are never reached. */
#define COBJMACROS
#pragma GCC diagnostic ignored "-Wunused-parameter" /* COM methods ignore most of theirs */
#include "stalling_service.h"

#include <stdlib.h>
#include <string.h>

typedef struct Object {
  const void* lpVtbl;
  LONG refs;
  const StallPlan* plan;
  int position; /* enumerator: objects handed out; object: its number */
} Object;

static void Stall(const StallPlan* plan, enum StallStep step) {
  if (plan->step != step) return;
  if (plan->release)
    WaitForSingleObject(plan->release, plan->ms);
  else
    Sleep(plan->ms);
}

static void* New(const void* vtable, const StallPlan* plan, int position) {
  Object* object = (Object*)calloc(1, sizeof(Object));
  if (!object) return NULL;
  object->lpVtbl = vtable;
  object->refs = 1;
  object->plan = plan;
  object->position = position;
  return object;
}

static ULONG AddRefObject(void* self) {
  return (ULONG)InterlockedIncrement(&((Object*)self)->refs);
}

static ULONG ReleaseObject(void* self) {
  const LONG refs = InterlockedDecrement(&((Object*)self)->refs);
  if (refs == 0) free(self);
  return (ULONG)refs;
}

/* IUnknown of one interface: the object answers for IUnknown and that interface alone. */
#define UNKNOWN(prefix, Type, iid)                                                      \
  static HRESULT STDMETHODCALLTYPE prefix##Query(Type* self, REFIID riid, void** out) { \
    if (!IsEqualIID(riid, &IID_IUnknown) && !IsEqualIID(riid, iid)) {                   \
      *out = NULL;                                                                      \
      return E_NOINTERFACE;                                                             \
    }                                                                                   \
    AddRefObject(self);                                                                 \
    *out = self;                                                                        \
    return S_OK;                                                                        \
  }                                                                                     \
  static ULONG STDMETHODCALLTYPE prefix##AddRef(Type* self) {                           \
    return AddRefObject(self);                                                          \
  }                                                                                     \
  static ULONG STDMETHODCALLTYPE prefix##Release(Type* self) {                          \
    return ReleaseObject(self);                                                         \
  }

UNKNOWN(ClassObject, IWbemClassObject, &IID_IWbemClassObject)
UNKNOWN(Enum, IEnumWbemClassObject, &IID_IEnumWbemClassObject)
UNKNOWN(Services, IWbemServices, &IID_IWbemServices)
UNKNOWN(Locator, IWbemLocator, &IID_IWbemLocator)

static HRESULT STDMETHODCALLTYPE ClassObjectGet(IWbemClassObject* self, LPCWSTR name, LONG flags,
                                                VARIANT* value, CIMTYPE* type, LONG* flavor) {
  const Object* object = (const Object*)self;
  wchar_t text[32] = L"Stand-in 0";
  Stall(object->plan, kStallGet);
  if (lstrcmpiW(name, L"Name") != 0) return (HRESULT)WBEM_E_NOT_FOUND;
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
    .QueryInterface = ClassObjectQuery,
    .AddRef = ClassObjectAddRef,
    .Release = ClassObjectRelease,
    .Get = ClassObjectGet,
};

static HRESULT STDMETHODCALLTYPE EnumNext(IEnumWbemClassObject* self, LONG timeout, ULONG count,
                                          IWbemClassObject** objects, ULONG* returned) {
  Object* walk = (Object*)self;
  *returned = 0;
  if (count < 1) return (HRESULT)WBEM_E_INVALID_PARAMETER;
  Stall(walk->plan, kStallNext);
  if (walk->position >= 2) return WBEM_S_FALSE;
  objects[0] = (IWbemClassObject*)New(&kClassObject, walk->plan, ++walk->position);
  *returned = objects[0] ? 1 : 0;
  return objects[0] ? WBEM_S_NO_ERROR : E_OUTOFMEMORY;
}

static const IEnumWbemClassObjectVtbl kEnum = {
    .QueryInterface = EnumQuery,
    .AddRef = EnumAddRef,
    .Release = EnumRelease,
    .Next = EnumNext,
};

static HRESULT STDMETHODCALLTYPE ServicesExecQuery(IWbemServices* self, BSTR language, BSTR query,
                                                   LONG flags, IWbemContext* context,
                                                   IEnumWbemClassObject** objects) {
  Stall(((Object*)self)->plan, kStallQuery);
  *objects = (IEnumWbemClassObject*)New(&kEnum, ((Object*)self)->plan, 0);
  return *objects ? WBEM_S_NO_ERROR : E_OUTOFMEMORY;
}

/* Named objects are not there (the program asks for the service's own identification). */
static HRESULT STDMETHODCALLTYPE ServicesGetObject(IWbemServices* self, BSTR path, LONG flags,
                                                   IWbemContext* context, IWbemClassObject** object,
                                                   IWbemCallResult** result) {
  if (object) *object = NULL;
  if (result) *result = NULL;
  return (HRESULT)WBEM_E_NOT_FOUND;
}

static const IWbemServicesVtbl kServices = {
    .QueryInterface = ServicesQuery,
    .AddRef = ServicesAddRef,
    .Release = ServicesRelease,
    .GetObject = ServicesGetObject,
    .ExecQuery = ServicesExecQuery,
};

static HRESULT STDMETHODCALLTYPE LocatorConnect(IWbemLocator* self, BSTR resource, BSTR user,
                                                BSTR password, BSTR locale, LONG flags,
                                                BSTR authority, IWbemContext* context,
                                                IWbemServices** services) {
  Stall(((Object*)self)->plan, kStallConnect);
  *services = (IWbemServices*)New(&kServices, ((Object*)self)->plan, 0);
  return *services ? WBEM_S_NO_ERROR : E_OUTOFMEMORY;
}

static const IWbemLocatorVtbl kLocator = {
    .QueryInterface = LocatorQuery,
    .AddRef = LocatorAddRef,
    .Release = LocatorRelease,
    .ConnectServer = LocatorConnect,
};

HRESULT CreateStallingLocator(const StallPlan* plan, IWbemLocator** locator) {
  *locator = (IWbemLocator*)New(&kLocator, plan, 0);
  return *locator ? S_OK : E_OUTOFMEMORY;
}

StallPlan ParseStallPlan(const char* text) {
  static const char* const kSteps[] = {"", "connect", "query", "next", "get"};
  StallPlan plan = {kStallNowhere, INFINITE, NULL};
  const char* colon = text ? strchr(text, ':') : NULL;
  const size_t length = colon ? (size_t)(colon - text) : (text ? strlen(text) : 0);
  for (int step = kStallConnect; step <= kStallGet; ++step)
    if (length == strlen(kSteps[step]) && strncmp(text, kSteps[step], length) == 0)
      plan.step = (enum StallStep)step;
  if (colon) plan.ms = (DWORD)strtoul(colon + 1, NULL, 10);
  return plan;
}
