#include "tests/scenario/Script.h"

#include <algorithm>
#include <sstream>

namespace scenario {

std::vector<Token> Tokenize(const std::string& text, int lineNumber) {
  std::vector<Token> tokens;
  size_t i = 0;
  while (i < text.size()) {
    if (text[i] == ' ' || text[i] == '\t' || text[i] == '\r') {
      ++i;
      continue;
    }
    Token token;
    if (text[i] == '"') {
      token.quoted = true;
      ++i;
      bool closed = false;
      while (i < text.size()) {
        char c = text[i++];
        if (c == '"') {
          closed = true;
          break;
        }
        if (c == '\\') {
          if (i >= text.size()) break;
          char escaped = text[i++];
          if (escaped == 'n')
            token.text += '\n';
          else if (escaped == '"' || escaped == '\\')
            token.text += escaped;
          else
            throw ScriptError(lineNumber, std::string("unknown escape \\") + escaped);
        } else {
          token.text += c;
        }
      }
      if (!closed) throw ScriptError(lineNumber, "text without its closing quote");
    } else {
      while (i < text.size() && text[i] != ' ' && text[i] != '\t' && text[i] != '\r') token.text += text[i++];
    }
    tokens.push_back(std::move(token));
  }
  return tokens;
}

std::vector<ScriptLine> ParseScript(const std::string& text, const std::vector<std::string>& knownCommands) {
  std::vector<ScriptLine> lines;
  std::istringstream input(text);
  std::string raw;
  int number = 0;
  while (std::getline(input, raw)) {
    ++number;
    std::vector<Token> tokens = Tokenize(raw, number);
    if (tokens.empty() || (!tokens[0].quoted && tokens[0].text[0] == '#')) continue;
    ScriptLine line;
    line.number = number;
    size_t commandTokens = tokens[0].text == "expect" && tokens.size() > 1 ? 2 : 1;
    for (size_t t = 0; t < commandTokens; ++t) line.command += (t ? " " : "") + tokens[t].text;
    line.args.assign(tokens.begin() + static_cast<long>(commandTokens), tokens.end());
    if (std::find(knownCommands.begin(), knownCommands.end(), line.command) == knownCommands.end())
      throw ScriptError(number, "unknown command \"" + line.command + "\"");
    lines.push_back(std::move(line));
  }
  return lines;
}

}  // namespace scenario
