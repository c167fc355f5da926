#pragma once
// Owns one reference on a COM object.
#include <cstddef>

#include "platform/win_types.h"

#include <utility>

namespace vantrel {

template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(std::nullptr_t) {}
  // Takes over a reference the caller already holds.
  static ComPtr Attach(T* p) {
    ComPtr result;
    result.p_ = p;
    return result;
  }
  // Adds a reference of its own.
  static ComPtr Share(T* p) {
    if (p) p->AddRef();
    return Attach(p);
  }
  ComPtr(const ComPtr& other) : p_(other.p_) {
    if (p_) p_->AddRef();
  }
  ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  ComPtr& operator=(ComPtr other) noexcept {
    std::swap(p_, other.p_);
    return *this;
  }
  ~ComPtr() { Reset(); }

  T* Get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  // For out-parameters: releases the current object first.
  T** Put() {
    Reset();
    return &p_;
  }
  T* Detach() { return std::exchange(p_, nullptr); }
  // Another interface of the same object, or empty.
  template <typename U>
  ComPtr<U> As() const {
    ComPtr<U> other;
    if (p_) p_->QueryInterface(IidOf<U>(), reinterpret_cast<void**>(other.Put()));
    return other;
  }
  void Reset() {
    if (p_) std::exchange(p_, nullptr)->Release();
  }

 private:
  T* p_ = nullptr;
};

}  // namespace vantrel
