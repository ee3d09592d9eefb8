#pragma once

// One COM interface pointer, released when it goes.
template <typename Interface>
class ComReference {
 public:
  ComReference() = default;
  ComReference(const ComReference&) = delete;
  ComReference& operator=(const ComReference&) = delete;
  ~ComReference() {
    if (pointer_ != nullptr) pointer_->Release();
  }
  Interface** Out() { return &pointer_; }
  // For the calls that take any interface (CoCreateInstance, QueryInterface, QueryService).
  void** OutAsVoid() { return reinterpret_cast<void**>(&pointer_); }
  Interface* operator->() const { return pointer_; }
  explicit operator bool() const { return pointer_ != nullptr; }

 private:
  Interface* pointer_ = nullptr;
};
