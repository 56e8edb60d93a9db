#include "toolkit/UnhandledErrors.h"

#include <cxxabi.h>

#include <cstdlib>
#include <iostream>
#include <map>
#include <memory>
#include <typeinfo>
#include <utility>

#include "toolkit/Exceptions.h"
#include "toolkit/Seams.h"

namespace toolkit {
namespace {

std::function<void(const std::string&)>& Sink() {
  static std::function<void(const std::string&)> sink = [](const std::string& line) {
    std::cerr << line << std::endl;
  };
  return sink;
}

// The readable class name of a standard exception ("std::runtime_error").
std::string ClassNameOf(const std::exception& e) {
  const char* mangled = typeid(e).name();
  int status = 0;
  std::unique_ptr<char, void (*)(void*)> readable(abi::__cxa_demangle(mangled, nullptr, nullptr, &status), std::free);
  return status == 0 && readable ? readable.get() : mangled;
}

std::string Describe(std::exception_ptr error) {
  try {
    std::rethrow_exception(error);
  } catch (const RuntimeException& e) {
    std::string text = std::string(e.ClassName()) + ": " + e.what();
    if (e.ErrorNumber() != 0) text += " (error number " + std::to_string(e.ErrorNumber()) + ")";
    return text;
  } catch (const std::exception& e) {
    return ClassNameOf(e) + ": " + e.what();
  } catch (...) {
    return "unknown exception";
  }
}

// A toolkit exception's message begins a paragraph: "cannot append to /x.csv: ..." is shown
// as "Cannot append to /x.csv: ...".
std::string Capitalised(std::string text) {
  if (!text.empty() && text.front() >= 'a' && text.front() <= 'z')
    text.front() = static_cast<char>(text.front() - 'a' + 'A');
  return text;
}

std::string Sentence(std::string text) {
  if (!text.empty() && text.back() != '.' && text.back() != '!' && text.back() != '?') text += '.';
  return text;
}

struct PlainFailure {
  const char* what;    // what failed, in plain words
  std::string detail;  // the exception's own words: for a file, its path and the system's reason
};

PlainFailure Plain(std::exception_ptr error) {
  static const char* const unexpected = "The program met an error it did not expect.";
  try {
    std::rethrow_exception(error);
  } catch (const IOException& e) {
    return {"A file could not be written.", Capitalised(e.what())};
  } catch (const NilObjectException& e) {
    return {"Something the program needed was missing.", Capitalised(e.what())};
  } catch (const RuntimeException& e) {
    return {unexpected, Capitalised(e.what())};
  } catch (...) {
    return {unexpected, Describe(error)};
  }
}

constexpr const char* kRetrying =
    "The program keeps running and will try again. While it keeps failing, this message is not shown again.";
constexpr const char* kGoingOn = "The program keeps running.";

std::string WindowText(std::exception_ptr error, const char* whatNext) {
  const PlainFailure failure = Plain(error);
  return std::string(failure.what) + "\n\n" + Sentence(failure.detail) + "\n\n" + whatNext;
}

// The window must not make the report raise: without a dialog service (a test that installs
// none), or when the window fails, standard error still has the report.
void ToWindow(void (DialogService::*operation)(const std::string&), const std::string& text) {
  try {
    (Dialogs().*operation)(text);
  } catch (...) {
  }
}

struct FailureRun {
  std::string text;
  long repeats = 0;
};

std::map<const void*, FailureRun>& FailingSources() {
  static std::map<const void*, FailureRun> sources;
  return sources;
}

void EndRun(const FailureRun& run, const char* how) {
  if (run.repeats > 0)
    Sink()("Unhandled exception " + std::string(how) + " after " + std::to_string(run.repeats) +
           (run.repeats == 1 ? " repeat: " : " repeats: ") + run.text);
}

// The window opens when a source's run of failures begins; a change within the run only
// refreshes it, so a person who closed it is not asked again until the source has worked.
void ReportFrom(const void* source, std::exception_ptr error) {
  const std::string text = Describe(error);
  auto& sources = FailingSources();
  auto found = sources.find(source);
  if (found != sources.end() && found->second.text == text) {
    if (++found->second.repeats == 1) Sink()("Unhandled exception repeating (shown once): " + text);
    return;
  }
  const bool alreadyFailing = found != sources.end();
  if (alreadyFailing) EndRun(found->second, "changed");
  sources[source] = FailureRun{text, 0};
  Sink()("Unhandled exception: " + text);
  ToWindow(alreadyFailing ? &DialogService::UpdateErrorReport : &DialogService::ShowErrorReport,
           WindowText(error, kRetrying));
}

}  // namespace

// Without an event source there is no run of repeats to tell apart: each is reported.
void ReportUnhandledException(std::exception_ptr error) {
  Sink()("Unhandled exception: " + Describe(error));
  ToWindow(&DialogService::ShowErrorReport, WindowText(error, kGoingOn));
}

void ReportUnhandledExceptionBeforeExit(std::exception_ptr error) { Sink()("Unhandled exception: " + Describe(error)); }

void ForgetEventSource(const void* source) { FailingSources().erase(source); }

void RunEventHandler(const void* source, const std::function<void()>& handler) {
  try {
    handler();
  } catch (...) {
    ReportFrom(source, std::current_exception());
    return;
  }
  auto& sources = FailingSources();
  auto found = sources.find(source);
  if (found == sources.end()) return;
  EndRun(found->second, "stopped");
  if (found->second.repeats == 0) Sink()("Unhandled exception stopped: " + found->second.text);
  sources.erase(found);
}

std::function<void(const std::string& line)> SetUnhandledErrorSink(std::function<void(const std::string& line)> sink) {
  return std::exchange(Sink(), std::move(sink));
}

}  // namespace toolkit
