#include "toolkit/RealServices.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QLocale>
#include <QMessageBox>
#include <QStandardPaths>
#include <QTimer>

#include "toolkit/ThreadPacer.h"
#include "toolkit/Timer.h"

namespace toolkit::real {
namespace {

class MonotonicClock : public ClockSource {
 public:
  MonotonicClock() { started_.start(); }
  double Microseconds() override { return static_cast<double>(started_.nsecsElapsed()) / 1000.0; }

 private:
  QElapsedTimer started_;
};

class SystemWallClock : public WallClockSource {
 public:
  LocalDateTime Now() override {
    QDateTime now = QDateTime::currentDateTime();
    QDate date = now.date();
    QTime time = now.time();
    return {date.year(), date.month(), date.day(), time.hour(), time.minute(), time.second()};
  }
  // The locale's long time format carries a time-zone name, which has no place in a log
  // column; the locale's short format may lack seconds. So: the long format, zone removed.
  std::string LongTime(const LocalDateTime& when) override {
    QString format = QLocale::system().timeFormat(QLocale::LongFormat);
    format.remove(QLatin1Char('t')).replace(QLatin1String("  "), QLatin1String(" "));
    return QLocale::system().toString(QTime(when.hour, when.minute, when.second), format.trimmed()).toStdString();
  }
};

class UserDocuments : public DocumentsSource {
 public:
  std::optional<std::string> DocumentsPath() override {
    QString path = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (path.isEmpty() || !QDir().mkpath(path)) return std::nullopt;
    return path.toStdString();
  }
};

class DesktopDialogs : public DialogService {
 public:
  void MessageBox(const std::string& text) override {
    QMessageBox box;
    box.setText(QString::fromStdString(text));
    box.exec();
  }
  void Beep() override { QApplication::beep(); }
  bool ModalShowBlocks() override { return true; }
};

// Fires the toolkit's timers from Qt's loop: one single-shot timer aimed at the earliest due.
class TimerDriver {
 public:
  TimerDriver() {
    wake_.setSingleShot(true);
    wake_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&wake_, &QTimer::timeout, [] { FireDueTimers(); });
    SetTimerScheduleHook([this] { Aim(); });
    Aim();
  }
  ~TimerDriver() { SetTimerScheduleHook(nullptr); }

 private:
  void Aim() {
    std::optional<double> due = NextTimerDue();
    if (!due) {
      wake_.stop();
      return;
    }
    double wait = *due - toolkit::Clock().Microseconds() / 1000.0;
    wake_.start(wait > 0 ? static_cast<int>(wait + 0.999) : 0);
  }
  QTimer wake_;
};

class QtEventLoop : public EventLoop {
 public:
  void InitializeFramework(const std::function<void()>& lateStartup) override {
    timers_ = std::make_unique<TimerDriver>();
    StartThreadPacer();
    lateStartup();
  }
  void Run() override { QApplication::exec(); }
  void Quit() override { QApplication::quit(); }

 private:
  std::unique_ptr<TimerDriver> timers_;
};

}  // namespace

std::unique_ptr<ClockSource> MakeClock() { return std::make_unique<MonotonicClock>(); }
std::unique_ptr<WallClockSource> MakeWallClock() { return std::make_unique<SystemWallClock>(); }
std::unique_ptr<DocumentsSource> MakeDocuments() { return std::make_unique<UserDocuments>(); }
std::unique_ptr<DialogService> MakeDialogs() { return std::make_unique<DesktopDialogs>(); }
std::unique_ptr<EventLoop> MakeEventLoop() { return std::make_unique<QtEventLoop>(); }

}  // namespace toolkit::real
