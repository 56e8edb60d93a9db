#pragma once
// The application object and the runtime around the event loop: start-up steps, the
// registered application object, the loop itself, finalisers and exit.
#include <exception>
#include <functional>

#include "toolkit/Menu.h"
#include "toolkit/Ref.h"

namespace toolkit {

class Thread;

class Application {
 public:
  virtual ~Application() = default;
  void SetMenuBar(Ref<toolkit::MenuBar> bar) { menuBar_ = std::move(bar); }
  Ref<toolkit::MenuBar> MenuBar() const { return menuBar_; }
  // The cooperative thread that is running, nil on the main thread. Serves worker threads.
  Ref<Thread> CurrentThread() const;
  virtual void Event_Open() {}

 private:
  Ref<toolkit::MenuBar> menuBar_;
};

// The event loop's service. The real one runs Qt's loop; the test runner's returns at once
// and delivers events itself.
class EventLoop {
 public:
  virtual ~EventLoop() = default;
  // Initialises the framework and calls lateStartup back once, when the default window is due.
  virtual void InitializeFramework(const std::function<void()>& lateStartup) = 0;
  virtual void Run() = 0;
  virtual void Quit() = 0;
};

namespace runtime {

// Initialises the toolkit before anything else: the real services (unless a test installed
// its own), and the GUI framework. Returns false, after one line on standard error, when no
// display is named; a named display that cannot be opened ends the process with status 1.
bool RuntimeInit(int argc, char** argv);
void InstallEventLoop(std::unique_ptr<EventLoop> loop);

void RegisterAppObject(Ref<Application> app);
Ref<Application> GetAppObject();  // serves worker threads too
void RunFrameworkInitialization(const std::function<void()>& lateStartup);
void RuntimeRun();
void Quit();
// The report of unhandled errors, for the start routine's catch-all.
void UnhandledException(std::exception_ptr error);

// Finalisers run after the loop: the toolkit's own first, then the program's in the order
// they were added.
void AddFinalizer(std::function<void()> finalizer);
void RuntimePerformFinalizers();
// Ends the runtime: the event loop's service and the GUI framework's application object go.
// Returns the process's exit status: 0, as nothing in the program ends it in failure.
int RuntimeExit();

}  // namespace runtime
}  // namespace toolkit
