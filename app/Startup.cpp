#include "app/Startup.h"

#include "app/App.h"
#include "app/MainMenuBar.h"
#include "monitor/WindowMain.h"
#include "toolkit/Application.h"

using namespace toolkit::runtime;

int RunProgram(int argc, char** argv) {
  if (!RuntimeInit(argc, argv)) return 1;
  PerformInitializers();
  Main();
  RuntimePerformFinalizers();
  return RuntimeExit();
}

void PerformInitializers() { AddFinalizer(single::ReleaseMainMenuBar); }

void Main() {
  try {
    EarlyStartup();
    RunFrameworkInitialization(LateStartup);
    RuntimeRun();
  } catch (...) {
    UnhandledException(std::current_exception());
  }
}

void EarlyStartup() {
  InitFileTypes();
  NewAppInstance();
  ApplicationAddMenuHandlers();
}

// The application declares no document file types.
void InitFileTypes() {}

void NewAppInstance() {
  toolkit::Ref<App> app = toolkit::New<App>();
  if (app.IsNil()) throw toolkit::NilObjectException();
  toolkit::Ref<MainMenuBar> bar = single::MainMenuBar();
  app->SetMenuBar(bar);
  RegisterAppObject(app);
}

// The application object has no menu handlers of its own.
void ApplicationAddMenuHandlers() {}

void LateStartup() { MakeDefaultView(); }

void MakeDefaultView() { single::WindowMain(); }
