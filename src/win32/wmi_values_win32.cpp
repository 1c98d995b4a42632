#include "win32/wmi_values_win32.h"

#include <string>
#include <vector>

#include "win32/wide.h"

namespace velkaro::win32 {

void SetSecurity(IUnknown* proxy) {
  CoSetProxyBlanket(proxy, RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, nullptr, RPC_C_AUTHN_LEVEL_CALL,
                    RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE);
}

namespace {

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
  return ToWmiValue(element.v, cimType & ~CIM_FLAG_ARRAY);
}

// The elements of a one-dimensional array (any other array gives none).
WmiValue ArrayValue(const VARIANT& v, CIMTYPE cimType) {
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

}  // namespace

WmiValue ToWmiValue(const VARIANT& v, CIMTYPE cimType) {
  if (v.vt & VT_ARRAY) return ArrayValue(v, cimType);
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
        return ToWmiValue(text.v, CIM_STRING);
      return WmiValue::Null();
    }
  }
}

}  // namespace velkaro::win32
