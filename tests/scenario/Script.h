#pragma once
// A scenario file as lines of tokens. Tokens are separated by blanks; a text is written in
// double quotes, inside which \" is a quote, \\ a backslash and \n a line feed.
#include <stdexcept>
#include <string>
#include <vector>

namespace scenario {

struct Token {
  std::string text;
  bool quoted = false;
};

struct ScriptLine {
  int number = 0;
  std::string command;        // "advance", or "expect member" for checks
  std::vector<Token> args;    // the tokens after the command
};

// A line that cannot be read, or a command the language does not have.
struct ScriptError : std::runtime_error {
  ScriptError(int line, const std::string& message) : std::runtime_error(message), line(line) {}
  int line;
};

std::vector<Token> Tokenize(const std::string& text, int lineNumber);
// Reads the whole file; every line's command must be one of knownCommands.
std::vector<ScriptLine> ParseScript(const std::string& text, const std::vector<std::string>& knownCommands);

}  // namespace scenario
