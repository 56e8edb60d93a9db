#pragma once
// Names a parameterised test after the `name` of its case (INSTANTIATE_TEST_SUITE_P's last
// argument), so that its name says the case.
#include <string>

namespace testing_support {

inline constexpr auto NameOfCase = [](const auto& info) { return std::string(info.param.name); };

}  // namespace testing_support
