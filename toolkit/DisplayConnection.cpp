#include "toolkit/DisplayConnection.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace toolkit {
namespace {

const char* ProgramPath = "hydromon";

bool IsSet(const char* name) {
  const char* value = std::getenv(name);
  return value && *value;
}

void ExplainNoDisplay(const std::string& reason) {
  std::fprintf(stderr, "hydromon: no display to open (%s); run it on a desktop, or headless with: xvfb-run -a %s\n",
               reason.c_str(), ProgramPath);
}

// What the framework says while it opens the display. Its own words for a display it cannot
// open end in an abort that advises reinstalling the program; the program's one line stands
// in their place. Anything it says on a good start is passed on once the start is over.
std::vector<std::pair<QtMsgType, QString>> HeldMessages;

void HoldWhileOpening(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type != QtFatalMsg) {
    HeldMessages.emplace_back(type, message);
    return;
  }
  ExplainNoDisplay(IsSet("DISPLAY") ? std::string("DISPLAY ") + std::getenv("DISPLAY") + " cannot be opened"
                                    : std::string("the display cannot be opened"));
  std::_Exit(1);
}

}  // namespace

std::unique_ptr<QApplication> OpenDisplay(const char* programPath) {
  if (programPath && *programPath) ProgramPath = programPath;
  if (!IsSet("QT_QPA_PLATFORM") && !IsSet("DISPLAY") && !IsSet("WAYLAND_DISPLAY")) {
    ExplainNoDisplay("neither DISPLAY nor WAYLAND_DISPLAY is set");
    return nullptr;
  }
  // The framework keeps pointers to its arguments for its whole life.
  static int argc = 1;
  static char name[] = "hydromon";
  static char* argv[] = {name, nullptr};
  const QtMessageHandler previous = qInstallMessageHandler(HoldWhileOpening);
  auto application = std::make_unique<QApplication>(argc, argv);
  qInstallMessageHandler(previous);
  for (const auto& [type, message] : std::exchange(HeldMessages, {}))
    qt_message_output(type, QMessageLogContext(), message);
  return application;
}

}  // namespace toolkit
