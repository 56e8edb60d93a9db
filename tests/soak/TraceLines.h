#pragma once
// The lines put in front of the trace since it was last read. The trace is a stack with the
// newest line on top, cut at its end, so the new lines are what stands before the place where
// the earlier text carries on.
#include <string>
#include <vector>

namespace soak {

std::vector<std::string> LinesPutInFront(const std::string& before, const std::string& now);

}  // namespace soak
