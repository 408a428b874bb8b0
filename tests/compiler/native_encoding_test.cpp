// The native back end's instruction encoder against the bytes the Intel
// manual gives for each form (worked out by hand from its opcode tables and
// ModRM/SIB rules), and its object writer against the linker: an object
// that ld links and Windows runs.
#include <gtest/gtest.h>

#include <functional>

#include "native/coff_object.h"
#include "native/x86.h"
#include "support.h"

namespace {

using namespace tbc::native;
using namespace compilertest;

struct Encoding {
  const char* name;
  std::function<void(Assembler&)> emit;
  std::vector<uint8_t> bytes;
};

const std::vector<Encoding>& Encodings() {
  static const std::vector<Encoding> table = {
      // 50+rd; 58+rd
      {"push ebp", [](Assembler& a) { a.Push(EBP); }, {0x55}},
      {"pop ecx", [](Assembler& a) { a.Pop(ECX); }, {0x59}},
      // 6A ib for a byte, 68 id otherwise
      {"push 13", [](Assembler& a) { a.PushImm(13); }, {0x6A, 0x0D}},
      {"push -1", [](Assembler& a) { a.PushImm(-1); }, {0x6A, 0xFF}},
      {"push 0x12345678", [](Assembler& a) { a.PushImm(0x12345678); }, {0x68, 0x78, 0x56, 0x34, 0x12}},
      // 8B /r: mod 11, reg EBP (101), r/m ESP (100)
      {"mov ebp, esp", [](Assembler& a) { a.Mov(EBP, ESP); }, {0x8B, 0xEC}},
      // B8+rd id
      {"mov edx, 13", [](Assembler& a) { a.MovImm(EDX, 13); }, {0xBA, 0x0D, 0x00, 0x00, 0x00}},
      // mod 01 (disp8), reg EAX, r/m EBP
      {"mov eax, [ebp-12]", [](Assembler& a) { a.Load(EAX, At(EBP, -12)); }, {0x8B, 0x45, 0xF4}},
      // [EBP] with no displacement has no mod-00 form: disp8 0
      {"mov eax, [ebp]", [](Assembler& a) { a.Load(EAX, At(EBP)); }, {0x8B, 0x45, 0x00}},
      // mod 10 (disp32), reg ECX, r/m EBP
      {"mov ecx, [ebp-200]", [](Assembler& a) { a.Load(ECX, At(EBP, -200)); }, {0x8B, 0x8D, 0x38, 0xFF, 0xFF, 0xFF}},
      // ESP as a base needs the SIB byte 24 (no index, base ESP)
      {"mov [esp], eax", [](Assembler& a) { a.Store(At(ESP), EAX); }, {0x89, 0x04, 0x24}},
      {"mov [esp+4], edx", [](Assembler& a) { a.Store(At(ESP, 4), EDX); }, {0x89, 0x54, 0x24, 0x04}},
      // C7 /0 id
      {"mov dword [ebx], 7", [](Assembler& a) { a.StoreImm(At(EBX), 7); }, {0xC7, 0x03, 0x07, 0x00, 0x00, 0x00}},
      // C6 /0 ib: mod 01, r/m EAX, disp8 1
      {"mov byte [eax+1], 120", [](Assembler& a) { a.StoreByteImm(At(EAX, 1), 120); }, {0xC6, 0x40, 0x01, 0x78}},
      // 8D /r
      {"lea eax, [ebp-8]", [](Assembler& a) { a.Lea(EAX, At(EBP, -8)); }, {0x8D, 0x45, 0xF8}},
      // FF /6
      {"push dword [esi+8]", [](Assembler& a) { a.Push(At(ESI, 8)); }, {0xFF, 0x76, 0x08}},
      // 83 /digit ib and 81 /digit id, mod 11
      {"add esp, 12", [](Assembler& a) { a.AluImm(kAdd, ESP, 12); }, {0x83, 0xC4, 0x0C}},
      {"sub esp, 1000", [](Assembler& a) { a.AluImm(kSub, ESP, 1000); }, {0x81, 0xEC, 0xE8, 0x03, 0x00, 0x00}},
      {"cmp ecx, -1", [](Assembler& a) { a.AluImm(kCmp, ECX, -1); }, {0x83, 0xF9, 0xFF}},
      {"cmp eax, 0x80000000", [](Assembler& a) { a.AluImm(kCmp, EAX, INT32_MIN); }, {0x81, 0xF8, 0x00, 0x00, 0x00, 0x80}},
      // op r/m32, r32: 31 xor, 39 cmp, 21 and, 09 or; reg is the source
      {"xor eax, eax", [](Assembler& a) { a.Alu(kXor, EAX, EAX); }, {0x31, 0xC0}},
      {"cmp eax, ecx", [](Assembler& a) { a.Alu(kCmp, EAX, ECX); }, {0x39, 0xC8}},
      {"and eax, ecx", [](Assembler& a) { a.Alu(kAnd, EAX, ECX); }, {0x21, 0xC8}},
      {"or edx, ebx", [](Assembler& a) { a.Alu(kOr, EDX, EBX); }, {0x09, 0xDA}},
      // op r32, r/m32: 03 add
      {"add eax, [ebp+8]", [](Assembler& a) { a.AluLoad(kAdd, EAX, At(EBP, 8)); }, {0x03, 0x45, 0x08}},
      {"imul eax, ecx", [](Assembler& a) { a.Imul(EAX, ECX); }, {0x0F, 0xAF, 0xC1}},
      // 0F AF /r with a memory operand: mod 01, reg EAX, SIB 24, disp8 4
      {"imul eax, [esp+4]", [](Assembler& a) { a.ImulLoad(EAX, At(ESP, 4)); }, {0x0F, 0xAF, 0x44, 0x24, 0x04}},
      // 0F AF /r with a memory operand: mod 01, reg EAX, r/m ECX, disp8
      {"imul eax, [ecx+16]", [](Assembler& a) { a.ImulLoad(EAX, At(ECX, 16)); }, {0x0F, 0xAF, 0x41, 0x10}},
      // sub esp, imm32 (81 /5) turned into call rel32 (E8) to the next
      // instruction after it and a nop (90): rel32 = 6 - 5 = 1
      {"sub esp made call", [](Assembler& a) {
         uint32_t at = a.SubEspPatchable();
         Assembler::Label next = a.NewLabel();
         a.Bind(next);
         a.PatchSubEspToCall(at, next);
       }, {0xE8, 0x01, 0x00, 0x00, 0x00, 0x90}},
      // 69 /r id
      {"imul eax, eax, 20", [](Assembler& a) { a.ImulImm(EAX, EAX, 20); }, {0x69, 0xC0, 0x14, 0x00, 0x00, 0x00}},
      {"cdq", [](Assembler& a) { a.Cdq(); }, {0x99}},
      // F3 prefix, AB stosd
      {"rep stosd", [](Assembler& a) { a.RepStosd(); }, {0xF3, 0xAB}},
      {"idiv ecx", [](Assembler& a) { a.Idiv(ECX); }, {0xF7, 0xF9}},
      {"neg eax", [](Assembler& a) { a.Neg(EAX); }, {0xF7, 0xD8}},
      // F7 /5 one-operand imul, F7 /4 mul: mod 11, r/m ECX
      {"imul ecx", [](Assembler& a) { a.ImulWide(ECX); }, {0xF7, 0xE9}},
      {"mul ecx", [](Assembler& a) { a.Mul(ECX); }, {0xF7, 0xE1}},
      // C1 /7 ib sar, C1 /4 ib shl
      {"sar ecx, 31", [](Assembler& a) { a.SarImm(ECX, 31); }, {0xC1, 0xF9, 0x1F}},
      {"shl eax, 2", [](Assembler& a) { a.ShlImm(EAX, 2); }, {0xC1, 0xE0, 0x02}},
      {"test eax, eax", [](Assembler& a) { a.Test(EAX, EAX); }, {0x85, 0xC0}},
      // 0F 90+cc /0
      {"sete al", [](Assembler& a) { a.Setcc(kEqual, EAX); }, {0x0F, 0x94, 0xC0}},
      {"seta al", [](Assembler& a) { a.Setcc(kAbove, EAX); }, {0x0F, 0x97, 0xC0}},
      {"setl cl", [](Assembler& a) { a.Setcc(kLess, ECX); }, {0x0F, 0x9C, 0xC1}},
      {"movzx eax, al", [](Assembler& a) { a.MovzxByte(EAX, EAX); }, {0x0F, 0xB6, 0xC0}},
      {"leave", [](Assembler& a) { a.Leave(); }, {0xC9}},
      {"ret", [](Assembler& a) { a.Ret(); }, {0xC3}},
      {"ret 12", [](Assembler& a) { a.RetPop(12); }, {0xC2, 0x0C, 0x00}},
      // x87: DB /5 fld m80, DB /7 fstp m80, DB /0 fild m32, DB /3 fistp m32,
      // DF /5 fild m64, DF /7 fistp m64
      {"fld tbyte [esp]", [](Assembler& a) { a.FldExtended(At(ESP)); }, {0xDB, 0x2C, 0x24}},
      {"fstp tbyte [esp+12]", [](Assembler& a) { a.FstpExtended(At(ESP, 12)); }, {0xDB, 0x7C, 0x24, 0x0C}},
      {"fild dword [esp]", [](Assembler& a) { a.FildInt32(At(ESP)); }, {0xDB, 0x04, 0x24}},
      {"fistp dword [esp]", [](Assembler& a) { a.FistpInt32(At(ESP)); }, {0xDB, 0x1C, 0x24}},
      {"fild qword [ebp-8]", [](Assembler& a) { a.FildInt64(At(EBP, -8)); }, {0xDF, 0x6D, 0xF8}},
      {"fistp qword [ebp-8]", [](Assembler& a) { a.FistpInt64(At(EBP, -8)); }, {0xDF, 0x7D, 0xF8}},
      {"fld st1", [](Assembler& a) { a.FldSt(1); }, {0xD9, 0xC1}},
      {"fstp st0", [](Assembler& a) { a.FstpSt(0); }, {0xDD, 0xD8}},
      {"fxch st1", [](Assembler& a) { a.Fxch(1); }, {0xD9, 0xC9}},
      {"fld1", [](Assembler& a) { a.Fld1(); }, {0xD9, 0xE8}},
      {"fldz", [](Assembler& a) { a.Fldz(); }, {0xD9, 0xEE}},
      {"fchs", [](Assembler& a) { a.Fchs(); }, {0xD9, 0xE0}},
      // DE C0+i FADDP, C8+i FMULP, E0+i FSUBRP, E8+i FSUBP, F0+i FDIVRP, F8+i FDIVP
      {"faddp st1, st0", [](Assembler& a) { a.FArithPop(kFAdd, 1); }, {0xDE, 0xC1}},
      {"fmulp st1, st0", [](Assembler& a) { a.FArithPop(kFMul, 1); }, {0xDE, 0xC9}},
      {"fsubrp st1, st0", [](Assembler& a) { a.FArithPop(kFSubR, 1); }, {0xDE, 0xE1}},
      {"fsubp st1, st0", [](Assembler& a) { a.FArithPop(kFSub, 1); }, {0xDE, 0xE9}},
      {"fdivrp st1, st0", [](Assembler& a) { a.FArithPop(kFDivR, 1); }, {0xDE, 0xF1}},
      {"fdivp st1, st0", [](Assembler& a) { a.FArithPop(kFDiv, 1); }, {0xDE, 0xF9}},
      // DF E8+i
      {"fucomip st0, st1", [](Assembler& a) { a.Fucomip(1); }, {0xDF, 0xE9}},
      // DF F0+i
      {"fcomip st0, st1", [](Assembler& a) { a.Fcomip(1); }, {0xDF, 0xF1}},
      {"fabs", [](Assembler& a) { a.Fabs(); }, {0xD9, 0xE1}},
      {"fsqrt", [](Assembler& a) { a.Fsqrt(); }, {0xD9, 0xFA}},
      {"fpatan", [](Assembler& a) { a.Fpatan(); }, {0xD9, 0xF3}},
      {"fldln2", [](Assembler& a) { a.Fldln2(); }, {0xD9, 0xED}},
      {"fyl2x", [](Assembler& a) { a.Fyl2x(); }, {0xD9, 0xF1}},
      {"frndint", [](Assembler& a) { a.Frndint(); }, {0xD9, 0xFC}},
      // D9 /7 fnstcw m2byte, D9 /5 fldcw m2byte
      {"fnstcw [esp]", [](Assembler& a) { a.Fnstcw(At(ESP)); }, {0xD9, 0x3C, 0x24}},
      {"fldcw [esp+4]", [](Assembler& a) { a.Fldcw(At(ESP, 4)); }, {0xD9, 0x6C, 0x24, 0x04}},
      // 9B fwait, then DB E3 fninit
      {"fwait; fninit", [](Assembler& a) { a.FwaitFninit(); }, {0x9B, 0xDB, 0xE3}},
      // 0F B6 /r with a memory operand
      {"movzx eax, byte [eax]", [](Assembler& a) { a.LoadByte(EAX, At(EAX)); }, {0x0F, 0xB6, 0x00}},
      // FF /4 with a register
      {"jmp eax", [](Assembler& a) { a.JmpTo(EAX); }, {0xFF, 0xE0}},
      // FF /2
      {"call [ebx+4]", [](Assembler& a) { a.CallIndirect(At(EBX, 4)); }, {0xFF, 0x53, 0x04}},
  };
  return table;
}

TEST(NativeEncoding, EachFormGivesTheManualsBytes) {
  for (const Encoding& e : Encodings()) {
    Assembler a;
    e.emit(a);
    a.Finish();
    EXPECT_EQ(a.Bytes(), e.bytes) << e.name;
    EXPECT_TRUE(a.Relocations().empty()) << e.name;
  }
}

TEST(NativeEncoding, JumpsCountFromTheEndOfTheirField) {
  Assembler a;
  Assembler::Label back = a.NewLabel(), forward = a.NewLabel();
  a.Bind(back);
  a.Jcc(kNotEqual, forward);  // 75 cb at 0: the field ends at 2
  a.Ret();                    // at 2
  a.Bind(forward);            // 3
  a.Jmp(back);                // EB cb at 3: the field ends at 5, back is 0
  a.Finish();
  std::vector<uint8_t> expected = {0x75, 0x01, 0xC3, 0xEB, 0xFB};
  EXPECT_EQ(a.Bytes(), expected);
}

// A jump beyond a byte's reach keeps its rel32 form: 0F 84 cd and E9 cd.
TEST(NativeEncoding, FarJumpsStayLong) {
  Assembler a;
  Assembler::Label start = a.NewLabel(), far = a.NewLabel();
  a.Bind(start);
  a.Jcc(kEqual, far);                   // 0..6: 128 bytes to far
  for (int i = 0; i < 128; ++i) a.Ret();  // 6..134
  a.Bind(far);                          // 134
  a.Jmp(start);                         // 134..139: -139
  a.Finish();
  std::vector<uint8_t> expected = {0x0F, 0x84, 0x80, 0x00, 0x00, 0x00};
  expected.insert(expected.end(), 128, 0xC3);
  for (uint8_t b : {0xE9, 0x75, 0xFF, 0xFF, 0xFF}) expected.push_back(b);
  EXPECT_EQ(a.Bytes(), expected);
}

// A shortened jump moves what follows up by 3 bytes: the relocations, the
// label addresses and the labels' offsets with it.
TEST(NativeEncoding, FieldsMoveWithShortenedJumps) {
  Assembler a;
  Assembler::Label over = a.NewLabel(), target = a.NewLabel();
  a.Jmp(over);          // EB 05 at 0
  a.Call("_Routine");   // E8 cd at 2: its field at 3
  a.Bind(over);         // 7
  a.PushLabel(target);  // 68 id at 7: its field at 8 holds 12
  a.Bind(target);       // 12
  a.Ret();
  a.Finish();
  std::vector<uint8_t> expected = {0xEB, 0x05, 0xE8, 0x00, 0x00, 0x00, 0x00, 0x68, 0x0C, 0x00, 0x00, 0x00, 0xC3};
  EXPECT_EQ(a.Bytes(), expected);
  ASSERT_EQ(a.Relocations().size(), 2u);
  EXPECT_EQ(a.Relocations()[0].offset, 3u);
  EXPECT_EQ(a.Relocations()[0].kind, Relocation::kRelative);
  EXPECT_EQ(a.Relocations()[1].offset, 8u);
  EXPECT_EQ(a.Relocations()[1].kind, Relocation::kAddress);
  EXPECT_EQ(a.Offset(target), 12u);
}

// A frame's sub esp: none for 0, 83 /5 ib for a byte, 81 /5 id otherwise.
TEST(NativeEncoding, FrameTakesItsShortestForm) {
  struct Case {
    int32_t size;
    std::vector<uint8_t> bytes;
  };
  const Case cases[] = {
      {0, {0xC3}},
      {100, {0x83, 0xEC, 0x64, 0xC3}},
      {1000, {0x81, 0xEC, 0xE8, 0x03, 0x00, 0x00, 0xC3}},
  };
  for (const Case& c : cases) {
    Assembler a;
    uint32_t at = a.SubEspPatchable();
    a.Ret();
    a.Patch32(at, c.size);
    a.Finish();
    EXPECT_EQ(a.Bytes(), c.bytes) << c.size;
  }
}

TEST(NativeEncoding, AddressesAndCallsCarryRelocations) {
  Assembler a;
  a.Load(EAX, Global(".rdata", 8));  // 8B 05 disp32: mod 00, r/m 101
  a.Call("_Routine");                // E8 cd
  a.PushAddress(".bss", 20);         // 68 id
  a.Finish();
  std::vector<uint8_t> expected = {0x8B, 0x05, 0x08, 0x00, 0x00, 0x00, 0xE8, 0x00, 0x00,
                                   0x00, 0x00, 0x68, 0x14, 0x00, 0x00, 0x00};
  EXPECT_EQ(a.Bytes(), expected);
  ASSERT_EQ(a.Relocations().size(), 3u);
  EXPECT_EQ(a.Relocations()[0].offset, 2u);
  EXPECT_EQ(a.Relocations()[0].symbol, ".rdata");
  EXPECT_EQ(a.Relocations()[0].kind, Relocation::kAddress);
  EXPECT_EQ(a.Relocations()[1].offset, 7u);
  EXPECT_EQ(a.Relocations()[1].symbol, "_Routine");
  EXPECT_EQ(a.Relocations()[1].kind, Relocation::kRelative);
  EXPECT_EQ(a.Relocations()[2].offset, 12u);
  EXPECT_EQ(a.Relocations()[2].kind, Relocation::kAddress);
}

// C7 /0 id with [esp+4] (SIB 24, disp8 04): the immediate is the field.
TEST(NativeEncoding, AnAddressStoredCarriesItsRelocation) {
  Assembler a;
  a.StoreAddress(At(ESP, 4), ".bss", 8);
  a.Finish();
  std::vector<uint8_t> expected = {0xC7, 0x44, 0x24, 0x04, 0x08, 0x00, 0x00, 0x00};
  EXPECT_EQ(a.Bytes(), expected);
  ASSERT_EQ(a.Relocations().size(), 1u);
  EXPECT_EQ(a.Relocations()[0].offset, 4u);
  EXPECT_EQ(a.Relocations()[0].symbol, ".bss");
  EXPECT_EQ(a.Relocations()[0].kind, Relocation::kAddress);
}

// Links the object with kernel32 and runs it: its exit code.
int LinkAndRun(const CoffObject& object, const std::string& name) {
  std::string dir = ScratchDir(name);
  WriteFile(dir + "/program.o", object.Write());
  RunResult kernel32 = RunCommand({"i686-w64-mingw32-gcc", "-print-file-name=libkernel32.a"}, "", 60);
  EXPECT_EQ(kernel32.exitCode, 0);
  std::string library = kernel32.output.substr(0, kernel32.output.find('\n'));
  RunResult linked = RunCommand({"i686-w64-mingw32-ld", "--subsystem", "console", "-e", "_Start", "-o",
                                 dir + "/program.exe", dir + "/program.o", library},
                                "", 120);
  EXPECT_EQ(linked.exitCode, 0) << linked.output;
  if (linked.exitCode != 0) return -1;
  RunResult run = RunProgram(dir + "/program.exe", "");
  return run.exitCode;
}

// An object with code, read-only data, zeros and a long section name, whose
// entry reads a constant through an address relocation, stores it in .bss,
// and exits with it through a call relocation to kernel32: ld links it, and
// the program's exit code is the constant.
TEST(NativeObject, LinksAndRuns) {
  CoffObject object;
  int text = object.AddSection(".text", CoffObject::Kind::Code);
  int rdata = object.AddSection(".rdata", CoffObject::Kind::ReadOnly);
  int header = object.AddSection(".data.header", CoffObject::Kind::Data);
  int bss = object.AddSection(".bss", CoffObject::Kind::Zeros);
  object.Append(rdata, {1, 2, 3, 4, 42, 0, 0, 0}, 4);
  object.Append(header, {9, 9, 9, 9}, 4);
  object.Reserve(bss, 8);
  uint32_t slot = object.Reserve(bss, 4);
  Assembler a;
  a.Load(EAX, Global(".rdata", 4));
  a.Store(Global(".bss", static_cast<int32_t>(slot)), EAX);
  a.Load(ECX, Global(".data.header"));
  a.AluImm(kCmp, ECX, 0x09090909);
  Assembler::Label same = a.NewLabel();
  a.Jcc(kEqual, same);
  a.PushImm(7);
  a.Call("_ExitProcess@4");
  a.Bind(same);
  a.Push(Global(".bss", static_cast<int32_t>(slot)));
  a.Call("_ExitProcess@4");
  a.Finish();
  uint32_t at = object.Append(text, a.Bytes(), 16);
  object.AddRelocations(text, a.Relocations(), at);
  object.Define("_Start", text, at, true);

  EXPECT_EQ(LinkAndRun(object, "native_object"), 42);
}

// A section of more relocations than the 16-bit count holds: the count
// stands in its first relocation, and every one is applied.
TEST(NativeObject, MoreRelocationsThanSixteenBitsCount) {
  CoffObject object;
  int text = object.AddSection(".text", CoffObject::Kind::Code);
  int rdata = object.AddSection(".rdata", CoffObject::Kind::ReadOnly);
  object.Append(rdata, {1, 0, 0, 0}, 4);
  Assembler a;
  a.Alu(kXor, EDX, EDX);
  // 65536 + 42 additions of the 1 in .rdata, each through a relocation.
  for (int i = 0; i < 65536 + 42; ++i) a.AluLoad(kAdd, EDX, Global(".rdata"));
  a.Push(EDX);
  a.Call("_ExitProcess@4");
  a.Finish();
  ASSERT_GT(a.Relocations().size(), 65535u);
  uint32_t at = object.Append(text, a.Bytes(), 16);
  object.AddRelocations(text, a.Relocations(), at);
  object.Define("_Start", text, at, true);
  // The exit code as the test sees it: its low byte.
  EXPECT_EQ(LinkAndRun(object, "native_many_relocations"), 42);
}

}  // namespace
