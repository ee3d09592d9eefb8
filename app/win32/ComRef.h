#pragma once

#include <unknwn.h>

// Holds one reference to a COM object and releases it when it goes.
template <typename T>
class ComRef {
 public:
  ComRef() = default;
  ~ComRef() { Reset(); }
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;
  ComRef(ComRef&& other) noexcept : object_(other.object_) { other.object_ = nullptr; }
  ComRef& operator=(ComRef&& other) noexcept {
    if (this != &other) {
      Reset();
      object_ = other.object_;
      other.object_ = nullptr;
    }
    return *this;
  }

  T* operator->() const { return object_; }
  T* Get() const { return object_; }
  explicit operator bool() const { return object_ != nullptr; }
  // Where a creating call stores the new reference.
  T** Out() {
    Reset();
    return &object_;
  }
  void** OutVoid() { return reinterpret_cast<void**>(Out()); }
  void Reset() {
    if (object_ != nullptr) object_->Release();
    object_ = nullptr;
  }

 private:
  T* object_ = nullptr;
};
