// scenario_runner FILE.scn: starts the program under the test seams, runs the file's lines in
// order and exits 0 when every expectation holds; a failing line prints
// FILE:LINE: expected ... got ... and stops the file.
#include <fstream>
#include <iostream>
#include <sstream>

#include "tests/scenario/Scenario.h"
#include "tests/support/program/StartedProgram.h"

namespace {

std::map<std::string, scenario::Command> AllCommands() {
  std::map<std::string, scenario::Command> commands = scenario::ActingCommands();
  commands.merge(scenario::CheckingCommands());
  return commands;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: scenario_runner FILE.scn\n";
    return 2;
  }
  const std::string path = argv[1];
  std::ifstream file(path);
  if (!file) {
    std::cerr << path << ": cannot be read\n";
    return 2;
  }
  std::stringstream text;
  text << file.rdbuf();

  const std::map<std::string, scenario::Command> commands = AllCommands();
  std::vector<std::string> known;
  for (const auto& [name, command] : commands) known.push_back(name);

  std::vector<scenario::ScriptLine> lines;
  try {
    lines = scenario::ParseScript(text.str(), known);
  } catch (const scenario::ScriptError& error) {
    std::cerr << path << ":" << error.line << ": " << error.what() << "\n";
    return 1;
  }

  testing_support::TestEnvironment environment;
  program_fixtures::StartedProgram program;
  scenario::Scenario scenario(environment);
  int status = 0;
  for (const scenario::ScriptLine& line : lines) {
    try {
      commands.at(line.command)(scenario, line);
    } catch (const std::exception& failure) {
      std::cerr << path << ":" << line.number << ": " << failure.what() << "\n";
      status = 1;
      break;
    }
  }
  return status;
}
