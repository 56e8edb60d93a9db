#pragma once
// The toolkit's report of unhandled errors: an exception that escapes an event handler, a
// thread's body or the start-up ends here. The report is one line on standard error; the
// same failure repeating (a log tick failing every 500 ms) is reported once, then again
// when it changes or stops. While the program goes on, the report also reaches the person at
// the desktop, who sees no standard error: the dialog service's error report window opens
// when a failure begins, in plain words, and stays shut while that source keeps failing.
#include <exception>
#include <functional>
#include <string>

namespace toolkit {

// An exception with no event source (a thread's body), after which the program goes on:
// reported each time.
void ReportUnhandledException(std::exception_ptr error);

// The start routine's catch-all: the program ends right after, so the report is the line on
// standard error alone. A window would vanish with the process, and a box that waits for a
// click would hold a dying process, and any headless run, open.
void ReportUnhandledExceptionBeforeExit(std::exception_ptr error);

// Runs an event handler of the given source (the control or window raising the event); an
// exception that leaves it goes to the report and the program goes on. Repeats are told
// apart per source: the same failure from the same source is reported once, a change of
// failure is reported again, and the source's first normal return after it says so.
void RunEventHandler(const void* source, const std::function<void()>& handler);

// A source that goes: its run of repeats ends with it, so no later object at the same
// address inherits it.
void ForgetEventSource(const void* source);

// Where report lines go (standard error unless a test catches them); gives back the sink it
// replaces, so that a test can put it back.
std::function<void(const std::string& line)> SetUnhandledErrorSink(std::function<void(const std::string& line)> sink);

}  // namespace toolkit
