// Labels and the trace change with every frame; their widgets follow at the next refresh with
// the latest value (a hidden one once it shows), while the controls hold every change at once.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPlainTextEdit>
#include <string>
#include <vector>

#include "tests/support/program/ConnectedProgram.h"
#include "tests/support/QtLoop.h"

namespace {

template <class QtWidget>
QtWidget* WidgetAt(const WindowMain& window, const toolkit::RectControl& control) {
  for (QtWidget* widget : window.ContentWidget()->findChildren<QtWidget*>())
    if (widget->geometry().topLeft() == QPoint(control.Left(), control.Top())) return widget;
  return nullptr;
}

// Runs the event loop for longer than one refresh interval.
void LetARefreshPass() { testing_support::RunQtLoopFor(2 * 1000 / toolkit::RectControl::kRefreshesPerSecond); }

TEST(WidgetRefresh, ManyChangesReachTheWidgetAsTheLatestOneAtTheNextRefresh) {
  program_fixtures::ConnectedProgram program;
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
  EXPECT_EQ(shownTrace->toPlainText(), "") << "the trace's page is behind the page \"Values\"";

  window.TabPanel1()->SetValue(1);
  EXPECT_EQ(shownTrace->toPlainText(), "line 100\n");
}

// The widget gets only the lines put in front and loses the cut tail; whatever the texts, it
// ends up holding exactly the trace.
TEST(WidgetRefresh, TheShownTraceIsExactlyTheTraceAsItGrowsIsCutOrIsReplaced) {
  program_fixtures::ConnectedProgram program;
  WindowMain& window = *program.window;
  window.TabPanel1()->SetValue(1);
  auto trace = window.TextArea1();
  auto* shownTrace = WidgetAt<QPlainTextEdit>(window, *trace);
  ASSERT_NE(shownTrace, nullptr);

  const std::vector<std::string> texts = {
      "000  001  \n",
      "r\xC3\xA9ponse valide\n000  001  \n",
      "erreur CRC\n002  003  \nr\xC3\xA9ponse valide\n000  ",  // two lines in front, the end cut
      "erreur CRC\n002  003  \nr\xC3\xA9ponse valide\n000  ",  // unchanged
      " junk1:0507\nerreur CRC\n002",
      "something else entirely",
      "",
      "004  \n",
  };
  for (const std::string& text : texts) {
    trace->SetText(text);
    LetARefreshPass();
    EXPECT_EQ(shownTrace->toPlainText().toStdString(), text);
  }
}

}  // namespace
