// A small i386 assembler: the instructions the native back end needs, with
// labels, jumps, calls to named symbols and the x87 unit, producing bytes and
// the relocations that the object file carries.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tbc {
namespace native {

enum Reg : uint8_t { EAX = 0, ECX = 1, EDX = 2, EBX = 3, ESP = 4, EBP = 5, ESI = 6, EDI = 7 };

// Condition codes, as the low nibble of Jcc and SETcc.
enum Cond : uint8_t {
  kOverflow = 0x0, kNoOverflow = 0x1, kBelow = 0x2, kAboveEqual = 0x3, kEqual = 0x4, kNotEqual = 0x5,
  kBelowEqual = 0x6, kAbove = 0x7, kSign = 0x8, kNoSign = 0x9, kParity = 0xA, kNoParity = 0xB,
  kLess = 0xC, kGreaterEqual = 0xD, kLessEqual = 0xE, kGreater = 0xF,
};

// The eight operations of the 00-3F opcode block and of 81/83 /digit.
enum AluOp : uint8_t { kAdd = 0, kOr = 1, kAdc = 2, kSbb = 3, kAnd = 4, kSub = 5, kXor = 6, kCmp = 7 };

// The x87 operations on ST(i) and ST(0) that pop, as the Intel manual names
// them: ST(i) takes the result. kSubR and kDivR give ST(0) - ST(i) and
// ST(0) / ST(i); kSub and kDiv give ST(i) - ST(0) and ST(i) / ST(0).
enum FpuOp : uint8_t { kFAdd = 0xC0, kFMul = 0xC8, kFSubR = 0xE0, kFSub = 0xE8, kFDivR = 0xF0, kFDiv = 0xF8 };

// A memory operand: [base + disp], or the absolute address symbol + disp
// (base kNoBase), whose four bytes get a 32-bit address relocation.
constexpr int kNoBase = -1;
struct Mem {
  int base = kNoBase;
  int32_t disp = 0;
  std::string symbol;
};
inline Mem At(Reg base, int32_t disp = 0) { return Mem{base, disp, ""}; }
inline Mem Global(const std::string& symbol, int32_t disp = 0) { return Mem{kNoBase, disp, symbol}; }

struct Relocation {
  enum Kind { kAddress, kRelative };  // IMAGE_REL_I386_DIR32, IMAGE_REL_I386_REL32
  uint32_t offset;
  std::string symbol;
  Kind kind;
};

class Assembler {
 public:
  using Label = int;

  Label NewLabel();
  void Bind(Label label);
  uint32_t Here() const { return static_cast<uint32_t>(bytes_.size()); }

  // Moves and the stack.
  void PushImm(int32_t value);
  void PushAddress(const std::string& symbol, int32_t disp = 0);  // push offset symbol + disp
  void Push(Reg r);
  void Pop(Reg r);
  void Push(const Mem& m);  // push dword [m]
  void MovImm(Reg r, int32_t value);
  void MovAddress(Reg r, const std::string& symbol, int32_t disp = 0);
  void Mov(Reg to, Reg from);
  void Load(Reg to, const Mem& m);   // mov r32, [m]
  void Store(const Mem& m, Reg from);  // mov [m], r32
  void StoreImm(const Mem& m, int32_t value);  // mov dword [m], imm32
  void StoreAddress(const Mem& m, const std::string& symbol, int32_t disp = 0);  // mov dword [m], offset symbol + disp
  void StoreByteImm(const Mem& m, uint8_t value);  // mov byte [m], imm8
  void Lea(Reg to, const Mem& m);

