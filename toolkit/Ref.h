#pragma once
// Counted object references. Using an empty reference raises NilObjectException instead of
// crashing, as the program's code expects of its runtime.
#include <memory>
#include <utility>

#include "toolkit/Exceptions.h"

namespace toolkit {

template <class T>
class Ref {
 public:
  Ref() = default;
  Ref(std::nullptr_t) {}
  Ref(std::shared_ptr<T> object) : object_(std::move(object)) {}
  template <class U, class = std::enable_if_t<std::is_convertible_v<U*, T*>>>
  Ref(const Ref<U>& other) : object_(other.Shared()) {}

  T* operator->() const { return &Deref(); }
  T& operator*() const { return Deref(); }
  bool IsNil() const { return !object_; }
  explicit operator bool() const { return static_cast<bool>(object_); }
  friend bool operator==(const Ref& a, const Ref& b) { return a.object_ == b.object_; }
  friend bool operator==(const Ref& a, std::nullptr_t) { return !a.object_; }

  const std::shared_ptr<T>& Shared() const { return object_; }
  T* Get() const { return object_.get(); }

  // The toolkit's checked cast: nil when the object is not of class U.
  template <class U>
  Ref<U> Cast() const { return Ref<U>(std::dynamic_pointer_cast<U>(object_)); }

 private:
  T& Deref() const {
    if (!object_) throw NilObjectException();
    return *object_;
  }
  std::shared_ptr<T> object_;
};

template <class T, class... Args>
Ref<T> New(Args&&... args) {
  return Ref<T>(std::make_shared<T>(std::forward<Args>(args)...));
}

}  // namespace toolkit
