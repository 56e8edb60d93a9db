// Labels and the trace change with every frame; their widgets follow at the next refresh with
// the latest value (a hidden one once it shows), while the controls hold every change at once.
#include <gtest/gtest.h>

#include <QEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/support/program/ConnectedProgram.h"
#include "tests/support/QtLoop.h"

namespace {

// The connected program's main window, and the Qt widget that shows one of its controls.
class WidgetRefresh : public ::testing::Test {
 protected:
  template <class QtWidget>
  QtWidget& ShownBy(const toolkit::RectControl& control) {
    for (QtWidget* widget : window.ContentWidget()->findChildren<QtWidget*>())
      if (widget->geometry().topLeft() == QPoint(control.Left(), control.Top())) return *widget;
    throw std::logic_error("no widget shows " + control.Name());
  }

  program_fixtures::ConnectedProgram program;
  WindowMain& window = *program.window;
};

constexpr int kRefreshInterval = 1000 / toolkit::RectControl::kRefreshesPerSecond;

// Runs the event loop for longer than one refresh interval.
void LetARefreshPass() { testing_support::RunQtLoopFor(2 * kRefreshInterval); }

// Counts the times a widget is painted.
class PaintCounter : public QObject {
 public:
  explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
  bool eventFilter(QObject* /*watched*/, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints;
    return false;
  }
  int paints = 0;
};

TEST_F(WidgetRefresh, ManyChangesReachTheWidgetAsTheLatestOneAtTheNextRefresh) {
  auto label = window.LabelValue_Uin();
  auto trace = window.TextArea1();
  auto& shownLabel = ShownBy<QLabel>(*label);
  auto& shownTrace = ShownBy<QPlainTextEdit>(*trace);
  LetARefreshPass();

  for (int i = 1; i <= 100; ++i) {
    label->SetText(std::to_string(i));
    trace->SetText("line " + std::to_string(i) + "\n");
  }
  EXPECT_EQ(label->Text(), "100");
  EXPECT_EQ(trace->Text(), "line 100\n");
  EXPECT_EQ(shownLabel.text(), "0") << "the widget waits for the refresh";

  LetARefreshPass();
  EXPECT_EQ(shownLabel.text(), "100");
  EXPECT_EQ(shownTrace.toPlainText(), "") << "the trace's page is behind the page \"Values\"";

  window.TabPanel1()->SetValue(1);
  EXPECT_EQ(shownTrace.toPlainText(), "line 100\n");
}

// One refresh serves every widget, so the window repaints once for all that changed.
TEST_F(WidgetRefresh, WidgetsThatChangedWithinOneIntervalFollowTogether) {
  auto first = window.LabelValue_Uin();
  auto second = window.LabelValue_Uout();
  auto& shownFirst = ShownBy<QLabel>(*first);
  auto& shownSecond = ShownBy<QLabel>(*second);
  LetARefreshPass();

  first->SetText("1");
  testing_support::RunQtLoopFor(kRefreshInterval / 2);
  second->SetText("2");
  ASSERT_TRUE(testing_support::RunQtLoopUntil([&] { return shownFirst.text() == "1"; },
                                              std::chrono::milliseconds(2 * kRefreshInterval), std::chrono::milliseconds(1)));
  EXPECT_EQ(shownSecond.text(), "2") << "the later change comes with the same refresh";
}

// The trace's scroll bar repaints dearly; the trace's widget changes only its changed lines, so
// the bar repaints only when the trace's line count changes what it shows.
TEST_F(WidgetRefresh, TheTracesScrollBarRepaintsOnlyWhenTheLineCountChanges) {
  window.TabPanel1()->SetValue(1);
  auto trace = window.TextArea1();
  auto& shownTrace = ShownBy<QPlainTextEdit>(*trace);
  std::string older;  // more lines than the widget shows, so the bar can scroll
  for (int line = 0; line < 30; ++line) older += "000  001  \n";
  trace->SetText(older);
  LetARefreshPass();

  struct Step {
    const char* what;
    std::string text;
    bool repaints;
  };
  const std::string cut = older.substr(0, older.size() - 22);  // two lines fewer
  const Step steps[] = {
      {"two lines in front, two cut: as many lines", "erreur CRC\n002  003  \n" + cut, false},
      {"one more line", "r\xC3\xA9ponse valide\nerreur CRC\n002  003  \n" + cut, true},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    PaintCounter barPaints(shownTrace.verticalScrollBar());
    trace->SetText(step.text);
    LetARefreshPass();
    ASSERT_EQ(shownTrace.toPlainText().toStdString(), step.text);
    EXPECT_EQ(barPaints.paints > 0, step.repaints);
  }
}

// The process's threads that Qt's global pool runs.
int PooledThreads() {
  int pooled = 0;
  for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
    std::ifstream comm(task.path() / "comm");
    std::string name;
    std::getline(comm, name);
    if (name == "Thread (pooled)") ++pooled;
  }
  return pooled;
}

// Qt's painter hands a tall fill to its pool, a thread per core unless told otherwise.
TEST_F(WidgetRefresh, PaintingTheWindowAndTheTracesScrollBarWakesOneHelperThreadAtMost) {
  window.TabPanel1()->SetValue(1);
  auto& shownTrace = ShownBy<QPlainTextEdit>(*window.TextArea1());
  LetARefreshPass();  // the window shows
  shownTrace.verticalScrollBar()->repaint();
  EXPECT_LE(PooledThreads(), 1);
}

// The widget gets only the lines put in front and loses the cut tail; whatever the texts, it
// ends up holding exactly the trace.
TEST_F(WidgetRefresh, TheShownTraceIsExactlyTheTraceAsItGrowsIsCutOrIsReplaced) {
  window.TabPanel1()->SetValue(1);
  auto trace = window.TextArea1();
  auto& shownTrace = ShownBy<QPlainTextEdit>(*trace);

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
    EXPECT_EQ(shownTrace.toPlainText().toStdString(), text);
  }
}

}  // namespace
