#pragma once
// One event of a control or window, bound to at most one handler of the owning window.
#include <functional>
#include <utility>

namespace toolkit {

template <class... Args>
class Event {
 public:
  using Handler = std::function<void(Args...)>;

  void Bind(Handler handler) { handler_ = std::move(handler); }
  bool IsBound() const { return static_cast<bool>(handler_); }

  // Runs the handler, if any; an exception goes on to the caller. Event sources that are
  // not themselves inside a handler go through their control's delivery instead, which
  // hands escaping exceptions to the report of unhandled errors.
  void Raise(Args... args) const {
    if (handler_) handler_(std::forward<Args>(args)...);
  }

 private:
  Handler handler_;
};

}  // namespace toolkit
