// The HPU parameter window as the toolkit shows it and as its worker meets the toolkit: what
// the scenario files cannot see (widgets, painting, the worker's thread and its end).
#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <functional>
#include <optional>
#include <ostream>
#include <string>

#include "app/App.h"
#include "hpu_parameters/ParameterTable.h"
#include "hpu_parameters/WindowHPU.h"
#include "monitor/WindowMain.h"
#include "tests/support/CaseName.h"
#include "tests/support/CaughtErrorReports.h"
#include "tests/support/DialogKeys.h"
#include "tests/support/QtLoop.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/program/StartedProgram.h"
#include "toolkit/Application.h"
#include "toolkit/Threads.h"

namespace {

using toolkit::Ref;

class HPUWindowTest : public ::testing::Test {
 protected:
  void TearDown() override {
    if (Ref<toolkit::Window> open = toolkit::Window::OpenInstance(WindowHPU::kRegisteredName)) open->Close();
  }

  // HPU > EEPROM, as the user would choose it; the worker has not taken its first step yet.
  static Ref<WindowHPU> OpenWindow() {
    single::WindowMain()->ChooseMenuItem("HPUEEPROM");
    return toolkit::Window::OpenInstance(WindowHPU::kRegisteredName).Cast<WindowHPU>();
  }
  static QTableWidget& Table(WindowHPU& window) { return *window.ContentWidget()->findChild<QTableWidget*>(); }
  // The window's worker runs this body instead of the read.
  static void ReplaceWorker(WindowHPU& window, std::function<void(toolkit::Thread&)> body) {
    window.ThreadRefreshWindow_HPU()->RunEvent.Bind(std::move(body));
  }

