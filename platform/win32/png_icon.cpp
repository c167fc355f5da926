#include "platform/win32/png_icon.h"

#include <wincodec.h>

#include <vector>

#include "platform/com_ptr.h"

namespace vantrel::win32 {

namespace {
// COM stays initialised for the caller's thread only while we decode.
class ComScope {
 public:
  ComScope() : ok_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ~ComScope() {
    if (ok_) CoUninitialize();
  }

 private:
  bool ok_;
};
}  // namespace

HICON LoadPngResourceIcon(const wchar_t* name, int size) {
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC resource = FindResourceW(module, name, MAKEINTRESOURCEW(10) /* RT_RCDATA */);
  if (!resource) return nullptr;
  HGLOBAL loaded = LoadResource(module, resource);
  const DWORD length = SizeofResource(module, resource);
  auto* bytes = static_cast<BYTE*>(LockResource(loaded));
  if (!bytes || length == 0) return nullptr;

  ComScope com;
  ComPtr<IWICImagingFactory> factory;
  ComPtr<IWICStream> stream;
  ComPtr<IWICBitmapDecoder> decoder;
  ComPtr<IWICBitmapFrameDecode> frame;
  ComPtr<IWICBitmapScaler> scaler;
  ComPtr<IWICFormatConverter> converter;
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                              reinterpret_cast<void**>(factory.Put()))) ||
      FAILED(factory->CreateStream(stream.Put())) || FAILED(stream->InitializeFromMemory(bytes, length)) ||
      FAILED(factory->CreateDecoderFromStream(stream.Get(), nullptr, WICDecodeMetadataCacheOnDemand,
                                              decoder.Put())) ||
      FAILED(decoder->GetFrame(0, frame.Put())) || FAILED(factory->CreateBitmapScaler(scaler.Put())) ||
      FAILED(scaler->Initialize(frame.Get(), static_cast<UINT>(size), static_cast<UINT>(size),
                                WICBitmapInterpolationModeFant)) ||
      FAILED(factory->CreateFormatConverter(converter.Put())) ||
      FAILED(converter->Initialize(scaler.Get(), GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone, nullptr, 0,
                                   WICBitmapPaletteTypeCustom))) {
    return nullptr;
  }

  BITMAPV5HEADER header = {};
  header.bV5Size = sizeof header;
  header.bV5Width = size;
  header.bV5Height = -size;
  header.bV5Planes = 1;
  header.bV5BitCount = 32;
  header.bV5Compression = BI_BITFIELDS;
  header.bV5RedMask = 0x00FF0000;
  header.bV5GreenMask = 0x0000FF00;
  header.bV5BlueMask = 0x000000FF;
  header.bV5AlphaMask = 0xFF000000;
  void* pixels = nullptr;
  HDC screen = GetDC(nullptr);
  HBITMAP color = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS, &pixels,
                                   nullptr, 0);
  ReleaseDC(nullptr, screen);
  if (!color) return nullptr;
  const UINT stride = static_cast<UINT>(size) * 4;
  HICON icon = nullptr;
  if (SUCCEEDED(converter->CopyPixels(nullptr, stride, stride * static_cast<UINT>(size),
                                      static_cast<BYTE*>(pixels)))) {
    HBITMAP mask = CreateBitmap(size, size, 1, 1, nullptr);
    ICONINFO info = {};
    info.fIcon = TRUE;
    info.hbmColor = color;
    info.hbmMask = mask;
    icon = CreateIconIndirect(&info);
    DeleteObject(mask);
  }
  DeleteObject(color);
  return icon;
}

bool IsWindows8OrLater() {
  using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  const auto getVersion =
      ntdll ? reinterpret_cast<RtlGetVersionFn>(reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlGetVersion")))
            : nullptr;
  OSVERSIONINFOW version = {};
  version.dwOSVersionInfoSize = sizeof version;
  if (!getVersion || getVersion(&version) != 0) return false;
  return version.dwMajorVersion > 6 || (version.dwMajorVersion == 6 && version.dwMinorVersion >= 2);
}

}  // namespace vantrel::win32
