#pragma once
// The program's frame: from the process entry to the event loop, and from the loop's return
// to the exit.

// The whole run: runtime start, class set-up, the start routine, finalisers, exit status.
int RunProgram(int argc, char** argv);

// The start routine: every step from the early start-up to the event loop lies inside one
// catch-all, which hands an escaping exception to the report of unhandled errors.
void Main();

// What the runtime sets up before the start routine: the finaliser that releases the menu bar.
void PerformInitializers();

void EarlyStartup();
void InitFileTypes();
void NewAppInstance();
void ApplicationAddMenuHandlers();
void LateStartup();
void MakeDefaultView();
