#include "win32/wmi_win32.h"

#include <algorithm>
#include <utility>

#include "win32/wide.h"
#include "win32/wmi_values_win32.h"

namespace velkaro::win32 {

namespace {

template <typename T>
class Remote {
 public:
  Remote(ServiceCalls& owner, std::shared_ptr<ServiceThread> thread, T* object)
      : owner_(owner), thread_(std::move(thread)), object_(object) {}
  Remote(const Remote&) = delete;
  Remote& operator=(const Remote&) = delete;
  ~Remote() {
    // A thread that was given up refuses the job: the object is left to it.
    if (thread_->onThisThread())
      object_->Release();
    else
      thread_->post([object = object_] { object->Release(); });
  }
  // Runs `work(object)` on the object's thread; see ServiceCalls::call.
  template <typename R, typename Work>
  std::optional<R> call(Work work) {
    return owner_.call<R>(thread_, [object = object_, work] { return work(object); });
  }
  ServiceCalls& owner() { return owner_; }
  const std::shared_ptr<ServiceThread>& thread() { return thread_; }

 private:
  ServiceCalls& owner_;
  std::shared_ptr<ServiceThread> thread_;
  T* object_;
};

class ComObject : public WmiObject {
 public:
  ComObject(ServiceCalls& owner, std::shared_ptr<ServiceThread> thread, IWbemClassObject* object)
      : object_(owner, std::move(thread), object) {}
  std::optional<WmiValue> get(const std::string& name) override {
    auto value = object_.call<std::optional<WmiValue>>(
        [name = Wide(name)](IWbemClassObject* object) -> std::optional<WmiValue> {
          Variant value;
          CIMTYPE type = 0;
          if (FAILED(object->Get(name.c_str(), 0, &value.v, &type, nullptr))) return std::nullopt;
          return ToWmiValue(value.v, type);
        });
    return value ? std::move(*value) : std::nullopt;
  }

 private:
  Remote<IWbemClassObject> object_;
};

// Next's answer: the object, or why there is none.
struct NextObject {
  HRESULT hr = S_OK;
  IWbemClassObject* object = nullptr;
};
inline void Dispose(const NextObject& next) {
  if (next.object) next.object->Release();
}

class ComObjectSet : public WmiObjectSet {
 public:
  ComObjectSet(ServiceCalls& owner, std::shared_ptr<ServiceThread> thread,
               IEnumWbemClassObject* objects)
      : objects_(owner, std::move(thread), objects) {}

  std::unique_ptr<WmiObject> next() override {
    if (done_) return nullptr;
    // The service's own wait ends a margin before the work's deadline: a slow service answers
    // "timed out" while the window still waits, and the thread stays usable.
    const long waitMs = static_cast<long>(
        std::min(objects_.owner().serviceWaitSeconds() * 1000.0, double{0x7FFFFFFE}));
    const auto next = objects_.call<NextObject>([waitMs](IEnumWbemClassObject* objects) {
      NextObject answer;
      ULONG returned = 0;
      answer.hr = objects->Next(waitMs, 1, &answer.object, &returned);
      if (returned == 0 && answer.object) {
        answer.object->Release();
        answer.object = nullptr;
      }
      return answer;
    });
    if (!next || next->hr == WBEM_S_TIMEDOUT || FAILED(next->hr)) {
      if (next) Dispose(*next);
      if (next && next->hr == WBEM_S_TIMEDOUT) objects_.owner().unanswered();
      failed_ = done_ = true;
      return nullptr;
    }
    if (!next->object) {
      done_ = true;
      return nullptr;
    }
    return std::make_unique<ComObject>(objects_.owner(), objects_.thread(), next->object);
  }
  bool failed() const override { return failed_; }

 private:
  Remote<IEnumWbemClassObject> objects_;
  bool done_ = false;
  bool failed_ = false;
};

class ComService : public WmiService {
 public:
  ComService(ServiceCalls& owner, std::shared_ptr<ServiceThread> thread, IWbemServices* services)
      : services_(owner, std::move(thread), services) {}

