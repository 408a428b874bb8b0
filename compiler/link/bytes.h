// Little-endian reading and writing of byte buffers, and the linker's error:
// a malformed input or something the linker does not handle stops the link
// with a message that names the file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace tbc::link {

using Bytes = std::vector<uint8_t>;

// Thrown inside the linker, caught where it is called (Link, ReadArchive...)
// and turned into its message.
struct LinkError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

[[noreturn]] inline void Fail(const std::string& message) { throw LinkError(message); }

inline uint16_t Get16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
inline uint32_t Get32(const uint8_t* p) {
  return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
}
inline void Put16(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}
inline void Put32(uint8_t* p, uint32_t v) {
  Put16(p, v);
  Put16(p + 2, v >> 16);
}

inline uint32_t AlignUp(uint32_t value, uint32_t alignment) { return (value + alignment - 1) / alignment * alignment; }

// A buffer that grows as it is written, for headers and tables.
class Writer {
 public:
  Bytes bytes;
  size_t size() const { return bytes.size(); }
  void u8(uint32_t v) { bytes.push_back(static_cast<uint8_t>(v)); }
  void u16(uint32_t v) {
    u8(v);
    u8(v >> 8);
  }
  void u32(uint32_t v) {
    u16(v);
    u16(v >> 16);
  }
  void zeros(size_t n) { bytes.insert(bytes.end(), n, 0); }
  void text(const std::string& s) { bytes.insert(bytes.end(), s.begin(), s.end()); }
  void append(const uint8_t* data, size_t n) { bytes.insert(bytes.end(), data, data + n); }
  void align(size_t alignment) { zeros((alignment - bytes.size() % alignment) % alignment); }
  void put32(size_t at, uint32_t v) { Put32(&bytes[at], v); }
};

}  // namespace tbc::link
