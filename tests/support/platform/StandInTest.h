#pragma once
// A fresh stand-in for each test, and the count of its live objects that a test comes back to.
#include <gtest/gtest.h>

#include <cstdint>

#include "tests/support/platform/StandInControl.h"

namespace platform::control {

class StandInTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Reset();
    baseline_ = LiveObjectCount();
  }

  int32_t baseline_ = 0;
};

}  // namespace platform::control
