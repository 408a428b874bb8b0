// tessaric-finish IMAGE [MAP]
// Completes a module linked with image_layout.ld, in place (so the file keeps
// its mode, the linker's run bit too):
// - the zero bytes at the end of each writable section's raw data leave the
//   file: the section's raw size ends at its last non-zero byte, rounded up to
//   the file alignment, and the loader zero-fills the rest up to its virtual
//   size, as for any section whose raw data is shorter. The sections after it
//   move down, and the headers say so;
// - a library's export directory entry: the linker fills it only for a section
//   named .edata, so it is taken from the link map (MAP), where the export data
//   shows as the input section .edata;
// - the checksum, computed again over the final bytes.
// A program of the build machine: the build runs it after linking every
// freestanding module, and the compiler after a link through ld (the kit
// names it; only the comparison tests link that way, TESSARIC_LINKER=ld). The
// compiler's own linker writes its images finished.
//
// The zero data is never read byte by byte: the search for a section's last
// non-zero byte runs backwards over the parts of the file that hold data (the
// linker leaves long runs of zeros as holes), a buffer at a time, and the
// bytes after the cut move down in buffers.
#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr size_t kBuffer = 1 << 20;

[[noreturn]] void Fail(const std::string& message) {
  std::fprintf(stderr, "tessaric-finish: %s\n", message.c_str());
  std::exit(1);
}

class Image {
 public:
  explicit Image(const char* path) : path_(path) {
    fd_ = open(path, O_RDWR);
    if (fd_ < 0) Fail(std::string("cannot open ") + path + ": " + std::strerror(errno));
    struct stat s;
    if (fstat(fd_, &s) != 0) Fail(std::string("cannot read the size of ") + path);
    size_ = static_cast<uint64_t>(s.st_size);
  }
  ~Image() { close(fd_); }

  uint64_t size() const { return size_; }

  // Bytes beyond the end read as zeros, as od reads nothing there.
  size_t Read(uint64_t offset, void* into, size_t count) const {
    std::memset(into, 0, count);
    size_t done = 0;
    while (done < count && offset + done < size_) {
      ssize_t n = pread(fd_, static_cast<char*>(into) + done, count - done, static_cast<off_t>(offset + done));
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) Fail("cannot read " + path_ + ": " + std::strerror(errno));
      if (n == 0) break;
      done += static_cast<size_t>(n);
    }
    return done;
  }
  void Write(uint64_t offset, const void* from, size_t count) {
    size_t done = 0;
    while (done < count) {
      ssize_t n = pwrite(fd_, static_cast<const char*>(from) + done, count - done, static_cast<off_t>(offset + done));
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) Fail("cannot write " + path_ + ": " + std::strerror(errno));
      done += static_cast<size_t>(n);
    }
    if (offset + count > size_) size_ = offset + count;
  }
  uint32_t Read32(uint64_t offset) const {
    unsigned char b[4];
    Read(offset, b, 4);
    return b[0] | b[1] << 8 | b[2] << 16 | static_cast<uint32_t>(b[3]) << 24;
  }
  uint16_t Read16(uint64_t offset) const {
    unsigned char b[2];
    Read(offset, b, 2);
    return static_cast<uint16_t>(b[0] | b[1] << 8);
  }
  void Write32(uint64_t offset, uint32_t value) {
    unsigned char b[4] = {static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8),
                          static_cast<unsigned char>(value >> 16), static_cast<unsigned char>(value >> 24)};
    Write(offset, b, 4);
  }

  // The parts of [from, to) that may hold data, in order: the holes between
  // them read as zeros. The whole range when the file system cannot tell.
  std::vector<std::pair<uint64_t, uint64_t>> DataParts(uint64_t from, uint64_t to) const {
    std::vector<std::pair<uint64_t, uint64_t>> parts;
    uint64_t at = from;
    while (at < to) {
      off_t data = lseek(fd_, static_cast<off_t>(at), SEEK_DATA);
      if (data < 0) {
        if (errno == ENXIO) break;  // only a hole from here to the end
        parts.assign(1, {from, to});
        return parts;
      }
      if (static_cast<uint64_t>(data) >= to) break;
      off_t hole = lseek(fd_, data, SEEK_HOLE);
      uint64_t end = hole < 0 ? to : std::min<uint64_t>(static_cast<uint64_t>(hole), to);
      parts.push_back({static_cast<uint64_t>(data), end});
      at = end;
    }
    return parts;
  }

  // The count of bytes of [start, start + length) up to and including the
  // last one that is not zero; 0 when all are.
  uint64_t Used(uint64_t start, uint64_t length) const {
    uint64_t end = std::min(start + length, size_);
    if (start >= end) return 0;
    std::vector<std::pair<uint64_t, uint64_t>> parts = DataParts(start, end);
    std::vector<unsigned char> buffer(kBuffer);
    for (auto part = parts.rbegin(); part != parts.rend(); ++part) {
      for (uint64_t high = part->second; high > part->first;) {
        uint64_t low = high - std::min<uint64_t>(kBuffer, high - part->first);
        size_t count = static_cast<size_t>(high - low);
        Read(low, buffer.data(), count);
        // Whole words first, from the end; then the bytes of the word found.
        size_t i = count;
        while (i % 8 != 0 && buffer[i - 1] == 0) --i;
        if (i % 8 == 0) {
          while (i >= 8) {
            uint64_t word;
            std::memcpy(&word, &buffer[i - 8], 8);
            if (word != 0) break;
            i -= 8;
          }
          while (i > 0 && buffer[i - 1] == 0) --i;
        }
        if (i > 0) return low + i - start;
        high = low;
      }
    }
    return 0;
  }

  // Takes [from, from + count) out of the file: what follows moves down.
  void Remove(uint64_t from, uint64_t count) {
    uint64_t kept = std::min(from, size_);
    uint64_t tail = from + count;
    std::vector<unsigned char> buffer(kBuffer);
    uint64_t to = kept;
    for (uint64_t at = tail; at < size_;) {
      size_t n = static_cast<size_t>(std::min<uint64_t>(kBuffer, size_ - at));
      Read(at, buffer.data(), n);
      Write(to, buffer.data(), n);
      at += n;
      to += n;
    }
    if (ftruncate(fd_, static_cast<off_t>(to)) != 0) Fail("cannot shorten " + path_ + ": " + std::strerror(errno));
    size_ = to;
  }

  // The sum of the file's 16-bit words with the carries folded back in,
  // skipping the two words at skip (the checksum itself); an odd last byte
  // counts as a word of its own.
  uint32_t WordSum(uint64_t skip) const {
    uint64_t first = skip / 2;
    uint32_t sum = 0;
    std::vector<unsigned char> buffer(kBuffer);
    for (uint64_t at = 0; at < size_; at += kBuffer) {
      size_t n = static_cast<size_t>(std::min<uint64_t>(kBuffer, size_ - at));
      Read(at, buffer.data(), n + (n % 2));
      for (size_t i = 0; i < n; i += 2) {
        uint64_t word = (at + i) / 2;
        if (word == first || word == first + 1) continue;
        sum += buffer[i] | buffer[i + 1] << 8;
        sum = (sum & 0xFFFF) + (sum >> 16);
      }
    }
    return sum;
  }

 private:
  std::string path_;
  int fd_ = -1;
  uint64_t size_ = 0;
};