  testing_support::TestEnvironment environment;
  testing_support::CaughtErrorReports caught;
  std::vector<std::string>& reports = caught.lines;
  program_fixtures::StartedProgram program;
};

TEST_F(HPUWindowTest, ListsExactlyTheParameterRowsEachTimeItOpens) {
  for (int opening = 0; opening < 2; ++opening) {
    Ref<WindowHPU> window = OpenWindow();
    ASSERT_FALSE(window.IsNil());
    EXPECT_EQ(window->Title(), "HPU EEPROM");
    EXPECT_EQ(window->Listbox1()->ListCount(), static_cast<int32_t>(hpu::kParameterCount));
    QTableWidget& table = Table(*window);
    EXPECT_EQ(table.rowCount(), static_cast<int>(hpu::kParameterCount));
    EXPECT_EQ(table.item(23, 3)->text().toStdString(), "5000");
    window->PushButtonCancel()->Push();
    EXPECT_FALSE(window->IsOpen());
  }
}

TEST_F(HPUWindowTest, ClosedByItsCancelButtonInTheEventLoopItOutlivesTheClickThenGoesOnceTheLoopWaits) {
  std::weak_ptr<WindowHPU> window = OpenWindow().Shared();
  QPointer<QPushButton> cancel;
  for (QPushButton* button : window.lock()->ContentWidget()->findChildren<QPushButton*>())
    if (button->text() == "Cancel") cancel = button;
  ASSERT_TRUE(cancel);
  bool outlivedTheClick = false;
  QTimer::singleShot(0, cancel.data(), [&] {
    cancel->click();
    outlivedTheClick = cancel && !window.expired();
  });
  EXPECT_TRUE(testing_support::RunQtLoopUntil([&] { return window.expired(); }, std::chrono::seconds(5),
                                              std::chrono::milliseconds(10)));
  EXPECT_TRUE(outlivedTheClick) << "the button went inside its own click";
  EXPECT_TRUE(toolkit::Window::OpenInstance(WindowHPU::kRegisteredName).IsNil());
}

TEST_F(HPUWindowTest, TheListShowsItsHeadingColumnWidthsAndAnEditableRightAlignedValueColumn) {
  Ref<WindowHPU> window = OpenWindow();
  QTableWidget& table = Table(*window);
  struct Column {
    const char* heading;
    int width;
    bool editable;
    Qt::Alignment alignment;
  };
  const Column columns[] = {{"Parameter", 300, false, Qt::AlignLeft},
                            {"Value", 50, true, Qt::AlignRight},
                            {"Unit", 30, false, Qt::AlignLeft},
                            {"Default", 50, false, Qt::AlignRight}};
  ASSERT_EQ(table.columnCount(), 4);
  EXPECT_TRUE(table.horizontalHeader()->isVisibleTo(window->ContentWidget()));
  for (int column = 0; column < 4; ++column) {
    const Column& c = columns[column];
    EXPECT_EQ(table.horizontalHeaderItem(column)->text().toStdString(), c.heading);
    EXPECT_EQ(window->Listbox1()->Heading(column), c.heading);
    EXPECT_EQ(table.columnWidth(column), c.width) << c.heading;
    QTableWidgetItem* cell = table.item(5, column);
    EXPECT_EQ(static_cast<bool>(cell->flags() & Qt::ItemIsEditable), c.editable) << c.heading;
    EXPECT_EQ(Qt::Alignment(cell->textAlignment()) & Qt::AlignHorizontal_Mask, c.alignment) << c.heading;
  }
}

TEST_F(HPUWindowTest, EvenRowsArePaintedLightBlueInEveryCell) {
  Ref<WindowHPU> window = OpenWindow();
  QTableWidget& table = Table(*window);
  table.resize(560, 256 + 24 * 30);  // every row in view
  QImage image = table.viewport()->grab().toImage();
  const QColor lightBlue(237, 243, 254);
  for (int row = 0; row < 6; ++row) {
    for (int column = 0; column < 4; ++column) {
      QRect cell = table.visualItemRect(table.item(row, column));
      QColor pixel = image.pixelColor(cell.left() + 1, cell.top() + 2);
      if (row % 2 == 0)
        EXPECT_EQ(pixel, lightBlue) << row << "," << column;
      else
        EXPECT_EQ(pixel, table.palette().color(QPalette::Base)) << row << "," << column;
    }
  }
}

TEST_F(HPUWindowTest, TheSelectionHighlightCoversTheRowColourUnlessTheHandlerClaimsTheBackground) {
  for (bool claimed : {false, true}) {
    Ref<WindowHPU> window = OpenWindow();
    if (claimed)
      window->Listbox1()->CellBackgroundPaint.Bind([&](toolkit::Listbox& l, toolkit::Graphics& g, int32_t row, int32_t column) {
        window->Listbox1_CellBackgroundPaint(l, g, row, column);
        return true;
      });
    QTableWidget& table = Table(*window);
    table.selectRow(0);
    QImage image = table.viewport()->grab().toImage();
    QRect cell = table.visualItemRect(table.item(0, 1));
    EXPECT_EQ(image.pixelColor(cell.left() + 1, cell.top() + 2) == QColor(237, 243, 254), claimed);
    window->Close();
  }
}

TEST_F(HPUWindowTest, AnEditedValueStaysUntilAnAnswerForItsRowReplacesIt) {
  Ref<WindowHPU> window = OpenWindow();
  Table(*window).item(0, 1)->setText("typed");
  Table(*window).item(1, 1)->setText("kept");
  EXPECT_EQ(window->Listbox1()->Cell(0, 1), "typed");

  ByteBuffer& answer = single::WindowMain()->TrameBufferEEPROM;
  const int32_t oneWord[] = {0x11, 0x12, 0x42, 0x04, 0x01, 0x2C, 0x00, 0x96};
  std::copy(std::begin(oneWord), std::end(oneWord), answer.begin());
  window->refreshWindow_HPU(0, 30);
  EXPECT_EQ(window->Listbox1()->Cell(0, 1), "300");
  EXPECT_EQ(Table(*window).item(0, 1)->text().toStdString(), "300");
  EXPECT_EQ(window->Listbox1()->Cell(1, 1), "kept");
}

TEST_F(HPUWindowTest, TheBarKeepsAValueAboveItsMaximumAndShowsItFull) {
  Ref<WindowHPU> window = OpenWindow();
  window->ProgressBar1()->SetValue(130);
  EXPECT_EQ(window->ProgressBar1()->Value(), 130);
  auto* bar = window->ContentWidget()->findChild<QProgressBar*>();
  EXPECT_EQ(bar->value(), 100);
  EXPECT_EQ(bar->maximum(), 100);
  EXPECT_TRUE(bar->isVisibleTo(window->ContentWidget()));
}

TEST_F(HPUWindowTest, EscapeRunsCancelWhichClosesTheWindow) {
  Ref<WindowHPU> window = OpenWindow();
  testing_support::PressCounter cancel(*window->PushButtonCancel(),
                                       [&](toolkit::PushButton& b) { window->PushButtonCancel_Action(b); });
  testing_support::Type(Table(*window), Qt::Key_Escape);
  EXPECT_EQ(cancel.presses, 1);
  EXPECT_FALSE(window->IsOpen());
}

TEST_F(HPUWindowTest, ReturnOnTheListPressesWrite) {
  Ref<WindowHPU> window = OpenWindow();
  testing_support::PressCounter write(*window->PushButtonWrite());
  testing_support::Type(Table(*window), Qt::Key_Return);
  EXPECT_EQ(write.presses, 1);
  EXPECT_TRUE(window->IsOpen());
}

// Return ends the edit and keeps the typed text, Escape ends it and drops the text; neither
// goes on to press a button.
TEST_F(HPUWindowTest, TheCellEditorKeepsReturnAndEscapeForItsEdit) {
  struct Case {
    Qt::Key key;
    const char* cellAfter;
  };
  for (const Case& c : {Case{Qt::Key_Return, "42"}, Case{Qt::Key_Escape, ""}}) {
    Ref<WindowHPU> window = OpenWindow();
    testing_support::PressCounter write(*window->PushButtonWrite());
    testing_support::PressCounter cancel(*window->PushButtonCancel());
    QTableWidget& table = Table(*window);
    const QModelIndex cell = table.model()->index(3, 1);
    table.editItem(table.item(3, 1));
    auto* editor = qobject_cast<QLineEdit*>(table.indexWidget(cell));
    ASSERT_NE(editor, nullptr);
    testing_support::TypeText(*editor, "42");
    testing_support::Type(*editor, c.key);
    QApplication::processEvents();

    EXPECT_EQ(table.indexWidget(cell), nullptr) << "the edit has ended, key " << c.key;
    EXPECT_EQ(window->Listbox1()->Cell(3, 1), c.cellAfter) << c.key;
    EXPECT_EQ(write.presses, 0) << c.key;
    EXPECT_EQ(cancel.presses, 0) << c.key;
    EXPECT_TRUE(window->IsOpen()) << c.key;
    window->Close();
  }
}

struct WorkerCall {
  const char* name;
  std::function<void(WindowHPU&)> call;
  bool userInterface;
  friend void PrintTo(const WorkerCall& c, std::ostream* out) { *out << c.name; }
};

class HPUWorkerCallTest : public HPUWindowTest, public ::testing::WithParamInterface<WorkerCall> {};

TEST_P(HPUWorkerCallTest, OnlyUserInterfaceCallsRaiseThreadAccessingUIExceptionFromTheWorker) {
  const WorkerCall& c = GetParam();
  Ref<WindowHPU> window = OpenWindow();
  std::optional<std::string> raised;
  bool finished = false;
  ReplaceWorker(*window, [&](toolkit::Thread&) {
    try {
      c.call(*window);
    } catch (const toolkit::RuntimeException& e) {
      raised = e.ClassName();
    }
    finished = true;
  });
  for (int pass = 0; pass < 100 && !finished; ++pass) toolkit::RunCooperativeThreads();
  ASSERT_TRUE(finished);
  if (c.userInterface)
    EXPECT_EQ(raised, "ThreadAccessingUIException");
  else
    EXPECT_EQ(raised, std::nullopt);
  EXPECT_NO_THROW(c.call(*window)) << "the main thread may make every call";
}

INSTANTIATE_TEST_SUITE_P(
    WorkerCalls, HPUWorkerCallTest,
    ::testing::Values(
        WorkerCall{"ListAddRow", [](WindowHPU& w) { w.Listbox1()->AddRow("x"); }, true},
        WorkerCall{"ListCell", [](WindowHPU& w) { w.Listbox1()->Cell(0, 1); }, true},
        WorkerCall{"ListSetCell", [](WindowHPU& w) { w.Listbox1()->SetCell(0, 1, "7"); }, true},
        WorkerCall{"ListCount", [](WindowHPU& w) { w.Listbox1()->ListCount(); }, true},
        WorkerCall{"BarValue", [](WindowHPU& w) { w.ProgressBar1()->Value(); }, true},
        WorkerCall{"BarSetValue", [](WindowHPU& w) { w.ProgressBar1()->SetValue(3); }, true},
        WorkerCall{"BarSetVisible", [](WindowHPU& w) { w.ProgressBar1()->SetVisible(true); }, true},
        WorkerCall{"Drawing",
                   [](WindowHPU& w) {
                     single::WindowMain()->TrameBufferEEPROM.at(3) = 4;  // one word
                     w.refreshWindow_HPU(0, 30);
                   },
                   true},
        WorkerCall{"TimerEnabled", [](WindowHPU& w) { w.Timer1()->SetEnabled(true); }, false},
        WorkerCall{"TimerMode", [](WindowHPU& w) { w.Timer1()->SetMode(toolkit::Timer::ModeOff); }, false},
        WorkerCall{"ControlByName", [](WindowHPU& w) { w.ControlByName("Listbox1"); }, false},
        WorkerCall{"OpenInstance", [](WindowHPU&) { single::WindowHPU(); }, false},
        WorkerCall{"ReadRequest", [](WindowHPU&) { single::WindowMain()->lectureEEPROM(); }, false}),
    testing_support::NameOfCase);

TEST_F(HPUWindowTest, CurrentThreadIsTheWorkersThreadControlAndNilOnTheMainThread) {
  Ref<WindowHPU> window = OpenWindow();
  toolkit::Thread* seen = nullptr;
  ReplaceWorker(*window, [&](toolkit::Thread&) { seen = single::App()->CurrentThread().Get(); });
  toolkit::RunCooperativeThreads();
  EXPECT_EQ(seen, window->ThreadRefreshWindow_HPU().Get());
  EXPECT_TRUE(single::App()->CurrentThread().IsNil());
}

// Notes its own destruction.
class StackObject {
 public:
  explicit StackObject(bool& destroyed) : destroyed_(destroyed) {}
  ~StackObject() { destroyed_ = true; }
  StackObject(const StackObject&) = delete;
  StackObject& operator=(const StackObject&) = delete;

