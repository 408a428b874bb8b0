#include "x86.h"

#include <algorithm>
#include <stdexcept>

namespace tbc {
namespace native {

namespace {

bool FitsByte(int32_t v) { return v >= -128 && v <= 127; }

}  // namespace

Assembler::Label Assembler::NewLabel() {
  labels_.push_back(-1);
  return static_cast<Label>(labels_.size() - 1);
}

void Assembler::Bind(Label label) { labels_[static_cast<size_t>(label)] = Here(); }

void Assembler::Dword(uint32_t v) {
  for (int i = 0; i < 4; ++i) Byte(static_cast<uint8_t>(v >> (8 * i)));
}

void Assembler::AddressField(const std::string& symbol, int32_t disp) {
  // The field holds the addend; the linker adds the symbol's address.
  if (!symbol.empty()) relocations_.push_back({Here(), symbol, Relocation::kAddress});
  Dword(static_cast<uint32_t>(disp));
}

void Assembler::ModRM(int digit, const Mem& m) {
  uint8_t reg = static_cast<uint8_t>(digit << 3);
  if (m.base == kNoBase) {
    Byte(reg | 0x05);  // mod 00, r/m 101: disp32 alone
    AddressField(m.symbol, m.disp);
    return;
  }
  uint8_t base = static_cast<uint8_t>(m.base);
  // [EBP] has no mod-00 form: it takes a zero disp8.
  uint8_t mod = m.disp == 0 && base != EBP ? 0x00 : FitsByte(m.disp) ? 0x40 : 0x80;
  if (base == ESP) {
    Byte(mod | reg | 0x04);  // a SIB byte follows
    Byte(0x24);              // scale 1, no index, base ESP
  } else {
    Byte(mod | reg | base);
  }
  if (mod == 0x40) Byte(static_cast<uint8_t>(static_cast<int8_t>(m.disp)));
  if (mod == 0x80) Dword(static_cast<uint32_t>(m.disp));
}

void Assembler::LabelField(Label label) {
  labelFields_.push_back({Here(), label});
  Dword(0);
}

void Assembler::PushImm(int32_t value) {
  if (FitsByte(value)) {
    Byte(0x6A);
    Byte(static_cast<uint8_t>(static_cast<int8_t>(value)));
  } else {
    Byte(0x68);
    Dword(static_cast<uint32_t>(value));
  }
}

void Assembler::PushAddress(const std::string& symbol, int32_t disp) {
  Byte(0x68);
  AddressField(symbol, disp);
}

void Assembler::Push(Reg r) { Byte(static_cast<uint8_t>(0x50 + r)); }
void Assembler::Pop(Reg r) { Byte(static_cast<uint8_t>(0x58 + r)); }

void Assembler::Push(const Mem& m) {
  Byte(0xFF);
  ModRM(6, m);
}

void Assembler::MovImm(Reg r, int32_t value) {
  Byte(static_cast<uint8_t>(0xB8 + r));
  Dword(static_cast<uint32_t>(value));
}

void Assembler::MovAddress(Reg r, const std::string& symbol, int32_t disp) {
  Byte(static_cast<uint8_t>(0xB8 + r));
  AddressField(symbol, disp);
}

void Assembler::Mov(Reg to, Reg from) {
  Byte(0x8B);
  RegRM(to, from);
}

void Assembler::Load(Reg to, const Mem& m) {
  Byte(0x8B);
  ModRM(to, m);
}

void Assembler::Store(const Mem& m, Reg from) {
  Byte(0x89);
  ModRM(from, m);
}

void Assembler::StoreByteImm(const Mem& m, uint8_t value) {
  Byte(0xC6);
  ModRM(0, m);
  Byte(value);
}

void Assembler::StoreImm(const Mem& m, int32_t value) {
  Byte(0xC7);
  ModRM(0, m);
  Dword(static_cast<uint32_t>(value));
}

void Assembler::StoreAddress(const Mem& m, const std::string& symbol, int32_t disp) {
  Byte(0xC7);
  ModRM(0, m);
  AddressField(symbol, disp);
}

void Assembler::Lea(Reg to, const Mem& m) {
  Byte(0x8D);
  ModRM(to, m);
}

void Assembler::Alu(AluOp op, Reg to, Reg from) {
  Byte(static_cast<uint8_t>(op * 8 + 1));  // op r/m32, r32
  RegRM(from, to);
}

void Assembler::AluImm(AluOp op, Reg to, int32_t value) {
  if (FitsByte(value)) {
    Byte(0x83);
    RegRM(op, to);
    Byte(static_cast<uint8_t>(static_cast<int8_t>(value)));
  } else {
    Byte(0x81);
    RegRM(op, to);
    Dword(static_cast<uint32_t>(value));
  }
}

void Assembler::AluLoad(AluOp op, Reg to, const Mem& m) {
  Byte(static_cast<uint8_t>(op * 8 + 3));  // op r32, r/m32
  ModRM(to, m);
}

uint32_t Assembler::SubEspPatchable() {
  sites_.push_back({Here(), SiteKind::kFrame, kOverflow, 0});
  Byte(0x81);
  RegRM(kSub, ESP);
  uint32_t at = Here();
  Dword(0);
  return at;
}

void Assembler::Patch32(uint32_t at, int32_t value) {
  for (int i = 0; i < 4; ++i) bytes_[at + static_cast<uint32_t>(i)] = static_cast<uint8_t>(static_cast<uint32_t>(value) >> (8 * i));
}

void Assembler::PatchSubEspToCall(uint32_t at, Label target) {
  // No longer a frame's sub esp that Relax may shorten: a call, kept whole.
  for (auto site = sites_.begin(); site != sites_.end(); ++site)
    if (site->kind == SiteKind::kFrame && site->at + 2 == at) {
      sites_.erase(site);
      break;
    }
  bytes_[at - 2] = 0xE8;
  labelFields_.push_back({at - 1, target});
  bytes_[at + 3] = 0x90;
}

void Assembler::Imul(Reg to, Reg from) {
  Byte(0x0F);
  Byte(0xAF);
  RegRM(to, from);
}

void Assembler::ImulLoad(Reg to, const Mem& m) {
  Byte(0x0F);
  Byte(0xAF);
  ModRM(to, m);
}

void Assembler::ImulImm(Reg to, Reg from, int32_t value) {
  Byte(0x69);
  RegRM(to, from);
  Dword(static_cast<uint32_t>(value));
}

void Assembler::AddAddress(Reg to, const std::string& symbol, int32_t disp) {
  Byte(0x81);
  RegRM(kAdd, to);
  AddressField(symbol, disp);
}

void Assembler::CmpAddress(Reg r, const std::string& symbol, int32_t disp) {
  Byte(0x81);
  RegRM(kCmp, r);
  AddressField(symbol, disp);
}

void Assembler::RepStosd() {
  Byte(0xF3);
  Byte(0xAB);
}

void Assembler::Cdq() { Byte(0x99); }

void Assembler::Idiv(Reg by) {
  Byte(0xF7);
  RegRM(7, by);
}

void Assembler::ImulWide(Reg by) {
  Byte(0xF7);
  RegRM(5, by);
}

void Assembler::Mul(Reg by) {
  Byte(0xF7);
  RegRM(4, by);
}

void Assembler::SarImm(Reg r, uint8_t count) {
  Byte(0xC1);
  RegRM(7, r);
  Byte(count);
}

void Assembler::ShlImm(Reg r, uint8_t count) {
  Byte(0xC1);
  RegRM(4, r);
  Byte(count);
}

void Assembler::Neg(Reg r) {
  Byte(0xF7);
  RegRM(3, r);
}

void Assembler::Test(Reg a, Reg b) {
  Byte(0x85);
  RegRM(b, a);
}

void Assembler::Setcc(Cond c, Reg low8) {
  Byte(0x0F);
  Byte(static_cast<uint8_t>(0x90 + c));
  RegRM(0, low8);
}

void Assembler::MovzxByte(Reg to, Reg low8) {
  Byte(0x0F);
  Byte(0xB6);
  RegRM(to, low8);
}

void Assembler::LoadByte(Reg to, const Mem& m) {
  Byte(0x0F);
  Byte(0xB6);
  ModRM(to, m);
}

void Assembler::Jmp(Label label) {
  sites_.push_back({Here(), SiteKind::kJmp, kOverflow, label});
  Byte(0xE9);
  Dword(0);
}

void Assembler::JmpTo(Reg r) {
  Byte(0xFF);
  RegRM(4, r);
}

void Assembler::PushLabel(Label label) {
  Byte(0x68);
  relocations_.push_back({Here(), section_, Relocation::kAddress});
  labelAddresses_.push_back({Here(), label});
  Dword(0);
}

void Assembler::Jcc(Cond c, Label label) {
  sites_.push_back({Here(), SiteKind::kJcc, c, label});
  Byte(0x0F);
  Byte(static_cast<uint8_t>(0x80 + c));
  Dword(0);
}

void Assembler::Call(const std::string& symbol) {
  Byte(0xE8);
  // The linker writes the symbol's distance from the field's end, plus what
  // the field holds: 0.
  relocations_.push_back({Here(), symbol, Relocation::kRelative});
  Dword(0);
}

void Assembler::Call(Label label) {
  Byte(0xE8);
  LabelField(label);
}

void Assembler::CallIndirect(const Mem& m) {
  Byte(0xFF);
  ModRM(2, m);
}

void Assembler::Ret() { Byte(0xC3); }

void Assembler::RetPop(uint16_t bytes) {
  Byte(0xC2);
  Byte(static_cast<uint8_t>(bytes));
  Byte(static_cast<uint8_t>(bytes >> 8));
}

void Assembler::Leave() { Byte(0xC9); }

void Assembler::FldExtended(const Mem& m) {
  Byte(0xDB);
  ModRM(5, m);
}

void Assembler::FstpExtended(const Mem& m) {
  Byte(0xDB);
  ModRM(7, m);
}

void Assembler::FildInt32(const Mem& m) {
  Byte(0xDB);
  ModRM(0, m);
}

void Assembler::FistpInt32(const Mem& m) {
  Byte(0xDB);
  ModRM(3, m);
}

void Assembler::FildInt64(const Mem& m) {
  Byte(0xDF);
  ModRM(5, m);
}

void Assembler::FistpInt64(const Mem& m) {
  Byte(0xDF);
  ModRM(7, m);
}

void Assembler::FldSt(int i) {
  Byte(0xD9);
  Byte(static_cast<uint8_t>(0xC0 + i));
}

void Assembler::FstpSt(int i) {
  Byte(0xDD);
  Byte(static_cast<uint8_t>(0xD8 + i));
}

void Assembler::Fxch(int i) {
  Byte(0xD9);
  Byte(static_cast<uint8_t>(0xC8 + i));
}

void Assembler::FArithPop(FpuOp op, int i) {
  Byte(0xDE);
  Byte(static_cast<uint8_t>(op + i));
}

void Assembler::Fucomip(int i) {
  Byte(0xDF);
  Byte(static_cast<uint8_t>(0xE8 + i));
}

void Assembler::Fchs() {
  Byte(0xD9);
  Byte(0xE0);
}

void Assembler::Fldz() {
  Byte(0xD9);
  Byte(0xEE);
}

void Assembler::Fld1() {
  Byte(0xD9);
  Byte(0xE8);
}

void Assembler::Fabs() {
  Byte(0xD9);
  Byte(0xE1);
}

void Assembler::Fsqrt() {
  Byte(0xD9);
  Byte(0xFA);
}

void Assembler::Fpatan() {
  Byte(0xD9);
  Byte(0xF3);
}

void Assembler::Fldln2() {
  Byte(0xD9);
  Byte(0xED);
}

void Assembler::Fyl2x() {
  Byte(0xD9);
  Byte(0xF1);
}

void Assembler::Frndint() {
  Byte(0xD9);
  Byte(0xFC);
}

void Assembler::Fnstcw(const Mem& m) {
  Byte(0xD9);
  ModRM(7, m);
}

void Assembler::Fldcw(const Mem& m) {
  Byte(0xD9);
  ModRM(5, m);
}

void Assembler::Fcomip(int i) {
  Byte(0xDF);
  Byte(static_cast<uint8_t>(0xF0 + i));
}

void Assembler::FwaitFninit() {
  Byte(0x9B);
  Byte(0xDB);
  Byte(0xE3);
}

// Every site starts long; a jump whose distance fits a byte in the current
// layout becomes short, which only brings the others' ends nearer, until none
// changes. Then the code is copied up behind the shortened sites, and the
// labels and every field that names an offset move with it.
void Assembler::Relax() {
  if (sites_.empty()) return;
  for (const Site& site : sites_)
    if (site.kind != SiteKind::kFrame && labels_[static_cast<size_t>(site.label)] < 0)
      throw std::logic_error("a jump to a label that was never bound");
  auto frameValue = [&](const Site& site) {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= uint32_t{bytes_[site.at + 2 + static_cast<uint32_t>(i)]} << (8 * i);
    return static_cast<int32_t>(v);
  };
  std::vector<uint32_t> size(sites_.size());
  for (size_t i = 0; i < sites_.size(); ++i) {
    const Site& site = sites_[i];
    if (site.kind == SiteKind::kFrame) {
      int32_t v = frameValue(site);
      size[i] = v == 0 ? 0 : FitsByte(v) ? 3 : 6;
    } else {
      size[i] = site.kind == SiteKind::kJmp ? 5 : 6;
    }
  }
  const uint32_t longSize[] = {5, 6, 6};
  // before[k]: the bytes the sites ahead of site k have lost.
  std::vector<uint32_t> before(sites_.size() + 1);
  auto layout = [&]() {
    before[0] = 0;
    for (size_t i = 0; i < sites_.size(); ++i)
      before[i + 1] = before[i] + longSize[static_cast<int>(sites_[i].kind)] - size[i];
  };
  auto moved = [&](int64_t old) {
    auto k = std::lower_bound(sites_.begin(), sites_.end(), old,
                              [](const Site& s, int64_t at) { return int64_t{s.at} < at; }) - sites_.begin();
    return old - before[static_cast<size_t>(k)];
  };
  for (bool changed = true; changed;) {
    changed = false;
    layout();
    for (size_t i = 0; i < sites_.size(); ++i) {
      const Site& site = sites_[i];
      if (site.kind == SiteKind::kFrame || size[i] == 2) continue;
      int64_t distance = moved(labels_[static_cast<size_t>(site.label)]) - (moved(site.at) + 2);
      if (distance >= -128 && distance <= 127) {
        size[i] = 2;
        changed = true;
      }
    }
  }
  std::vector<uint8_t> out;
  out.reserve(bytes_.size());
  uint32_t from = 0;
  for (size_t i = 0; i < sites_.size(); ++i) {
    const Site& site = sites_[i];
    out.insert(out.end(), bytes_.begin() + from, bytes_.begin() + site.at);
    from = site.at + longSize[static_cast<int>(site.kind)];
    if (site.kind == SiteKind::kFrame) {
      int32_t v = frameValue(site);
      if (size[i] == 3) out.insert(out.end(), {0x83, 0xEC, static_cast<uint8_t>(static_cast<int8_t>(v))});
      if (size[i] == 6) out.insert(out.end(), bytes_.begin() + site.at, bytes_.begin() + from);
      continue;
    }
    int64_t end = static_cast<int64_t>(out.size()) + size[i];
    int32_t distance = static_cast<int32_t>(moved(labels_[static_cast<size_t>(site.label)]) - end);
    if (size[i] == 2) {
      out.push_back(site.kind == SiteKind::kJmp ? 0xEB : static_cast<uint8_t>(0x70 + site.cond));
      out.push_back(static_cast<uint8_t>(static_cast<int8_t>(distance)));
      continue;
    }
    if (site.kind == SiteKind::kJcc) out.push_back(0x0F);
    out.push_back(site.kind == SiteKind::kJmp ? 0xE9 : static_cast<uint8_t>(0x80 + site.cond));
    for (int b = 0; b < 4; ++b) out.push_back(static_cast<uint8_t>(static_cast<uint32_t>(distance) >> (8 * b)));
  }
  out.insert(out.end(), bytes_.begin() + from, bytes_.end());
  for (int64_t& label : labels_)
    if (label >= 0) label = moved(label);
  for (Relocation& r : relocations_) r.offset = static_cast<uint32_t>(moved(r.offset));
  for (auto& field : labelFields_) field.first = static_cast<uint32_t>(moved(field.first));
  for (auto& field : labelAddresses_) field.first = static_cast<uint32_t>(moved(field.first));
  bytes_ = std::move(out);
  sites_.clear();
}

void Assembler::Finish() {
  Relax();
  for (const auto& field : labelFields_) {
    int64_t target = labels_[static_cast<size_t>(field.second)];
    if (target < 0) throw std::logic_error("a jump to a label that was never bound");
    Patch32(field.first, static_cast<int32_t>(target - (int64_t{field.first} + 4)));
  }
  labelFields_.clear();
  for (const auto& field : labelAddresses_) {
    int64_t target = labels_[static_cast<size_t>(field.second)];
    if (target < 0) throw std::logic_error("an address of a label that was never bound");
    Patch32(field.first, static_cast<int32_t>(target));
  }
  labelAddresses_.clear();
}

}  // namespace native
}  // namespace tbc
