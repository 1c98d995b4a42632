#include "win32/wmi_win32.h"

#include <oleauto.h>

#include <utility>

#include "win32/wide.h"

namespace velkaro::win32 {

namespace {

// A COM interface pointer, released with its owner.
template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  explicit ComPtr(T* adopted) : p_(adopted) {}
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  ~ComPtr() {
    if (p_) p_->Release();
  }
  T** out() { return &p_; }
  T* release() { return std::exchange(p_, nullptr); }
  T* get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }

 private:
  T* p_ = nullptr;
};

class Bstr {
 public:
  explicit Bstr(const std::wstring& s)
      : b_(SysAllocStringLen(s.data(), static_cast<UINT>(s.size()))) {}
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  ~Bstr() { SysFreeString(b_); }
  BSTR get() const { return b_; }

 private:
  BSTR b_;
};

class Variant {
 public:
  Variant() { VariantInit(&v); }
  Variant(const Variant&) = delete;
  Variant& operator=(const Variant&) = delete;
  ~Variant() { VariantClear(&v); }
  VARIANT v;
};

void SetSecurity(IUnknown* proxy) {
  // In-process objects refuse this; only proxies to the service need it.
  CoSetProxyBlanket(proxy, RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, nullptr, RPC_C_AUTHN_LEVEL_CALL,
                    RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE);
}

ComPtr<IWbemServices> ConnectNamespace(const WmiMoniker& moniker) {
  ComPtr<IWbemServices> services;
  ComPtr<IWbemLocator> locator;
  if (FAILED(CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER, IID_IWbemLocator,
                              reinterpret_cast<void**>(locator.out()))))
    return services;
  const std::wstring path = moniker.server == "."
                                ? Wide(moniker.nameSpace)
                                : L"\\\\" + Wide(moniker.server) + L"\\" + Wide(moniker.nameSpace);
  Bstr nameSpace(path);
  if (FAILED(locator->ConnectServer(nameSpace.get(), nullptr, nullptr, nullptr,
                                    WBEM_FLAG_CONNECT_USE_MAX_WAIT, nullptr, nullptr,
                                    services.out())))
    return ComPtr<IWbemServices>();
  SetSecurity(services.get());
  return services;
}

WmiValue Convert(const VARIANT& v, CIMTYPE cimType);

// One element of a one-dimensional safe array.
WmiValue Element(SAFEARRAY* array, VARTYPE type, LONG index, CIMTYPE cimType) {
  Variant element;
  if (type == VT_VARIANT) {
    if (FAILED(SafeArrayGetElement(array, &index, &element.v))) return WmiValue::Null();
  } else {
    switch (type) {
      case VT_BSTR:
      case VT_BOOL:
      case VT_I1:
      case VT_UI1:
      case VT_I2:
      case VT_UI2:
      case VT_I4:
      case VT_UI4:
      case VT_INT:
      case VT_UINT:
      case VT_I8:
      case VT_UI8:
      case VT_R4:
      case VT_R8:
        break;
      default:
        return WmiValue::Null();
    }
    // Read the element into a variant of the array's type (a BSTR is copied, so the variant
    // owns and frees it); all these types fit the variant's value union.
    element.v.vt = type;
    if (FAILED(SafeArrayGetElement(array, &index, &element.v.bstrVal))) {
      element.v.vt = VT_EMPTY;
      return WmiValue::Null();
    }
  }
  return Convert(element.v, cimType & ~CIM_FLAG_ARRAY);
}

WmiValue Convert(const VARIANT& v, CIMTYPE cimType) {
  if (v.vt & VT_ARRAY) {
    SAFEARRAY* array = (v.vt & VT_BYREF) ? *v.pparray : v.parray;
    std::vector<WmiValue> items;
    LONG lower = 0, upper = -1;
    if (array && SafeArrayGetDim(array) == 1 && SUCCEEDED(SafeArrayGetLBound(array, 1, &lower)) &&
        SUCCEEDED(SafeArrayGetUBound(array, 1, &upper))) {
      for (LONG i = lower; i <= upper; ++i)
        items.push_back(Element(array, static_cast<VARTYPE>(v.vt & VT_TYPEMASK), i, cimType));
    }
    return WmiValue::Array(std::move(items));
  }
  switch (v.vt) {
    case VT_EMPTY:
    case VT_NULL:
      return WmiValue::Null();
    case VT_BSTR:
      return WmiValue::Text(v.bstrVal
                                ? Narrow(std::wstring_view(v.bstrVal, SysStringLen(v.bstrVal)))
                                : std::string());
    case VT_BOOL:
      return WmiValue::Boolean(v.boolVal != VARIANT_FALSE);
    case VT_I1:
      return WmiValue::Integer(v.cVal);
    case VT_UI1:
      return WmiValue::Integer(v.bVal);
    case VT_I2:
      return WmiValue::Integer(cimType == CIM_UINT16 ? static_cast<uint16_t>(v.iVal) : v.iVal);
    case VT_UI2:
      return WmiValue::Integer(v.uiVal);
    case VT_I4:
    case VT_INT:
      // The service hands 16- and 32-bit unsigned numbers over in signed form.
      if (cimType == CIM_UINT32) return WmiValue::Integer(static_cast<uint32_t>(v.lVal));
      if (cimType == CIM_UINT16) return WmiValue::Integer(static_cast<uint16_t>(v.lVal));
      return WmiValue::Integer(v.lVal);
    case VT_UI4:
    case VT_UINT:
      return WmiValue::Integer(v.ulVal);
    case VT_I8:
      return WmiValue::Integer(v.llVal);
    case VT_UI8:
      if (v.ullVal > static_cast<ULONGLONG>(INT64_MAX))
        return WmiValue::Text(std::to_string(v.ullVal));
      return WmiValue::Integer(static_cast<int64_t>(v.ullVal));
    case VT_R4:
      return WmiValue::Real(v.fltVal);
    case VT_R8:
      return WmiValue::Real(v.dblVal);
    default: {
      Variant text;
      if (SUCCEEDED(VariantChangeType(&text.v, const_cast<VARIANT*>(&v), 0, VT_BSTR)))
        return Convert(text.v, CIM_STRING);
      return WmiValue::Null();
    }
  }
}

