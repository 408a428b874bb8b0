#include "link/pe_image.h"

#include <algorithm>

namespace tbc::link {

namespace {

constexpr uint32_t kPeHeader = 0x40;  // right after the MS-DOS header
constexpr uint32_t kOptionalHeaderSize = 224;

enum : uint16_t {
  kRelocsStripped = 0x0001,
  kExecutable = 0x0002,
  kLinesStripped = 0x0004,
  kSymbolsStripped = 0x0008,
  k32Bit = 0x0100,
  kDebugStripped = 0x0200,
  kDll = 0x2000,
  kDynamicBase = 0x0040,
  kNxCompatible = 0x0100,
};

// The bytes a section keeps in the file: a writable section's up to its
// last byte that is not zero.
uint32_t StoredSize(const ImageSection& s) {
  size_t n = s.data.size();
  if (s.characteristics & 0x80000000u)
    while (n > 0 && s.data[n - 1] == 0) --n;
  return AlignUp(static_cast<uint32_t>(n), kFileAlignment);
}

// The sum of the file's 16-bit words with the carries folded in, the
// checksum field left out, plus the file's length.
uint32_t Checksum(const Bytes& file, size_t field) {
  uint32_t sum = 0;
  for (size_t i = 0; i < file.size(); i += 2) {
    if (i == field || i == field + 2) continue;
    sum += file[i] | (i + 1 < file.size() ? file[i + 1] << 8 : 0);
    sum = (sum & 0xFFFF) + (sum >> 16);
  }
  return sum + static_cast<uint32_t>(file.size());
}

}  // namespace

uint32_t HeadersSize(size_t sections) {
  return AlignUp(kPeHeader + 4 + 20 + kOptionalHeaderSize + 40 * static_cast<uint32_t>(sections), kFileAlignment);
}

Bytes WriteImage(const ImageHeader& header, const std::vector<ImageSection>& sections) {
  uint32_t headers = HeadersSize(sections.size());
  std::vector<uint32_t> stored, position;
  uint32_t at = headers;
  uint32_t code = 0, initialised = 0, zeroFilled = 0, codeBase = 0, dataBase = 0, imageEnd = 0;
  for (const ImageSection& s : sections) {
    uint32_t n = s.data.empty() ? 0 : StoredSize(s);
    stored.push_back(n);
    position.push_back(n == 0 ? 0 : at);
    at += n;
    if (s.characteristics & 0x20) {
      code += n;
      if (codeBase == 0) codeBase = s.rva;
    } else if (dataBase == 0) {
      dataBase = s.rva;
    }
    if (s.characteristics & 0x40) initialised += n;
    if (s.characteristics & 0x80) zeroFilled += AlignUp(s.size, kFileAlignment);
    imageEnd = std::max(imageEnd, AlignUp(s.rva + s.size, kSectionAlignment));
  }

  Writer w;
  // MS-DOS header: the signature, and where the PE header is.
  w.text("MZ");
  w.zeros(kPeHeader - 6);
  w.u32(kPeHeader);
  w.text(std::string("PE\0\0", 4));
  w.u16(0x14c);
  w.u16(static_cast<uint32_t>(sections.size()));
  w.u32(0);  // no timestamp
  w.u32(0);
  w.u32(0);
  w.u16(kOptionalHeaderSize);
  w.u16(header.library ? kExecutable | kLinesStripped | kSymbolsStripped | k32Bit | kDebugStripped | kDll
                       : kRelocsStripped | kExecutable | kLinesStripped | kSymbolsStripped | k32Bit | kDebugStripped);
  w.u16(0x10b);  // PE32
  w.u8(1);       // the linker's version, 1.0
  w.u8(0);
  w.u32(code);
  w.u32(initialised);
  w.u32(zeroFilled);
  w.u32(header.entry);
  w.u32(codeBase);
  w.u32(dataBase);
  w.u32(header.base);
  w.u32(kSectionAlignment);
  w.u32(kFileAlignment);
  w.u16(4);  // the system's version
  w.u16(0);
  w.u16(1);  // the image's
  w.u16(0);
  w.u16(4);  // the subsystem's
  w.u16(0);
  w.u32(0);
  w.u32(imageEnd);
  w.u32(headers);
  size_t checksum = w.size();
  w.u32(0);
  w.u16(header.subsystem);
  w.u16(header.library ? kDynamicBase | kNxCompatible : kNxCompatible);
  w.u32(0x200000);  // stack reserved and committed
  w.u32(0x1000);
  w.u32(0x100000);  // heap reserved and committed
  w.u32(0x1000);
  w.u32(0);
  w.u32(16);
  for (const auto& d : header.directories) {
    w.u32(d[0]);
    w.u32(d[1]);
  }
  for (size_t i = 0; i < sections.size(); ++i) {
    const ImageSection& s = sections[i];
    std::string name = s.name.substr(0, 8);
    w.text(name);
    w.zeros(8 - name.size());
    w.u32(s.size);
    w.u32(s.rva);
    w.u32(stored[i]);
    w.u32(position[i]);
    w.zeros(12);
    w.u32(s.characteristics);
  }
  w.zeros(headers - w.size());
  for (size_t i = 0; i < sections.size(); ++i) {
    const ImageSection& s = sections[i];
    size_t n = std::min<size_t>(stored[i], s.data.size());
    w.append(s.data.data(), n);
    w.zeros(stored[i] - n);
  }
  w.put32(checksum, Checksum(w.bytes, checksum));
  return w.bytes;
}

}  // namespace tbc::link
