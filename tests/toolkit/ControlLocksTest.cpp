// When a window is resized, each control keeps its distance to the edges it is locked to: a
// control locked to one side only follows that side, one locked to both sides grows with the
// window, and every other control keeps its place.
#include <gtest/gtest.h>

#include <QList>
#include <QRect>
#include <QWidget>
#include <memory>

#include "tests/support/ControlWidgets.h"
#include "tests/support/TestEnvironment.h"
#include "toolkit/Controls.h"
#include "toolkit/Window.h"

namespace {

using testing_support::ControlWidgets;
using testing_support::ResizeBy;

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

}  // namespace
