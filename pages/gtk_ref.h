// Ownership helpers for GObject references and C callbacks.
#pragma once

#include <glib-object.h>

#include <utility>

namespace pbz {

// Holds one reference of a GObject and drops it with g_object_unref.
template <typename T>
class RefPtr {
 public:
  RefPtr() = default;
  // Takes over a reference the caller already owns.
  static RefPtr Adopt(T* object) {
    RefPtr ref;
    ref.object_ = object;
    return ref;
  }
  // Adds a reference of its own (sinking a floating one).
  static RefPtr Share(T* object) {
    if (object) g_object_ref_sink(object);
    return Adopt(object);
  }
  RefPtr(const RefPtr&) = delete;
  RefPtr& operator=(const RefPtr&) = delete;
  RefPtr(RefPtr&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
  RefPtr& operator=(RefPtr&& other) noexcept {
    if (this != &other) {
      Reset();
      object_ = std::exchange(other.object_, nullptr);
    }
    return *this;
  }
  ~RefPtr() { Reset(); }

  void Reset() {
    if (object_) g_object_unref(std::exchange(object_, nullptr));
  }
  T* get() const { return object_; }
  explicit operator bool() const { return object_ != nullptr; }

 private:
  T* object_ = nullptr;
};

}  // namespace pbz
