// The owner of one COM interface reference: released when it goes or is given another, never
// copied (AddRef is never called behind the code's back).
#pragma once

#include <utility>

namespace kv {

template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  // Takes over a reference the caller holds.
  explicit ComPtr(T* object) : object_(object) {}
  ~ComPtr() { Reset(); }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ComPtr(ComPtr&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
  ComPtr& operator=(ComPtr&& other) noexcept {
    if (this != &other)
      Reset(std::exchange(other.object_, nullptr));
    return *this;
  }

  T* Get() const { return object_; }
  T* operator->() const { return object_; }
  explicit operator bool() const { return object_ != nullptr; }

  // Releases the reference held, and takes over `object`'s.
  void Reset(T* object = nullptr) {
    if (object_)
      object_->Release();
    object_ = object;
  }
  // For a call that hands out a new reference (CoCreateInstance, QueryInterface): the reference
  // held is released first.
  void** Receive() {
    Reset();
    return reinterpret_cast<void**>(&object_);
  }

 private:
  T* object_ = nullptr;
};

}  // namespace kv
