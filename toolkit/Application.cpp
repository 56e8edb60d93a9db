#include "toolkit/Application.h"

#include <QApplication>
#include <QLocale>
#include <cstdio>
#include <cstdlib>
#include <vector>

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

bool DisplayAvailable() {
  auto set = [](const char* name) {
    const char* value = std::getenv(name);
    return value && *value;
  };
  return set("QT_QPA_PLATFORM") || set("DISPLAY") || set("WAYLAND_DISPLAY");
}

}  // namespace

bool RuntimeInit(int argc, char** argv) {
  if (!DisplayAvailable()) {
    std::fprintf(stderr,
                 "hydromon: no display to open (neither DISPLAY nor WAYLAND_DISPLAY is set); "
                 "run it on a desktop, or headless with: xvfb-run -a %s\n",
                 argc > 0 ? argv[0] : "hydromon");
    return false;
  }
  RuntimeState& state = State();
  if (!QApplication::instance()) {
    static int qtArgc = 1;
    static char name[] = "hydromon";
    static char* qtArgv[] = {name, nullptr};
    state.application = std::make_unique<QApplication>(qtArgc, qtArgv);
  }
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

void UnhandledException(std::exception_ptr error) { ReportUnhandledException(error); }

void AddFinalizer(std::function<void()> finalizer) { State().finalizers.push_back(std::move(finalizer)); }

void RuntimePerformFinalizers() {
  Window::ReleaseOpenInstances();
  std::vector<std::function<void()>> finalizers = std::move(State().finalizers);
  State().finalizers.clear();
  for (auto& finalizer : finalizers) finalizer();
}

int RuntimeExit() { return 0; }

}  // namespace toolkit::runtime
