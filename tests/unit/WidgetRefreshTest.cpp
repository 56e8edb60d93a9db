// Labels and the trace change with every frame; their widgets follow at the next refresh with
// the latest value, while the controls themselves hold every change at once.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPlainTextEdit>

#include "tests/fuzz/ConnectedProgram.h"

namespace {

template <class QtWidget>
QtWidget* WidgetAt(const WindowMain& window, const toolkit::RectControl& control) {
  for (QtWidget* widget : window.ContentWidget()->findChildren<QtWidget*>())
    if (widget->geometry().topLeft() == QPoint(control.Left(), control.Top())) return widget;
  return nullptr;
}

// Runs the event loop for longer than one refresh interval.
void LetARefreshPass() {
  QElapsedTimer waited;
  waited.start();
  while (waited.elapsed() < 3 * 1000 / toolkit::RectControl::kRefreshesPerSecond) QCoreApplication::processEvents();
}

TEST(WidgetRefresh, ManyChangesReachTheWidgetAsTheLatestOneAtTheNextRefresh) {
  load_testing::ConnectedProgram program;
  WindowMain& window = *program.window;
  auto label = window.LabelValue_Uin();
  auto trace = window.TextArea1();
  auto* shownLabel = WidgetAt<QLabel>(window, *label);
  auto* shownTrace = WidgetAt<QPlainTextEdit>(window, *trace);
  ASSERT_NE(shownLabel, nullptr);
  ASSERT_NE(shownTrace, nullptr);
  LetARefreshPass();

  for (int i = 1; i <= 100; ++i) {
    label->SetText(std::to_string(i));
    trace->SetText("line " + std::to_string(i) + "\n");
  }
  EXPECT_EQ(label->Text(), "100");
  EXPECT_EQ(trace->Text(), "line 100\n");
  EXPECT_EQ(shownLabel->text(), "0") << "the widget waits for the refresh";

  LetARefreshPass();
  EXPECT_EQ(shownLabel->text(), "100");
  EXPECT_EQ(shownTrace->toPlainText(), "line 100\n");
}

}  // namespace
