#include "toolkit/UnhandledErrors.h"

#include <cxxabi.h>

#include <cstdlib>
#include <iostream>
#include <map>
#include <memory>
#include <typeinfo>
#include <utility>

#include "toolkit/Exceptions.h"

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

void ReportFrom(const void* source, const std::string& text) {
  auto& sources = FailingSources();
  auto found = sources.find(source);
  if (found != sources.end() && found->second.text == text) {
    if (++found->second.repeats == 1) Sink()("Unhandled exception repeating (shown once): " + text);
    return;
  }
  if (found != sources.end()) EndRun(found->second, "changed");
  sources[source] = FailureRun{text, 0};
  Sink()("Unhandled exception: " + text);
}

}  // namespace

// Without an event source there is no run of repeats to tell apart: each is reported.
void ReportUnhandledException(std::exception_ptr error) { Sink()("Unhandled exception: " + Describe(error)); }

void ForgetEventSource(const void* source) { FailingSources().erase(source); }

void RunEventHandler(const void* source, const std::function<void()>& handler) {
  try {
    handler();
  } catch (...) {
    ReportFrom(source, Describe(std::current_exception()));
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
