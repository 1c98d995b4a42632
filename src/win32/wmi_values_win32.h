// COM helpers of the management service's calls, and its values as the core's WmiValue.
#pragma once

#include <windows.h>
#include <oleauto.h>
#include <wbemidl.h>

#include <utility>

#include "platform/management.h"

namespace velkaro::win32 {

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

// Lets a proxy of the service call back with the program's identity (in-process objects refuse
// this; only proxies to the service need it).
void SetSecurity(IUnknown* proxy);

// A property value as the core sees it: numbers the service hands over in signed form (16- and
// 32-bit unsigned) made unsigned again, arrays of one dimension element by element, anything
// else as text where COM can convert it, or null.
WmiValue ToWmiValue(const VARIANT& v, CIMTYPE cimType);

}  // namespace velkaro::win32
