#pragma once
// A file's bytes as they lie on the disk; empty when it cannot be read.
#include <fstream>
#include <sstream>
#include <string>

namespace testing_support {

inline std::string FileContent(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream content;
  content << file.rdbuf();
  return content.str();
}

}  // namespace testing_support
