// A test that runs against one freshly started valdremo.exe.
#pragma once

#include <gtest/gtest.h>

#include "program_driver.h"

namespace e2e {

class ProgramTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(program.Start(), ""); }
  void TearDown() override { program.Stop(); }

  HWND Control(int id) const { return program.Control(id); }

  BrowserLog browser;
  Program program;
};

}  // namespace e2e
