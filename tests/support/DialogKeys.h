#pragma once
// Keys typed as the user types them, and the presses of a button that they cause.
#include <QApplication>
#include <QKeyEvent>
#include <QString>
#include <QWidget>
#include <functional>
#include <utility>

#include "toolkit/Controls.h"

namespace testing_support {

// Pressed and released on the receiver, from where an unused key goes on to its parents.
inline void Type(QWidget& receiver, Qt::Key key, const QString& text = {}) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
  QApplication::sendEvent(&receiver, &press);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
  QApplication::sendEvent(&receiver, &release);
}

inline void TypeText(QWidget& receiver, const QString& text) {
  for (QChar character : text) Type(receiver, static_cast<Qt::Key>(character.unicode()), character);
}

// Counts the presses of a button, then runs the handler given for it.
class PressCounter {
 public:
  explicit PressCounter(toolkit::PushButton& button, std::function<void(toolkit::PushButton&)> handler = {}) {
    button.Action.Bind([this, handler = std::move(handler)](toolkit::PushButton& pressed) {
      ++presses;
      if (handler) handler(pressed);
    });
  }
  int presses = 0;
};

}  // namespace testing_support
