// Files of 2 GB and more, whose end no position (an INTEGER) can reach and
// whose bytes no text can hold: never read, sized or opened as if they were
// small ones. The files are sparse, made by setting their end, and removed
// again by each test.
#include <cstring>
#include <string>
#include <vector>

#include "../fatal_catcher.h"
#include "file_fixture.h"

#include <winioctl.h>  // after windows.h, which it needs

using namespace tessaric;

namespace {

class LargeFileTest : public FileTest {
 protected:
  void TearDown() override {
    FileTest::TearDown();
    // A handle left open would keep the file: every test's files go.
    for (const std::string& path : made_) EXPECT_TRUE(DeleteFileA(path.c_str())) << path << " is still open";
  }

  // A file of size bytes, sparse where the file system knows sparse files,
  // that ends in ten known bytes.
  std::string Make(const char* name, uint64_t size) {
    std::string path = Path(name);
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_NE(file, INVALID_HANDLE_VALUE) << path;
    made_.push_back(path);
    DWORD unused;
    DeviceIoControl(file, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &unused, nullptr);
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(size - 10);
    SetFilePointerEx(file, at, nullptr, FILE_BEGIN);
    DWORD written = 0;
    EXPECT_TRUE(WriteFile(file, "0123456789", 10, &written, nullptr));
    CloseHandle(file);
    EXPECT_EQ(SizeOf(path), size);
    return path;
  }

  static uint64_t SizeOf(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return uint64_t{data.nFileSizeHigh} << 32 | data.nFileSizeLow;
  }

  std::vector<std::string> made_;
};

constexpr uint64_t kTooLarge[] = {uint64_t{1} << 31, 0xA0000000u, (uint64_t{1} << 32) + 10};

// Opening one fails as for a file that cannot be opened: -1 for the handle
// and the size, nothing read or written, and the file as it was.
TEST_F(LargeFileTest, OpeningAFileOf2GBOrMoreIsRefused) {
  for (uint64_t size : kTooLarge) {
    for (uint32_t mode : {kFileRead, kFileWrite, 2u}) {
      SCOPED_TRACE(std::to_string(size) + " bytes, mode " + std::to_string(mode));
      std::string path = Make("large.dat", size);
      EXPECT_EQ(Open("large.dat", mode), INVALID_HANDLE_VALUE);
      EXPECT_EQ(record_.FileHandle, INVALID_HANDLE_VALUE);
      EXPECT_EQ(record_.data.length, -1);
      EXPECT_EQ(FileRefreshSize(), -1);
      EXPECT_EQ(FileAtEnd(), 1);
      EXPECT_EQ(Read(10), "");
      EXPECT_EQ(Write("abc"), 0);
      EXPECT_EQ(FileClose(), 0);
      EXPECT_EQ(SizeOf(path), size);
      ASSERT_TRUE(DeleteFileA(path.c_str())) << "the refused file was left open";
      made_.clear();
    }
  }
}

// Mode 65535 empties the file before anything is sized: then it is a small one.
TEST_F(LargeFileTest, ReplacingAFileOf2GBOrMoreEmptiesIt) {
  std::string path = Make("large.dat", (uint64_t{1} << 32) + 10);
  ASSERT_NE(Open("large.dat", kFileReplace), INVALID_HANDLE_VALUE);
  EXPECT_EQ(FileRefreshSize(), 0);
  EXPECT_EQ(Write("abc"), 3);
  EXPECT_EQ(FileClose(), 0);
  EXPECT_EQ(Disk("large.dat"), "abc");
}

// READFILE$ of one ends the program with "Insufficient memory", as a text that
// large would, rather than read ten bytes as the whole file; the file is closed.
TEST_F(LargeFileTest, ReadingAFileTooLargeForATextEndsTheProgram) {
  for (uint64_t size : {uint64_t{0x7FFFFFF0}, uint64_t{1} << 31, uint64_t{0xA0000000u}, (uint64_t{1} << 32) + 10}) {
    SCOPED_TRACE(std::to_string(size) + " bytes");
    std::string path = Make("large.dat", size);
    unittest::FatalOutcome outcome = unittest::RunToFatal([&] { FileReadAll(&record_, path.c_str()); });
    EXPECT_EQ(outcome.fault, 0u);
    EXPECT_EQ(outcome.text, "Insufficient memory");
    EXPECT_EQ(outcome.exitCode, 3u);
    ASSERT_TRUE(DeleteFileA(path.c_str())) << "the file was left open";
    made_.clear();
  }
}

// A file just below 2 GB opens, and its end is a position; no transfer takes
// the position, or the file, past 2147483647.
TEST_F(LargeFileTest, NoTransferGoesPastTheLargestPosition) {
  std::string path = Make("edge.dat", 0x7FFFFFFF);
  ASSERT_NE(Open("edge.dat", 2), INVALID_HANDLE_VALUE);
  EXPECT_EQ(record_.data.length, INT32_MAX);
  EXPECT_EQ(FileRefreshSize(), INT32_MAX);
  FileSeek(INT32_MAX - 4);
  EXPECT_EQ(Read(100), "6789");
  EXPECT_EQ(FileAtEnd(), 1);
  EXPECT_EQ(Write("x"), 0);
  EXPECT_EQ(record_.data.position, INT32_MAX);
  FileSeek(INT32_MAX - 2);
  EXPECT_EQ(Write("abcdef"), 2);
  EXPECT_EQ(record_.data.position, INT32_MAX);
  EXPECT_EQ(FileClose(), 0);
  EXPECT_EQ(SizeOf(path), 0x7FFFFFFFu);
}

}  // namespace