class ComObject : public WmiObject {
 public:
  explicit ComObject(ComPtr<IWbemClassObject> object) : object_(std::move(object)) {}
  std::optional<WmiValue> get(const std::string& name) override {
    Variant value;
    CIMTYPE type = 0;
    if (FAILED(object_->Get(Wide(name).c_str(), 0, &value.v, &type, nullptr))) return std::nullopt;
    return Convert(value.v, type);
  }

 private:
  ComPtr<IWbemClassObject> object_;
};

class ComObjectSet : public WmiObjectSet {
 public:
  ComObjectSet(ComPtr<IEnumWbemClassObject> objects, DWORD timeoutMs)
      : objects_(std::move(objects)), timeoutMs_(timeoutMs) {}

  std::unique_ptr<WmiObject> next() override {
    if (done_) return nullptr;
    ComPtr<IWbemClassObject> object;
    ULONG returned = 0;
    const HRESULT hr = objects_->Next(static_cast<long>(timeoutMs_), 1, object.out(), &returned);
    if (hr == WBEM_S_TIMEDOUT || FAILED(hr)) {
      failed_ = true;
      done_ = true;
      return nullptr;
    }
    if (returned == 0 || !object) {
      done_ = true;
      return nullptr;
    }
    return std::make_unique<ComObject>(std::move(object));
  }
  bool failed() const override { return failed_; }

 private:
  ComPtr<IEnumWbemClassObject> objects_;
  DWORD timeoutMs_;
  bool done_ = false;
  bool failed_ = false;
};

class ComService : public WmiService {
 public:
  ComService(ComPtr<IWbemServices> services, DWORD timeoutMs)
      : services_(std::move(services)), timeoutMs_(timeoutMs) {}

  std::unique_ptr<WmiObjectSet> execQuery(const std::string& query,
                                          std::optional<int32_t> flags) override {
    Bstr language(L"WQL");
    Bstr text(Wide(query));
    // A query given by its text alone runs with the scripting interface's default flags.
    const long queryFlags = flags ? *flags : WBEM_FLAG_RETURN_IMMEDIATELY;
    ComPtr<IEnumWbemClassObject> objects;
    if (FAILED(
            services_->ExecQuery(language.get(), text.get(), queryFlags, nullptr, objects.out())) ||
        !objects)
      return nullptr;
    SetSecurity(objects.get());
    return WrapObjectSet(objects.release(), timeoutMs_);
  }

 private:
  ComPtr<IWbemServices> services_;
  DWORD timeoutMs_;
};

}  // namespace

std::unique_ptr<WmiObjectSet> WrapObjectSet(IEnumWbemClassObject* objects, DWORD timeoutMs) {
  return std::make_unique<ComObjectSet>(ComPtr<IEnumWbemClassObject>(objects), timeoutMs);
}

std::unique_ptr<WmiService> ComManagement::connect(const std::string& moniker) {
  const auto parsed = ParseWmiMoniker(moniker);
  if (!parsed || !parsed->objectPath.empty()) return nullptr;
  auto services = ConnectNamespace(*parsed);
  if (!services) return nullptr;
  return std::make_unique<ComService>(std::move(services), timeoutMs_);
}

std::unique_ptr<WmiObject> ComManagement::getObject(const std::string& moniker) {
  const auto parsed = ParseWmiMoniker(moniker);
  if (!parsed || parsed->objectPath.empty()) return nullptr;
  auto services = ConnectNamespace(*parsed);
  if (!services) return nullptr;
  Bstr path(Wide(parsed->objectPath));
  ComPtr<IWbemClassObject> object;
  if (FAILED(services->GetObject(path.get(), WBEM_FLAG_RETURN_WBEM_COMPLETE, nullptr, object.out(),
                                 nullptr)) ||
      !object)
    return nullptr;
  return std::make_unique<ComObject>(std::move(object));
}

}  // namespace velkaro::win32
