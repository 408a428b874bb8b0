// Random sequences of open, load, read, write, seek, end test and close on one
// record and two files, checked against a model of the files and the record
// kept in plain byte strings. Each sequence has its own seed; a failure names
// it, and setting kFirstSeed to it with kSequences = 1 replays that sequence.
#include <sstream>

#include "file_fixture.h"

using namespace tessaric;

namespace {

constexpr uint32_t kFirstSeed = 1;
constexpr int kSequences = 300;
constexpr int kStepsPerSequence = 40;
const char* const kNames[2] = {"a.dat", "b.dat"};
constexpr uint32_t kModes[4] = {kFileRead, kFileWrite, 2, kFileReplace};

enum Op : uint32_t { kOpen, kLoad, kRead, kWrite, kSeek, kAtEnd, kClose, kOpCount };

// A small linear congruential generator: the same numbers on every platform.
class Random {
 public:
  explicit Random(uint32_t seed) : state_(seed) {}
  uint32_t Below(uint32_t n) {
    state_ = state_ * 1664525u + 1013904223u;
    return (state_ >> 8) % n;
  }
  std::string Bytes(uint32_t count) {
    std::string bytes;
    for (uint32_t i = 0; i < count; ++i) bytes += static_cast<char>('a' + Below(26));
    return bytes;
  }

 private:
  uint32_t state_;
};

// Places bytes at an offset, filling any gap before it with zeros.
void Overwrite(std::string& target, size_t at, const std::string& bytes) {
  if (bytes.empty()) return;
  if (target.size() < at + bytes.size()) target.resize(at + bytes.size(), '\0');
  target.replace(at, bytes.size(), bytes);
}

// What the files and the record should hold.
struct Model {
  std::string disk[2];
  bool open = false;
  int file = 0;
  uint32_t mode = 0;
  bool memory = false;
  std::string copy;
  size_t position = 0;

  bool Reads() const { return mode != kFileWrite && mode != kFileReplace; }
  bool Writes() const { return mode != kFileRead; }
  // The bytes the record works on: the copy, or the open file itself.
  std::string& Bytes() { return memory ? copy : disk[file]; }
};

class FileModelTest : public FileTest {
 protected:
  void RunSequence(uint32_t seed) {
    Random random(seed);
    Model model;
    for (int f = 0; f < 2; ++f) {
      model.disk[f] = random.Bytes(random.Below(30));
      Put(kNames[f], model.disk[f]);
    }
    std::ostringstream steps;
    for (int step = 0; step < kStepsPerSequence && !HasFailure(); ++step) {
      Step(random, model, model.open ? static_cast<Op>(random.Below(kOpCount)) : kOpen, steps);
    }
    if (!HasFailure()) Step(random, model, kClose, steps);
    if (HasFailure()) FAIL() << "sequence seed " << seed << ", steps:" << steps.str();
  }

  void Step(Random& random, Model& m, Op op, std::ostringstream& steps) {
    switch (op) {
      case kOpen: {  // re-opening an open record closes it first, as Close does
        if (m.open && m.memory && m.Writes()) Overwrite(m.disk[m.file], 0, m.copy);
        m.file = static_cast<int>(random.Below(2));
        m.mode = kModes[random.Below(4)];
        steps << " open(" << kNames[m.file] << "," << m.mode << ")";
        EXPECT_NE(Open(kNames[m.file], m.mode), INVALID_HANDLE_VALUE);
        if (m.mode == kFileReplace) m.disk[m.file].clear();
        m.open = true;
        m.memory = false;
        m.position = 0;
        break;
      }
      case kLoad: {  // the whole file, from its start, once
        steps << " load";
        if (!m.memory) {
          m.copy = m.Reads() ? m.disk[m.file] : std::string();
          m.memory = true;
          m.position = 0;
        }
        StringValue copy = FileLoad(&record_);
        EXPECT_EQ(std::string(copy.text, copy.length), m.copy);
        break;
      }
      case kRead: {
        int32_t count = static_cast<int32_t>(random.Below(12));
        steps << " read(" << count << ")";
        std::string expected;
        if (m.memory || m.Reads()) {
          const std::string& bytes = m.Bytes();
          if (m.position < bytes.size()) expected = bytes.substr(m.position, count);
        }
        m.position += expected.size();
        EXPECT_EQ(Read(count), expected);
        break;
      }
      case kWrite: {
        std::string bytes = random.Bytes(random.Below(12));
        steps << " write(" << bytes.size() << ")";
        bool moves = m.memory || m.Writes();
        if (moves) {
          Overwrite(m.Bytes(), m.position, bytes);
          m.position += bytes.size();
        }
        EXPECT_EQ(Write(bytes), moves ? static_cast<int32_t>(bytes.size()) : 0);
        break;
      }
      case kSeek: {  // at times past the end
        int32_t offset = static_cast<int32_t>(random.Below(static_cast<uint32_t>(m.Bytes().size()) + 8));
        steps << " seek(" << offset << ")";
        m.position = static_cast<size_t>(offset);
        EXPECT_EQ(FileSeek(offset), static_cast<uint32_t>(offset));
        break;
      }
      case kAtEnd: {
        steps << " at-end";
        EXPECT_EQ(FileAtEnd(), m.position >= m.Bytes().size() ? 1 : 0) << "position " << m.position;
        break;
      }
      default: {  // close: a writable copy overwrites the file from its start
        steps << " close";
        if (m.open && m.memory && m.Writes()) Overwrite(m.disk[m.file], 0, m.copy);
        m.open = m.memory = false;
        EXPECT_EQ(FileClose(), 0);
        EXPECT_TRUE(Cleared());
        for (int f = 0; f < 2; ++f) EXPECT_EQ(Disk(kNames[f]), m.disk[f]) << kNames[f];
        break;
      }
    }
  }
};

TEST_F(FileModelTest, RandomSequencesMatchTheModel) {
  for (uint32_t seed = kFirstSeed; seed < kFirstSeed + kSequences && !HasFailure(); ++seed) RunSequence(seed);
}

}  // namespace
