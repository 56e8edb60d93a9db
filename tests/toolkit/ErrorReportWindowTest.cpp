// The desktop's error report window: one non-modal message window however many reports,
// showing the latest text, while the program's loop runs on.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <chrono>
#include <memory>
#include <vector>

#include "tests/support/QtLoop.h"
#include "tests/support/TestEnvironment.h"
#include "toolkit/RealServices.h"

namespace {

using namespace std::chrono_literals;

std::vector<QMessageBox*> ReportWindows() {
  std::vector<QMessageBox*> boxes;
  for (QWidget* widget : QApplication::topLevelWidgets())
    if (auto* box = qobject_cast<QMessageBox*>(widget)) boxes.push_back(box);
  return boxes;
}

class ErrorReportWindow : public ::testing::Test {
 protected:
  // The window is made from Qt's loop, once the reporting code has returned.
  static void LetTheLoopRun() { testing_support::RunQtLoopFor(20); }

  testing_support::TestEnvironment environment;  // the offscreen application
  std::unique_ptr<toolkit::DialogService> desktop = toolkit::real::MakeDialogs();
};

TEST_F(ErrorReportWindow, OneNonModalWindowTakesEveryReportAndTheLoopRunsOn) {
  desktop->ShowErrorReport("first");
  desktop->ShowErrorReport("second");
  desktop->UpdateErrorReport("third");
  bool timerFired = false;
  QTimer::singleShot(5, [&] { timerFired = true; });
  EXPECT_TRUE(testing_support::RunQtLoopUntil([&] { return timerFired; }, 2s, 1ms)) << "the loop is blocked";

  const std::vector<QMessageBox*> boxes = ReportWindows();
  ASSERT_EQ(boxes.size(), 1u);
  QMessageBox& box = *boxes.front();
  EXPECT_TRUE(box.isVisible());
  EXPECT_FALSE(box.isModal());
  EXPECT_EQ(box.windowModality(), Qt::NonModal);
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  EXPECT_EQ(box.text(), "third");
}

TEST_F(ErrorReportWindow, AClosedWindowStaysShutOnUpdatesAndOpensAgainOnTheNextReport) {
  desktop->ShowErrorReport("first");
  LetTheLoopRun();
  ASSERT_EQ(ReportWindows().size(), 1u);
  ReportWindows().front()->button(QMessageBox::Ok)->click();
  LetTheLoopRun();
  ASSERT_FALSE(ReportWindows().front()->isVisible());

  desktop->UpdateErrorReport("changed");
  LetTheLoopRun();
  EXPECT_FALSE(ReportWindows().front()->isVisible());

  desktop->ShowErrorReport("again");
  LetTheLoopRun();
  const std::vector<QMessageBox*> boxes = ReportWindows();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_TRUE(boxes.front()->isVisible());
  EXPECT_EQ(boxes.front()->text(), "again");
}

TEST_F(ErrorReportWindow, GoesWithTheServiceAndNothingStillQueuedOutlivesIt) {
  desktop->ShowErrorReport("shown");
  LetTheLoopRun();
  desktop->ShowErrorReport("queued");
  desktop.reset();
  LetTheLoopRun();
  EXPECT_TRUE(ReportWindows().empty());
}

}  // namespace
