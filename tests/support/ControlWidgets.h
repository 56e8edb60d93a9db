#pragma once
// The widgets of a window's controls, and the window resized as the user drags its corner.
#include <QList>
#include <QRect>
#include <QWidget>
#include <ostream>

#include "toolkit/Window.h"

// Rectangles in failure messages as left,top widthxheight.
inline void PrintTo(const QRect& r, std::ostream* os) {
  *os << r.x() << "," << r.y() << " " << r.width() << "x" << r.height();
}

namespace testing_support {

// The widgets of the window's controls, in creation order.
inline QList<QWidget*> ControlWidgets(const toolkit::Window& window) {
  return window.ContentWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
}

// Grows or shrinks the window by the change of its content area.
inline void ResizeBy(const toolkit::Window& window, int dx, int dy) {
  QWidget* frame = window.ContentWidget()->window();
  frame->resize(frame->width() + dx, frame->height() + dy);
}

}  // namespace testing_support
