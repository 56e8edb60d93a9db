// Quits the real program the way a person does, from inside its own process: this file is
// linked with the program's own main, and HYDROMON_QUIT_BY names the way. With
// HYDROMON_QUIT_AFTER_REPORT set, the report window of an unhandled error is up at the quit. Every input is posted
// to the event loop, so the quit happens inside Qt's own handler of that input (the open File
// menu's key or mouse handler, the shortcut's dispatch, the close of the window).
#include <QApplication>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <string>

#include "toolkit/Exceptions.h"
#include "toolkit/UnhandledErrors.h"

namespace {

constexpr int kPollMilliseconds = 10;
constexpr int kStepTimeLimitMilliseconds = 10000;

[[noreturn]] void GiveUp(const std::string& why) {
  std::fprintf(stderr, "quit driver: %s\n", why.c_str());
  std::_Exit(3);
}

// Runs the step from the event loop once the condition holds.
void When(const std::string& what, const std::function<bool()>& ready, const std::function<void()>& step,
          int waited = 0) {
  if (ready()) {
    step();
    return;
  }
  if (waited >= kStepTimeLimitMilliseconds) GiveUp("no " + what);
  QTimer::singleShot(kPollMilliseconds, qApp, [=] { When(what, ready, step, waited + kPollMilliseconds); });
}

QMainWindow* MainWindow() {
  for (QWidget* widget : QApplication::topLevelWidgets())
    if (auto* window = qobject_cast<QMainWindow*>(widget); window && window->isVisible()) return window;
  return nullptr;
}

QMenu* OpenMenu() { return qobject_cast<QMenu*>(QApplication::activePopupWidget()); }

QAction* ActionTitled(const QWidget& container, const QString& text) {
  for (QAction* action : container.actions())
    if (action->text() == text) return action;
  GiveUp("no action " + text.toStdString());
}

void Type(QWidget& target, int key, Qt::KeyboardModifiers modifiers, const QString& text = {}) {
  for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease})
    QCoreApplication::postEvent(&target, new QKeyEvent(type, key, modifiers, text));
}

void Click(QWidget& target, QPoint at) {
  for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
    QCoreApplication::postEvent(&target, new QMouseEvent(type, at, target.mapToGlobal(at), Qt::LeftButton,
                                                         type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                                                         Qt::NoModifier));
}

// Opens File by clicking it on the menu bar, then clicks Quit.
void MenuByMouse(QMainWindow& window) {
  QMenuBar& bar = *window.menuBar();
  Click(bar, bar.actionGeometry(ActionTitled(bar, "&File")).center());
  When("open File menu", [] { return OpenMenu() != nullptr; }, [] {
    QMenu& menu = *OpenMenu();
    Click(menu, menu.actionGeometry(ActionTitled(menu, "&Quit")).center());
  });
}

// Alt+F opens File, Q chooses Quit.
void MenuByKeys(QMainWindow& window) {
  Type(window, Qt::Key_F, Qt::AltModifier, "f");
  When("open File menu", [] { return OpenMenu() != nullptr; }, [] { Type(*OpenMenu(), Qt::Key_Q, Qt::NoModifier, "q"); });
}

void Shortcut(QMainWindow& window) { Type(window, Qt::Key_Q, Qt::ControlModifier); }

void CloseBox(QMainWindow& window) { window.close(); }

void QuitBy(const std::string& way) {
  static const std::map<std::string, void (*)(QMainWindow&)> ways = {
      {"menu-by-mouse", MenuByMouse}, {"menu-by-keys", MenuByKeys}, {"shortcut", Shortcut}, {"close-box", CloseBox}};
  auto found = ways.find(way);
  if (found == ways.end()) GiveUp("no way to quit called " + way);
  // Shortcuts reach the active window only.
  When("main window", [] { return MainWindow() != nullptr; }, [quit = found->second] {
    MainWindow()->activateWindow();
    When("active main window", [] { return QApplication::activeWindow() == MainWindow(); },
         [quit] { quit(*MainWindow()); });
  });
}

bool ReportWindowShown() {
  for (QWidget* widget : QApplication::topLevelWidgets())
    if (qobject_cast<QMessageBox*>(widget) && widget->isVisible()) return true;
  return false;
}

// The report window goes up first, then the program quits by the given way.
void QuitAfterReport(const std::string& way) {
  toolkit::ReportUnhandledException(std::make_exception_ptr(toolkit::IOException(28, "cannot append to x.csv")));
  When("report window", ReportWindowShown, [way] { QuitBy(way); });
}

// Runs as the application object goes: every widget must have gone before it.
void RequireNoWidgetLeft() {
  if (!QApplication::topLevelWidgets().isEmpty())
    GiveUp(std::to_string(QApplication::topLevelWidgets().size()) + " windows outlive the application");
}

void ScheduleQuit() {
  qAddPostRoutine(RequireNoWidgetLeft);
  if (const char* way = std::getenv("HYDROMON_QUIT_BY")) {
    const std::string chosen = way;
    const bool afterReport = std::getenv("HYDROMON_QUIT_AFTER_REPORT") != nullptr;
    QTimer::singleShot(0, qApp, [chosen, afterReport] { afterReport ? QuitAfterReport(chosen) : QuitBy(chosen); });
  }
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(ScheduleQuit)