// The address and size of the export data in the link map: the first line
// whose first word is .edata and whose second is an address.
bool ExportData(const char* mapPath, uint32_t& address, uint32_t& size) {
  std::ifstream map(mapPath);
  if (!map) Fail(std::string("cannot read the link map ") + mapPath);
  for (std::string line; std::getline(map, line);) {
    std::istringstream words(line);
    std::string name, at, length;
    words >> name >> at >> length;
    if (name != ".edata" || at.compare(0, 2, "0x") != 0) continue;
    address = static_cast<uint32_t>(std::strtoull(at.c_str(), nullptr, 16));
    size = length.empty() ? 0 : static_cast<uint32_t>(std::strtoull(length.c_str(), nullptr, 0));
    return true;
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: tessaric-finish IMAGE [MAP]\n");
    return 2;
  }
  Image image(argv[1]);
  uint32_t pe = image.Read32(60);
  if (image.size() < 64 || image.Read32(pe) != 0x00004550) Fail(std::string(argv[1]) + " is not a PE image");
  uint32_t sections = image.Read16(pe + 6);
  uint64_t optional = pe + 24;
  uint64_t table = optional + image.Read16(pe + 20);
  uint32_t base = image.Read32(optional + 28);
  uint32_t alignment = image.Read32(optional + 36);
  uint64_t initialisedSize = optional + 8;
  uint64_t checksum = optional + 64;
  uint64_t exportEntry = optional + 96;
  if (alignment == 0) Fail(std::string(argv[1]) + " has no file alignment");

  for (uint32_t i = 0; i < sections; ++i) {
    uint64_t header = table + 40 * i;
    if ((image.Read32(header + 36) & 0x80000000u) == 0) continue;  // not writable
    uint32_t raw = image.Read32(header + 16);
    uint32_t start = image.Read32(header + 20);
    // A section without bytes in the file (zero-initialised only) has nothing to cut.
    if (raw == 0 || start == 0) continue;
    uint64_t used = image.Used(start, raw);
    uint64_t kept = (used + alignment - 1) / alignment * alignment;
    if (kept >= raw) continue;
    uint32_t cut = static_cast<uint32_t>(raw - kept);
    image.Remove(start + kept, cut);
    image.Write32(header + 16, static_cast<uint32_t>(kept));
    for (uint32_t j = 0; j < sections; ++j) {
      uint64_t other = table + 40 * j + 20;
      uint32_t position = image.Read32(other);
      if (position > start) image.Write32(other, position - cut);
    }
    image.Write32(initialisedSize, image.Read32(initialisedSize) - cut);
  }

  uint32_t address = 0, size = 0;
  if (argc == 3 && argv[2][0] != '\0' && ExportData(argv[2], address, size)) {
    image.Write32(exportEntry, address - base);
    image.Write32(exportEntry + 4, size);
  }

  image.Write32(checksum, image.WordSum(checksum) + static_cast<uint32_t>(image.size()));
  return 0;
}
