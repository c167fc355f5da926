#pragma once
// Reference-counted COM objects and handler objects, for the program's own
// callbacks into WebView2 and for the test doubles of WebView2 itself.
#include <atomic>
#include <exception>
#include <functional>
#include <tuple>
#include <type_traits>
#include <utility>

#include "platform/com_ptr.h"
#include "platform/win_types.h"

namespace vantrel {

// Implements IUnknown for an object offering `Interfaces` (each derived
// directly from IUnknown). Created with one reference; deleted at the last
// Release.
template <typename... Interfaces>
class TComObject : public Interfaces... {
 public:
  TComObject() = default;
  TComObject(const TComObject&) = delete;
  TComObject& operator=(const TComObject&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (riid == IidOf<IUnknown>()) {
      *object = static_cast<IUnknown*>(static_cast<First*>(this));
    } else {
      static_cast<void>(((riid == IidOf<Interfaces>() ? (*object = static_cast<Interfaces*>(this), true) : false) || ...));
    }
    if (!*object) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

 protected:
  virtual ~TComObject() = default;

 private:
  using First = std::tuple_element_t<0, std::tuple<Interfaces...>>;
  std::atomic<ULONG> references_{1};
};

// A handler object for a WebView2 handler interface (one method, Invoke):
// Invoke calls `callback`. No exception leaves Invoke into the caller: one
// thrown by the callback ends the call with S_OK, as if it had returned.
template <typename Interface, typename Signature = decltype(&Interface::Invoke)>
class TComHandler;

template <typename Interface, typename Class, typename... Args>
class TComHandler<Interface, HRESULT (STDMETHODCALLTYPE Class::*)(Args...)> final : public TComObject<Interface> {
 public:
  using Callback = std::function<HRESULT(Args...)>;
  explicit TComHandler(Callback callback) : callback_(std::move(callback)) {}

  HRESULT STDMETHODCALLTYPE Invoke(Args... args) override {
    try {
      return callback_ ? callback_(args...) : S_OK;
    } catch (...) {
      return S_OK;
    }
  }

 private:
  Callback callback_;
};

template <typename Interface, typename Callback>
ComPtr<Interface> MakeHandler(Callback&& callback) {
  return ComPtr<Interface>::Attach(new TComHandler<Interface>(std::forward<Callback>(callback)));
}

}  // namespace vantrel