  // Integer arithmetic.
  void Alu(AluOp op, Reg to, Reg from);       // op to, from
  void AluImm(AluOp op, Reg to, int32_t value);
  void AluLoad(AluOp op, Reg to, const Mem& m);  // op to, [m]
  // sub esp, imm32 whose value Patch32 may set later (a frame's size);
  // Finish gives it the imm8 form where the value fits, and drops it for 0.
  uint32_t SubEspPatchable();
  void Patch32(uint32_t at, int32_t value);
  // The sub esp, imm32 whose field is at `at` made a call of target (and a
  // nop): a frame too large to take at once is taken by code there.
  void PatchSubEspToCall(uint32_t at, Label target);
  void Imul(Reg to, Reg from);
  void ImulLoad(Reg to, const Mem& m);  // imul r32, [m]
  void ImulImm(Reg to, Reg from, int32_t value);  // to = from * value
  void AddAddress(Reg to, const std::string& symbol, int32_t disp = 0);  // add r32, offset symbol + disp
  void CmpAddress(Reg r, const std::string& symbol, int32_t disp = 0);  // cmp r32, offset symbol + disp
  void RepStosd();  // ECX dwords of EAX to [EDI]
  void Cdq();
  void Idiv(Reg by);
  void ImulWide(Reg by);  // EDX:EAX = EAX * by, signed
  void Mul(Reg by);       // EDX:EAX = EAX * by, unsigned
  void SarImm(Reg r, uint8_t count);
  void ShlImm(Reg r, uint8_t count);
  void Neg(Reg r);
  void Test(Reg a, Reg b);
  void Setcc(Cond c, Reg low8);  // AL, CL, DL or BL
  void MovzxByte(Reg to, Reg low8);
  void LoadByte(Reg to, const Mem& m);  // movzx r32, byte [m]

  // Control.
  void Jmp(Label label);
  void JmpTo(Reg r);                 // jmp r32
  void PushLabel(Label label);       // push the label's address (in the section symbol's code)
  void Jcc(Cond c, Label label);
  void Call(const std::string& symbol);
  void Call(Label label);          // a routine of the same code
  void CallIndirect(const Mem& m);  // call dword [m], as through the import table
  void Ret();
  void RetPop(uint16_t bytes);
  void Leave();

  // The x87 unit.
  void FldExtended(const Mem& m);   // fld tbyte [m]
  void FstpExtended(const Mem& m);  // fstp tbyte [m]
  void FildInt32(const Mem& m);
  void FistpInt32(const Mem& m);
  void FildInt64(const Mem& m);
  void FistpInt64(const Mem& m);
  void FldSt(int i);
  void FstpSt(int i);
  void Fxch(int i);
  void FArithPop(FpuOp op, int i);  // op ST(i), ST(0), then pop
  void Fucomip(int i);              // compare ST(0) with ST(i) into EFLAGS, pop
  void Fcomip(int i);               // the same, an invalid operation for any value that is not a number
  void Fchs();
  void Fldz();
  void Fld1();
  // One-byte-pair forms (D9 xx): |x|, square root, arctangent of ST(1)/ST(0),
  // ln 2, ST(1) * log2 ST(0), round to a whole number.
  void Fabs();
  void Fsqrt();
  void Fpatan();
  void Fldln2();
  void Fyl2x();
  void Frndint();
  void Fnstcw(const Mem& m);  // the control word into [m]
  void FwaitFninit();         // the unit reset: flags clear, registers empty
  void Fldcw(const Mem& m);

  // The code's own section, whose symbol PushLabel's relocations name.
  void SetSection(const std::string& symbol) { section_ = symbol; }
  // Resolves the jumps, each in its 2-byte rel8 form where the distance fits
  // (the code moves up behind it); every label used must be bound.
  void Finish();
  // A label's offset in the finished code.
  uint32_t Offset(Label label) const { return static_cast<uint32_t>(labels_[static_cast<size_t>(label)]); }
  const std::vector<uint8_t>& Bytes() const { return bytes_; }
  const std::vector<Relocation>& Relocations() const { return relocations_; }

 private:
  void Byte(uint8_t b) { bytes_.push_back(b); }
  void Dword(uint32_t v);
  void AddressField(const std::string& symbol, int32_t disp);
  // The ModRM byte (with SIB and displacement) of a memory operand; digit is
  // the reg field: a register or an opcode extension.
  void ModRM(int digit, const Mem& m);
  void RegRM(int digit, Reg rm) { Byte(static_cast<uint8_t>(0xC0 | (digit << 3) | rm)); }
  void LabelField(Label label);
  // Instructions Finish may shorten: emitted in their long form, at `at`.
  enum class SiteKind : uint8_t { kJmp, kJcc, kFrame };
  struct Site {
    uint32_t at;
    SiteKind kind;
    Cond cond;
    Label label;
  };
  void Relax();

  std::string section_ = ".text";
  std::vector<uint8_t> bytes_;
  std::vector<Relocation> relocations_;
  std::vector<int64_t> labels_;                           // bound offsets, -1 while unbound
  std::vector<std::pair<uint32_t, Label>> labelFields_;  // rel32 fields to resolve
  std::vector<std::pair<uint32_t, Label>> labelAddresses_;  // absolute fields: the label's offset
  std::vector<Site> sites_;
};

}  // namespace native
}  // namespace tbc
