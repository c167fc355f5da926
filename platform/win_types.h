#pragma once
// The Windows COM types the WebView2 declarations need. On Windows they come
// from the system headers; elsewhere a minimal stand-in with the same names,
// so the browser control's logic and its test doubles build natively too.
#ifdef _WIN32
#include <windows.h>
#include <objidl.h>
#include <eventtoken.h>
#include <initguid.h>

#define VANTREL_WEBVIEW2_IID(name, ...) \
  inline constexpr IID IID_##name = __VA_ARGS__; \
  template <> inline const IID& IidOf<name>() { return IID_##name; }

#else
#include <cstdint>
#include <cstdlib>

typedef int32_t HRESULT;
typedef int BOOL;
typedef int32_t LONG;
typedef uint32_t ULONG;
typedef uint32_t UINT32;
typedef unsigned int UINT;
typedef int INT;
typedef int64_t INT64;
typedef uint64_t UINT64;
typedef char16_t WCHAR;
typedef WCHAR* LPWSTR;
typedef const WCHAR* LPCWSTR;
typedef const WCHAR* PCWSTR;
typedef void* HWND;
typedef uintptr_t WPARAM;
typedef intptr_t LPARAM;

#define STDMETHODCALLTYPE
#define TRUE 1
#define FALSE 0
#define S_OK static_cast<HRESULT>(0)
#define S_FALSE static_cast<HRESULT>(1)
#define E_NOTIMPL static_cast<HRESULT>(0x80004001u)
#define E_NOINTERFACE static_cast<HRESULT>(0x80004002u)
#define E_POINTER static_cast<HRESULT>(0x80004003u)
#define E_ABORT static_cast<HRESULT>(0x80004004u)
#define E_FAIL static_cast<HRESULT>(0x80004005u)
#define E_UNEXPECTED static_cast<HRESULT>(0x8000FFFFu)
#define E_OUTOFMEMORY static_cast<HRESULT>(0x8007000Eu)
#define E_INVALIDARG static_cast<HRESULT>(0x80070057u)
#define SUCCEEDED(hr) (static_cast<HRESULT>(hr) >= 0)
#define FAILED(hr) (static_cast<HRESULT>(hr) < 0)

struct GUID {
  uint32_t Data1;
  uint16_t Data2;
  uint16_t Data3;
  uint8_t Data4[8];
};
typedef GUID IID;
typedef const IID& REFIID;
inline bool operator==(const GUID& a, const GUID& b) {
  if (a.Data1 != b.Data1 || a.Data2 != b.Data2 || a.Data3 != b.Data3) return false;
  for (int i = 0; i < 8; ++i) {
    if (a.Data4[i] != b.Data4[i]) return false;
  }
  return true;
}
inline bool operator!=(const GUID& a, const GUID& b) { return !(a == b); }

// Passed through by pointer only.
struct VARIANT {
  uint16_t vt;
  uint16_t reserved[3];
  uint64_t value[2];
};

struct RECT {
  LONG left, top, right, bottom;
};
struct POINT {
  LONG x, y;
};
typedef struct EventRegistrationToken {
  INT64 value;
} EventRegistrationToken;

inline constexpr IID IID_IUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
struct IUnknown {
  virtual HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) = 0;
  virtual ULONG STDMETHODCALLTYPE AddRef() = 0;
  virtual ULONG STDMETHODCALLTYPE Release() = 0;
};

// Only reading and writing bytes: what the resource server needs of a stream.
inline constexpr IID IID_IStream = {0x0000000C, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
struct IStream : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Read(void* buffer, ULONG size, ULONG* read) = 0;
  virtual HRESULT STDMETHODCALLTYPE Write(const void* buffer, ULONG size, ULONG* written) = 0;
};

inline void* CoTaskMemAlloc(size_t size) { return std::malloc(size); }
inline void CoTaskMemFree(void* p) { std::free(p); }

#define VANTREL_WEBVIEW2_IID(name, ...) \
  inline constexpr IID IID_##name = __VA_ARGS__; \
  template <> inline const IID& IidOf<name>() { return IID_##name; }
#endif

// The interface identifier of a COM interface type.
template <typename Interface>
const IID& IidOf();
template <> inline const IID& IidOf<IUnknown>() { return IID_IUnknown; }
template <> inline const IID& IidOf<IStream>() { return IID_IStream; }
