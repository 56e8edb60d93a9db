#include "toolkit/RealServices.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocale>
#include <QMessageBox>
#include <QMetaObject>
#include <QPointer>
#include <QStandardPaths>
#include <QTimer>
#include <cerrno>
#include <cmath>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "toolkit/LongTime.h"
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
  std::string LongTime(const LocalDateTime& when) override { return LongTimeOfDay(QLocale::system(), when); }
};

class UserDocuments : public DocumentsSource {
 public:
  std::optional<std::string> DocumentsPath() override {
    // A fresh account often has no Documents folder yet: it is made, as a file manager would.
    QString path = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (path.isEmpty() || !QDir().mkpath(path)) return std::nullopt;
    return QFile::encodeName(path).toStdString();
  }
};

// The toolkit's error report: one top-level message window, never modal, made on its first
// use and kept; a report while it is up changes its text. The window is shown from Qt's loop,
// never on the stack of the code that failed (a cooperative thread's stack is small); what is
// still queued when the service goes is dropped with its context object.
class ErrorReportWindow {
 public:
  ~ErrorReportWindow() {
    // At the process's end Qt may be gone before the services; the system takes the window then.
    if (QCoreApplication::instance()) delete box_;
  }
  void Show(const std::string& text) { Post(text, Reach::OpensTheWindow); }
  void Update(const std::string& text) { Post(text, Reach::OnlyAnOpenWindow); }

 private:
  enum class Reach { OpensTheWindow, OnlyAnOpenWindow };

  void Post(const std::string& text, Reach reach) {
    const bool open = reach == Reach::OpensTheWindow;
    QMetaObject::invokeMethod(
        &context_,
        [this, text = QString::fromStdString(text), open] {
          if (open && !box_) box_ = MakeBox();
          if (!box_ || (!open && !box_->isVisible())) return;
          box_->setText(text);
          if (!open) return;
          box_->show();
          box_->raise();
        },
        Qt::QueuedConnection);
  }

  static QMessageBox* MakeBox() {
    auto* box = new QMessageBox(QMessageBox::Warning, QGuiApplication::applicationDisplayName(), QString(),
                                QMessageBox::Ok);
    box->setWindowModality(Qt::NonModal);
    // An open report must not keep the program running once its windows are closed.
    box->setAttribute(Qt::WA_QuitOnClose, false);
    return box;
  }

  QObject context_;
  QPointer<QMessageBox> box_;
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
  void ShowErrorReport(const std::string& text) override { errorReport_.Show(text); }
  void UpdateErrorReport(const std::string& text) override { errorReport_.Update(text); }

 private:
  ErrorReportWindow errorReport_;
};

class SystemFiles : public FileSystem {
 public:
  int Open(const std::string& path, int flags, int& descriptor) override {
    descriptor = open(path.c_str(), flags, 0666);
    return descriptor >= 0 ? 0 : errno;
  }
  int Write(int descriptor, std::string_view bytes, size_t& written) override {
    const ssize_t result = write(descriptor, bytes.data(), bytes.size());
    written = result > 0 ? static_cast<size_t>(result) : 0;
    return result >= 0 ? 0 : errno;
  }
  int Size(int descriptor, int64_t& bytes) override {
    struct stat status {};
    if (fstat(descriptor, &status) != 0) return errno;
    bytes = status.st_size;
    return 0;
  }
  int Close(int descriptor) override { return close(descriptor) == 0 ? 0 : errno; }
  int Truncate(const std::string& path, int64_t length) override {
    return truncate(path.c_str(), static_cast<off_t>(length)) == 0 ? 0 : errno;
  }
  int Remove(const std::string& path) override { return unlink(path.c_str()) == 0 ? 0 : errno; }
};

// Fires the toolkit's timers from Qt's loop: one single-shot timer aimed at the earliest due.
class TimerDriver {
 public:
  TimerDriver() {
    wake_.setSingleShot(true);
    wake_.setTimerType(Qt::PreciseTimer);
    // Aimed again after every wake-up: one that finds nothing due yet (Qt's clock and ours need
    // not agree to the microsecond) would otherwise be the last.
    QObject::connect(&wake_, &QTimer::timeout, [this] {
      FireDueTimers();
      Aim();
    });
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
    wake_.start(wait > 0 ? static_cast<int>(std::ceil(wait)) : 0);
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
std::unique_ptr<FileSystem> MakeFileSystem() { return std::make_unique<SystemFiles>(); }
std::unique_ptr<EventLoop> MakeEventLoop() { return std::make_unique<QtEventLoop>(); }

}  // namespace toolkit::real
