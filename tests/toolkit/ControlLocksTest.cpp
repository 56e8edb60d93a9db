// When a window is resized, each control keeps its distance to the edges it is locked to: a
// control locked to one side only follows that side, one locked to both sides grows with the
// window, and every other control keeps its place.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QList>
#include <QRect>
#include <QWidget>
#include <map>
#include <memory>
#include <ostream>
#include <string>

#include "app/Startup.h"
#include "monitor/WindowMain.h"
#include "tests/support/TestEnvironment.h"
#include "toolkit/Controls.h"
#include "toolkit/Window.h"

// Rectangles in failure messages as left,top widthxheight.
static void PrintTo(const QRect& r, std::ostream* os) {
  *os << r.x() << "," << r.y() << " " << r.width() << "x" << r.height();
}

namespace {

using toolkit::Ref;

// The widgets of the window's controls, in creation order.
QList<QWidget*> ControlWidgets(const toolkit::Window& window) {
  return window.ContentWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
}

// Grows or shrinks the window as the user drags its corner, by the change of its content area.
void ResizeBy(const toolkit::Window& window, int dx, int dy) {
  QWidget* frame = window.ContentWidget()->window();
  frame->resize(frame->width() + dx, frame->height() + dy);
}

struct Locks {
  bool left, top, right, bottom;
};

struct LockCase {
  const char* name;
  Locks locks;
  QRect designed;
  QRect grown;  // in a content area 100 wider and 60 higher
};

const LockCase kLockCases[] = {
    {"LeftTop", {true, true, false, false}, {10, 10, 50, 20}, {10, 10, 50, 20}},
    {"RightTop", {false, true, true, false}, {240, 10, 50, 20}, {340, 10, 50, 20}},
    {"LeftRightTop", {true, true, true, false}, {10, 40, 100, 20}, {10, 40, 200, 20}},
    {"LeftBottom", {true, false, false, true}, {10, 170, 50, 20}, {10, 230, 50, 20}},
    {"LeftTopBottom", {true, true, false, true}, {70, 70, 50, 90}, {70, 70, 50, 150}},
    {"RightBottom", {false, false, true, true}, {240, 170, 50, 20}, {340, 230, 50, 20}},
    {"AllFour", {true, true, true, true}, {130, 100, 50, 50}, {130, 100, 150, 110}},
    {"None", {false, false, false, false}, {130, 40, 50, 20}, {130, 40, 50, 20}},
};

class LockedLabelsWindow : public toolkit::Window {
 public:
  static constexpr int kWidth = 300, kHeight = 200;
  LockedLabelsWindow() : toolkit::Window("LockedLabelsWindow") {}
  void Layout() override {
    SetProperties(toolkit::PropertyRecordBuilder().Int("Width", kWidth).Int("Height", kHeight).Bool("Visible", true).Bytes());
  }
  void CreateControls() override {
    for (const LockCase& c : kLockCases)
      BuildControl<toolkit::Label>(c.name, toolkit::PropertyRecordBuilder()
                                               .Int("Left", c.designed.x())
                                               .Int("Top", c.designed.y())
                                               .Int("Width", c.designed.width())
                                               .Int("Height", c.designed.height())
                                               .Bool("LockLeft", c.locks.left)
                                               .Bool("LockTop", c.locks.top)
                                               .Bool("LockRight", c.locks.right)
                                               .Bool("LockBottom", c.locks.bottom)
                                               .Bytes());
  }
};

TEST(ControlLocks, EachControlKeepsItsDistanceToTheEdgesItIsLockedTo) {
  testing_support::TestEnvironment environment;
  auto window = std::make_shared<LockedLabelsWindow>();
  window->Construct();
  ASSERT_EQ(window->ContentWidget()->size(), QSize(LockedLabelsWindow::kWidth, LockedLabelsWindow::kHeight));
  const QList<QWidget*> widgets = ControlWidgets(*window);
  ASSERT_EQ(widgets.size(), static_cast<qsizetype>(std::size(kLockCases)));
  for (qsizetype i = 0; i < widgets.size(); ++i)
    ASSERT_EQ(widgets[i]->geometry(), kLockCases[i].designed) << kLockCases[i].name;

  ResizeBy(*window, 100, 60);
  ASSERT_EQ(window->ContentWidget()->size(), QSize(LockedLabelsWindow::kWidth + 100, LockedLabelsWindow::kHeight + 60));
  for (qsizetype i = 0; i < widgets.size(); ++i)
    EXPECT_EQ(widgets[i]->geometry(), kLockCases[i].grown) << kLockCases[i].name;

  ResizeBy(*window, -100, -60);
  for (qsizetype i = 0; i < widgets.size(); ++i)
    EXPECT_EQ(widgets[i]->geometry(), kLockCases[i].designed) << kLockCases[i].name << " back at the designed size";
  window->Close();
}

TEST(ControlLocks, InTheMainWindowOnlyCheckBox1MovesAndItKeepsItsDistanceToTheBottom) {
  testing_support::TestEnvironment environment;
  PerformInitializers();
  Main();
  Ref<WindowMain> window = single::WindowMain();
  QWidget* checkBox1 = nullptr;
  std::map<QWidget*, QRect> designed;
  for (QWidget* widget : ControlWidgets(*window)) {
    designed[widget] = widget->geometry();
    if (auto* box = qobject_cast<QCheckBox*>(widget); box && box->text() == "Disable App Nap") checkBox1 = box;
  }
  ASSERT_NE(checkBox1, nullptr);
  ASSERT_EQ(designed.size(), 29u) << "every control with a place";

  ResizeBy(*window, 120, 80);
  const int growth = window->ContentWidget()->height() - window->Height();
  ASSERT_GT(growth, 0);
  for (const auto& [widget, place] : designed) {
    const QRect expected = widget == checkBox1 ? place.translated(0, growth) : place;
    EXPECT_EQ(widget->geometry(), expected) << "designed at " << testing::PrintToString(place);
  }
  toolkit::runtime::RuntimePerformFinalizers();
}

}  // namespace
