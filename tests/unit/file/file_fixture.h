// Each file test works in a fresh scratch folder on a record that starts all
// zero, as one in a program's static data does.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "driver.h"
#include "file/file.h"

class FileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = driver::FreshDir(::testing::UnitTest::GetInstance()->current_test_info()->name());
    record_ = tessaric::FileRecord{};
  }

  std::string Path(const char* name) const { return folder_ + "\\" + name; }

  std::string folder_;
  tessaric::FileRecord record_;
};
