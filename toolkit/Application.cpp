#include "toolkit/Application.h"

#include <QApplication>
#include <QLocale>
#include <QThreadPool>
#include <vector>

#include "toolkit/DisplayConnection.h"
#include "toolkit/RealServices.h"
#include "toolkit/Text.h"
#include "toolkit/UnhandledErrors.h"
#include "toolkit/Window.h"

namespace toolkit::runtime {
namespace {

struct RuntimeState {
  std::unique_ptr<QApplication> application;
  std::unique_ptr<EventLoop> loop;
  Ref<Application> appObject;
  std::vector<std::function<void()>> finalizers;
};

RuntimeState& State() {
  static RuntimeState state;
  return state;
}

}  // namespace

bool RuntimeInit(int argc, char** argv) {
  RuntimeState& state = State();
  if (!QApplication::instance()) {
    state.application = OpenDisplay(argc > 0 ? argv[0] : nullptr);
    if (!state.application) return false;
  }
  // Qt's raster painter splits each tall gradient fill (a scroll bar beside the trace) across
  // its global pool, a thread per core; waking them costs the program more than the fill.
  QThreadPool::globalInstance()->setMaxThreadCount(1);
  InstallMissingSeams({real::MakeClock, real::MakeWallClock, real::MakeSerialSystem, real::MakeDocuments,
                       real::MakeDialogs});
  if (!state.loop) state.loop = real::MakeEventLoop();
  // A test that made its own application keeps its fixed decimal mark.
  if (state.application) SetDecimalMark(QLocale::system().decimalPoint().toStdString());
  return true;
}

void InstallEventLoop(std::unique_ptr<EventLoop> loop) { State().loop = std::move(loop); }

void RegisterAppObject(Ref<Application> app) { State().appObject = std::move(app); }

Ref<Application> GetAppObject() { return State().appObject; }

void RunFrameworkInitialization(const std::function<void()>& lateStartup) {
  State().loop->InitializeFramework(lateStartup);
}

void RuntimeRun() { State().loop->Run(); }

void Quit() {
  Window::CloseOpenInstances();
  State().loop->Quit();
}

void UnhandledException(std::exception_ptr error) { ReportUnhandledExceptionBeforeExit(error); }

void AddFinalizer(std::function<void()> finalizer) { State().finalizers.push_back(std::move(finalizer)); }

void RuntimePerformFinalizers() {
  Window::ReleaseOpenInstances();
  std::vector<std::function<void()>> finalizers = std::move(State().finalizers);
  State().finalizers.clear();
  for (auto& finalizer : finalizers) finalizer();
}

int RuntimeExit() {
  // Qt's objects go while Qt is whole, never among the static destructors after main: the
  // loop's timer driver, the services (the error report window), then the application with
  // what it owns (the thread pacer).
  RuntimeState& state = State();
  state.loop.reset();
  UninstallSeams();
  state.application.reset();
  return 0;
}

}  // namespace toolkit::runtime
