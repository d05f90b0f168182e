// ComPtr: the one owner of a reference to a COM interface; move-only, released when it ends.
//
// Thread: the apartment that the interface belongs to.
#pragma once

#include <unknwn.h>

template <typename Interface>
class ComPtr {
 public:
  ComPtr() = default;
  // Takes over a reference the caller already holds (no AddRef).
  explicit ComPtr(Interface* adopted) : pointer_(adopted) {}
  ~ComPtr() { Reset(); }
  ComPtr(ComPtr&& other) noexcept : pointer_(other.Detach()) {}
  ComPtr& operator=(ComPtr&& other) noexcept {
    if (this != &other) {
      Reset();
      pointer_ = other.Detach();
    }
    return *this;
  }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;

  // A new reference to `pointer` (AddRef), or none when null.
  static ComPtr Share(Interface* pointer) {
    if (pointer != nullptr)
      pointer->AddRef();
    return ComPtr(pointer);
  }

  Interface* get() const { return pointer_; }
  Interface* operator->() const { return pointer_; }
  explicit operator bool() const { return pointer_ != nullptr; }
  // Releases the reference held and leaves the owner empty.
  void Reset() {
    Interface* old = pointer_;
    pointer_ = nullptr;
    if (old != nullptr)
      old->Release();
  }
  // The slot for a call that hands out a new reference; the old one is released first.
  Interface** Receive() {
    Reset();
    return &pointer_;
  }
  void** ReceiveVoid() { return reinterpret_cast<void**>(Receive()); }
  // Gives the reference to the caller.
  Interface* Detach() {
    Interface* pointer = pointer_;
    pointer_ = nullptr;
    return pointer;
  }
  // QueryInterface for `Other`; an empty owner when the object does not have it.
  template <typename Other>
  ComPtr<Other> As() const {
    ComPtr<Other> other;
    if (pointer_ != nullptr)
      pointer_->QueryInterface(__uuidof(Other), other.ReceiveVoid());
    return other;
  }

 private:
  Interface* pointer_ = nullptr;
};
