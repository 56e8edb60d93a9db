#include "tests/soak/TraceLines.h"

namespace soak {

std::vector<std::string> LinesPutInFront(const std::string& before, const std::string& now) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < now.size()) {
    const size_t rest = now.size() - start;
    if (rest <= before.size() && before.compare(0, rest, now, start, rest) == 0) break;
    size_t end = now.find('\n', start);
    if (end == std::string::npos) end = now.size();
    lines.push_back(now.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

}  // namespace soak