 private:
  bool& destroyed_;
};

struct Wait {
  const char* name;
  std::function<void(toolkit::Thread&)> wait;  // never returns on its own
  friend void PrintTo(const Wait& c, std::ostream* out) { *out << c.name; }
};

struct Closing {
  const char* name;
  std::function<void(WindowHPU&)> close;
  friend void PrintTo(const Closing& c, std::ostream* out) { *out << c.name; }
};

class HPUWorkerKillTest : public HPUWindowTest, public ::testing::WithParamInterface<std::tuple<Wait, Closing>> {};

TEST_P(HPUWorkerKillTest, ClosingKillsTheWaitingWorkerDestroyingItsStackAndStopsTheTimer) {
  const Wait& wait = std::get<0>(GetParam());
  const Closing& closing = std::get<1>(GetParam());
  std::weak_ptr<WindowHPU> released;
  bool destroyed = false;
  int passes = 0;
  bool waitReturned = false;
  {
    Ref<WindowHPU> window = OpenWindow();
    released = window.Shared();
    ReplaceWorker(*window, [&](toolkit::Thread& thread) {
      StackObject onStack(destroyed);
      ++passes;
      wait.wait(thread);
      waitReturned = true;
    });
    for (int i = 0; i < 3; ++i) toolkit::RunCooperativeThreads();
    ASSERT_EQ(passes, 1);
    ASSERT_FALSE(destroyed);

    window->Timer1()->SetEnabled(true);
    closing.close(*window);
    EXPECT_FALSE(window->IsOpen());
    EXPECT_TRUE(destroyed) << "the worker's stack is unwound at once";
    EXPECT_FALSE(waitReturned);
    EXPECT_FALSE(window->Timer1()->Enabled());
  }
  for (int i = 0; i < 3; ++i) toolkit::RunCooperativeThreads();
  EXPECT_EQ(passes, 1);
  EXPECT_TRUE(released.expired()) << "nothing holds the closed window";
  EXPECT_TRUE(reports.empty()) << reports.front();
}

INSTANTIATE_TEST_SUITE_P(
    Kills, HPUWorkerKillTest,
    ::testing::Combine(
        ::testing::Values(Wait{"Yielding", [](toolkit::Thread&) { for (;;) toolkit::YieldToNextThread(); }},
                          Wait{"Sleeping",
                               [](toolkit::Thread& t) { t.Sleep(1000000, toolkit::Thread::WakeEarly::No); }},
                          Wait{"Suspended", [](toolkit::Thread& t) { t.Suspend(); }}),
        ::testing::Values(Closing{"Cancel", [](WindowHPU& w) { w.PushButtonCancel()->Push(); }},
                          Closing{"CloseBox",
                                  [](WindowHPU& w) { w.ContentWidget()->window()->close(); }})),
    [](const auto& info) {
      return std::string(std::get<0>(info.param).name) + "By" + std::get<1>(info.param).name;
    });

}  // namespace
