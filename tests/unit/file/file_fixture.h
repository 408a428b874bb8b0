// Each file test works in a fresh scratch folder on a record that starts all
// zero, as one in a program's static data does.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "driver.h"
#include "file/file.h"

class FileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = driver::FreshDir(::testing::UnitTest::GetInstance()->current_test_info()->name());
    record_ = tessaric::FileRecord{};
    tessaric::CurrentObject = tessaric::QueryObject = &record_;
  }

  void TearDown() override {
    tessaric::CloseOpened(record_.FileHandle);
    tessaric::CurrentObject = tessaric::QueryObject = nullptr;
  }

  std::string Path(const char* name) const { return folder_ + "\\" + name; }
  std::string Disk(const char* name) const { return driver::ReadFileBytes(Path(name)); }
  void Put(const char* name, const std::string& bytes) const { driver::WriteFileBytes(Path(name), bytes); }
  HANDLE Open(const char* name, uint32_t mode) { return tessaric::FileOpen(Path(name).c_str(), mode); }

  // Writes the file, then opens it in the mode.
  void OpenWith(const char* name, const std::string& bytes, uint32_t mode) {
    Put(name, bytes);
    EXPECT_NE(Open(name, mode), INVALID_HANDLE_VALUE) << name;
  }
  // ... and loads it into memory.
  tessaric::StringValue LoadWith(const char* name, const std::string& bytes, uint32_t mode) {
    OpenWith(name, bytes, mode);
    return tessaric::FileLoad(&record_);
  }
  bool Cleared() const {
    tessaric::FileRecord zero{};
    return std::memcmp(&record_, &zero, sizeof zero) == 0;
  }

  // Reads up to count bytes through FileTransfer; the result holds what moved.
  std::string Read(int32_t count) {
    std::string buffer(count > 0 ? count : 1, '\xCC');
    int32_t moved = tessaric::FileTransfer(&record_, &buffer[0], count, tessaric::kFileReadBytes);
    EXPECT_GE(moved, 0);
    EXPECT_LE(moved, count);
    // Nothing past the bytes moved is touched.
    for (size_t i = moved > 0 ? moved : 0; i < buffer.size(); ++i) EXPECT_EQ(buffer[i], '\xCC') << i;
    return buffer.substr(0, moved > 0 ? moved : 0);
  }
  int32_t Write(const std::string& bytes) {
    return tessaric::FileTransfer(&record_, const_cast<char*>(bytes.data()), static_cast<int32_t>(bytes.size()),
                                  tessaric::kFileWriteBytes);
  }

  std::string folder_;
  tessaric::FileRecord record_;
};