  std::unique_ptr<WmiObjectSet> execQuery(const std::string& query,
                                          std::optional<int32_t> flags) override {
    // A query given by its text alone runs with the scripting interface's default flags.
    const long queryFlags = flags ? *flags : WBEM_FLAG_RETURN_IMMEDIATELY;
    const auto objects = services_.call<IEnumWbemClassObject*>(
        [text = Wide(query), queryFlags](IWbemServices* services) -> IEnumWbemClassObject* {
          Bstr language(L"WQL");
          Bstr wql(text);
          IEnumWbemClassObject* objects = nullptr;
          if (FAILED(services->ExecQuery(language.get(), wql.get(), queryFlags, nullptr, &objects)))
            return nullptr;
          if (objects) SetSecurity(objects);
          return objects;
        });
    if (!objects || !*objects) return nullptr;
    return std::make_unique<ComObjectSet>(services_.owner(), services_.thread(), *objects);
  }

 private:
  Remote<IWbemServices> services_;
};

HRESULT CreateWbemLocator(IWbemLocator** locator) {
  return CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER, IID_IWbemLocator,
                          reinterpret_cast<void**>(locator));
}

// Connects to the namespace a moniker names (on the service thread).
IWbemServices* ConnectNamespace(const ComManagement::LocatorFactory& makeLocator,
                                const WmiMoniker& moniker) {
  ComPtr<IWbemLocator> locator;
  if (FAILED(makeLocator(locator.out())) || !locator) return nullptr;
  const std::wstring path = moniker.server == "."
                                ? Wide(moniker.nameSpace)
                                : L"\\\\" + Wide(moniker.server) + L"\\" + Wide(moniker.nameSpace);
  Bstr nameSpace(path);
  IWbemServices* services = nullptr;
  if (FAILED(locator->ConnectServer(nameSpace.get(), nullptr, nullptr, nullptr,
                                    WBEM_FLAG_CONNECT_USE_MAX_WAIT, nullptr, nullptr, &services)))
    return nullptr;
  if (services) SetSecurity(services);
  return services;
}

}  // namespace

ComManagement::ComManagement(MessagePump& pump, Deadlines& deadlines, LocatorFactory locator,
                             ServiceTiming timing)
    : calls_(pump, deadlines, timing),
      locator_(locator ? std::move(locator) : LocatorFactory(CreateWbemLocator)) {}

std::unique_ptr<WmiService> ComManagement::connect(const std::string& moniker) {
  const auto parsed = ParseWmiMoniker(moniker);
  if (!parsed || !parsed->objectPath.empty()) return nullptr;
  const auto thread = calls_.thread();
  const auto services = calls_.call<IWbemServices*>(
      thread,
      [makeLocator = locator_, where = *parsed] { return ConnectNamespace(makeLocator, where); });
  if (!services || !*services) return nullptr;
  return std::make_unique<ComService>(calls_, thread, *services);
}

std::unique_ptr<WmiObject> ComManagement::getObject(const std::string& moniker) {
  const auto parsed = ParseWmiMoniker(moniker);
  if (!parsed || parsed->objectPath.empty()) return nullptr;
  const auto thread = calls_.thread();
  const auto object = calls_.call<IWbemClassObject*>(
      thread, [makeLocator = locator_, where = *parsed]() -> IWbemClassObject* {
        ComPtr<IWbemServices> services(ConnectNamespace(makeLocator, where));
        if (!services) return nullptr;
        Bstr path(Wide(where.objectPath));
        IWbemClassObject* object = nullptr;
        if (FAILED(services->GetObject(path.get(), WBEM_FLAG_RETURN_WBEM_COMPLETE, nullptr, &object,
                                       nullptr)))
          return nullptr;
        return object;
      });
  if (!object || !*object) return nullptr;
  return std::make_unique<ComObject>(calls_, thread, *object);
}

}  // namespace velkaro::win32
