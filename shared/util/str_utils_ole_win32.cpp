// Variant to text, by the system's own conversion rules.
#include <windows.h>
#include <oleauto.h>

#include "platform/win32/win_text.h"
#include "shared/util/str_utils.h"

namespace vantrel {

namespace {
bool IsTextual(VARTYPE type) {
  switch (type) {
    case VT_BSTR:
    case VT_I1: case VT_I2: case VT_I4: case VT_I8: case VT_INT:
    case VT_UI1: case VT_UI2: case VT_UI4: case VT_UI8: case VT_UINT:
    case VT_R4: case VT_R8: case VT_CY: case VT_DECIMAL:
    case VT_DATE:
      return true;
    default:
      return false;
  }
}
}  // namespace

ustring TStrUtils::OleVarToStr(const VARIANT& Value) {
  if (!IsTextual(static_cast<VARTYPE>(V_VT(&Value) & ~VT_BYREF))) return {};
  VARIANT text;
  VariantInit(&text);
  ustring result;
  if (SUCCEEDED(VariantChangeType(&text, const_cast<VARIANT*>(&Value), 0, VT_BSTR)) && V_BSTR(&text))
    result = win32::FromW(V_BSTR(&text));
  VariantClear(&text);
  return result;
}

}  // namespace vantrel
