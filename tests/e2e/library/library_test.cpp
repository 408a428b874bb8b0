// demolib from outside and from inside: its image, its exports called with the
// standard convention, and the two programs that bind it at load and at run time.
#include <gtest/gtest.h>

#include <stdint.h>

#include <functional>
#include <thread>
#include <utility>
#include <vector>

#include "driver.h"

using namespace driver;

namespace {

const char kPrompt[] = "Press a key to continue...";
const char kHello[] = "Hello From Tessaric DLL!";
const DWORD kDllNotFound = 0xC0000135;  // STATUS_DLL_NOT_FOUND

std::string Lines(std::initializer_list<const char*> lines) {
  std::string text;
  for (const char* line : lines) text += std::string(line) + "\r\n";
  return text;
}

// An ownerless system-modal box captioned "demolib" with only an OK button.
void ExpectDemolibBox(const MessageBoxInfo& box, const std::string& text) {
  ASSERT_NE(box.window, nullptr) << "no message box";
  EXPECT_EQ(box.text, text);
  EXPECT_EQ(box.caption, "demolib");
  EXPECT_NE(box.exStyle & WS_EX_TOPMOST, 0) << "not system-modal";
  EXPECT_NE(GetDlgItem(box.window, IDOK), nullptr);
  EXPECT_EQ(GetDlgItem(box.window, IDCANCEL), nullptr);
  EXPECT_EQ(GetWindow(box.window, GW_OWNER), nullptr);
}

std::string ArgumentText(const char* first, const char* second, const char* third) {
  return std::string("Tessaric DLL Argument Test\r\narg1 = ") + first + "\r\narg2 = " + second + "\r\narg3 = " +
         third + "\r\n";
}

TEST(DemolibImage, IsARelocatableLibraryAtItsPreferredBase) {
  PeFile dll = ReadPeFile(BinPath("demolib.dll"));
  const IMAGE_NT_HEADERS32* nt = dll.Headers();
  ASSERT_NE(nt, nullptr);
  EXPECT_NE(nt->FileHeader.Characteristics & IMAGE_FILE_DLL, 0);
  EXPECT_EQ(nt->FileHeader.Characteristics & IMAGE_FILE_RELOCS_STRIPPED, 0);
  EXPECT_EQ(nt->OptionalHeader.ImageBase, 0x10000000u);
  EXPECT_GT(dll.Directory(IMAGE_DIRECTORY_ENTRY_BASERELOC).Size, 0u);
  EXPECT_NE(nt->OptionalHeader.AddressOfEntryPoint, 0u);
}

TEST(DemolibImage, ExportsThreeNamesNumberedAlphabetically) {
  PeFile dll = ReadPeFile(BinPath("demolib.dll"));
  ASSERT_NE(dll.Headers(), nullptr);
  IMAGE_DATA_DIRECTORY directory = dll.Directory(IMAGE_DIRECTORY_ENTRY_EXPORT);
  auto* exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(dll.AtRva(directory.VirtualAddress));
  ASSERT_NE(exports, nullptr);
  ASSERT_NE(dll.AtRva(exports->Name), nullptr);
  EXPECT_STREQ(dll.AtRva(exports->Name), "demolib.dll");
  EXPECT_EQ(exports->Base, 1u);
  ASSERT_EQ(exports->NumberOfFunctions, 3u);
  ASSERT_EQ(exports->NumberOfNames, 3u);

  auto* names = reinterpret_cast<const DWORD*>(dll.AtRva(exports->AddressOfNames));
  auto* ordinals = reinterpret_cast<const WORD*>(dll.AtRva(exports->AddressOfNameOrdinals));
  auto* functions = reinterpret_cast<const DWORD*>(dll.AtRva(exports->AddressOfFunctions));
  ASSERT_TRUE(names != nullptr && ordinals != nullptr && functions != nullptr);
  std::vector<std::pair<std::string, DWORD>> found;
  for (DWORD i = 0; i < exports->NumberOfNames; ++i) {
    found.emplace_back(dll.AtRva(names[i]), ordinals[i] + exports->Base);
    // Each export is code of its own, not the entry point.
    EXPECT_NE(functions[ordinals[i]], dll.Headers()->OptionalHeader.AddressOfEntryPoint);
  }
  const std::vector<std::pair<std::string, DWORD>> expected = {
      {"ArgsToDll", 1}, {"HelloFromDll", 2}, {"ValueFromDll", 3}};
  EXPECT_EQ(found, expected);
}

// What one call through the standard convention left behind.
struct CallOutcome {
  int32_t result = 0;
  int32_t stackDrift = 0;  // esp after the call minus esp before the pushes
  WORD fpuTags = 0;        // 0xFFFF: the x87 register stack is empty
};

WORD FpuTagWord() {
  unsigned char environment[28];
  asm volatile("fnstenv %0\n\tfldenv %0" : "=m"(environment));
  return *reinterpret_cast<WORD*>(environment + 8);
}

// Pushes the arguments last to first, calls, and measures esp, the way
// compiled code calls a library routine.
CallOutcome CallStdcall(FARPROC entry, std::vector<int32_t> arguments) {
  CallOutcome outcome;
  int32_t count = static_cast<int32_t>(arguments.size());
  const int32_t* first = arguments.data();
  int32_t result;
  asm volatile(
      "movl %%esp, %%esi\n\t"
      "jecxz 2f\n"
      "1:\n\t"
      "pushl -4(%%ebx,%%ecx,4)\n\t"
      "loop 1b\n"
      "2:\n\t"
      "call *%%edi\n\t"
      "movl %%esp, %%edx\n\t"
      "movl %%esi, %%esp\n\t"
      "movl %%eax, %1\n\t"
      "movl %%edx, %%eax\n\t"
      "subl %%esi, %%eax"
      : "=a"(outcome.stackDrift), "=m"(result), "+c"(count)
      : "b"(first), "D"(entry)
      : "edx", "esi", "memory", "cc");
  outcome.result = result;
  outcome.fpuTags = FpuTagWord();
  return outcome;
}

// Runs call on a thread of its own while this thread checks and closes the
// boxes it shows: demolib boxes with the given texts, in that order.
void CallExpectingBoxes(const std::function<void()>& call, const std::vector<std::string>& texts) {
  size_t shown = 0;
  bool finished = false;
  std::thread caller([&] {
    call();
    finished = true;
  });
  for (;;) {
    HWND box = nullptr;
    WaitUntil([&] {
      std::vector<HWND> boxes = TopLevelWindows(GetCurrentProcessId(), "#32770");
      box = boxes.empty() ? nullptr : boxes.front();
      return box != nullptr || finished;
    });
    if (box == nullptr) break;
    if (shown < texts.size()) ExpectDemolibBox(ReadMessageBox(box), texts[shown]);
    ++shown;
    CloseMessageBox(box);
    WaitUntil([&] { return !IsWindow(box); });
  }
  caller.join();
  EXPECT_EQ(shown, texts.size());
}

class DemolibInProcess : public ::testing::Test {
 protected:
  void SetUp() override {
    library_ = LoadLibraryA(BinPath("demolib.dll").c_str());
    ASSERT_NE(library_, nullptr);
  }
  void TearDown() override {
    if (library_ != nullptr) EXPECT_TRUE(FreeLibrary(library_));
  }
  FARPROC Export(const char* name) { return GetProcAddress(library_, name); }

  HMODULE library_ = nullptr;
};

TEST_F(DemolibInProcess, LoadsAtItsPreferredBase) {
  EXPECT_EQ(reinterpret_cast<uintptr_t>(library_), 0x10000000u);
}

TEST_F(DemolibInProcess, HelloFromDllShowsTheGreetingAndBalancesTheStack) {
  CallOutcome outcome;
  CallExpectingBoxes([&] { outcome = CallStdcall(Export("HelloFromDll"), {}); }, {kHello});
  EXPECT_EQ(outcome.stackDrift, 0);
}

TEST_F(DemolibInProcess, ArgsToDllListsItsArgumentsAndRemovesThem) {
  struct Case {
    std::vector<int32_t> arguments;
    std::string text;
  } cases[] = {
      {{5, 10, 20}, ArgumentText("5", "10", "20")},
      {{-1, 0, 2147483647}, ArgumentText("-1", "0", "2147483647")},
      {{-2147483647 - 1, 7, -30}, ArgumentText("-2147483648", "7", "-30")},
  };
  for (const Case& c : cases) {
    CallOutcome outcome;
    CallExpectingBoxes([&] { outcome = CallStdcall(Export("ArgsToDll"), c.arguments); }, {c.text});
    EXPECT_EQ(outcome.stackDrift, 0) << "the callee must remove its 12 bytes";
  }
}

TEST_F(DemolibInProcess, ValueFromDllReturnsTenEveryTime) {
  for (int call = 0; call < 3; ++call) {
    SCOPED_TRACE(call);
    CallOutcome outcome = CallStdcall(Export("ValueFromDll"), {});
    EXPECT_EQ(outcome.result, 10);
    EXPECT_EQ(outcome.stackDrift, 0);
    EXPECT_EQ(outcome.fpuTags, 0xFFFF) << "the result must not stay on the x87 stack";
  }
}

TEST(DemolibRelocated, WorksWhenItsPreferredBaseIsTaken) {
  void* taken = VirtualAlloc(reinterpret_cast<void*>(0x10000000), 0x10000, MEM_RESERVE, PAGE_NOACCESS);
  ASSERT_NE(taken, nullptr) << "the preferred base must be free to take";
  HMODULE library = LoadLibraryA(BinPath("demolib.dll").c_str());
  ASSERT_NE(library, nullptr);
  EXPECT_NE(reinterpret_cast<uintptr_t>(library), 0x10000000u);
  EXPECT_EQ(CallStdcall(GetProcAddress(library, "ValueFromDll"), {}).result, 10);
  CallExpectingBoxes([&] { CallStdcall(GetProcAddress(library, "ArgsToDll"), {1, 2, 3}); },
                     {ArgumentText("1", "2", "3")});
  EXPECT_TRUE(FreeLibrary(library));
  VirtualFree(taken, 0, MEM_RELEASE);
}

// libimport and libbind differ in their title and in "lib" against "dll".
struct Caller {
  const char* program;
  const char* title;
  const char* boxComing;
  const char* sendingArguments;
  const char* returnValue;
};

const Caller kCallers[] = {
    {"libimport", "Tessaric .LIB Link and Call Tests", "A message box should now appear from demolib.lib",
     "Now we send three arguments (5, 10, 20) to demolib.lib",
     "The return value of ValueFromDll in demolib.lib is 10"},
    {"libbind", "Tessaric .DLL Module Call Tests", "A message box should now appear from demolib.dll",
     "Now we send three arguments (5, 10, 20) to demolib.dll",
     "The return value of ValueFromDll in demolib.dll is 10"},
};

TEST(LibraryCallers, ShowBothBoxesInOrderAndPrintTheirTranscript) {
  for (const Caller& c : kCallers) {
    SCOPED_TRACE(c.program);
    FlushInput();
    LaunchOptions options;
    options.consoleInput = true;
    options.outputFile = FreshDir(c.program) + "\\output.txt";
    Process process = Launch(BinPath(std::string(c.program) + ".exe"), options);
    ASSERT_NE(process.handle, nullptr);

    MessageBoxInfo hello = WaitForMessageBox(process);
    ExpectDemolibBox(hello, kHello);
    // The greeting comes between the second and the third line.
    EXPECT_EQ(ReadFileBytes(options.outputFile), Lines({c.title, c.boxComing}));
    EXPECT_TRUE(process.Running());
    CloseMessageBox(hello.window);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(hello.window); }, 15000, &process));

    MessageBoxInfo arguments = WaitForMessageBox(process);
    ExpectDemolibBox(arguments, ArgumentText("5", "10", "20"));
    EXPECT_EQ(ReadFileBytes(options.outputFile), Lines({c.title, c.boxComing, c.sendingArguments}));
    CloseMessageBox(arguments.window);

    ASSERT_TRUE(WaitUntil([&] { return ReadFileBytes(options.outputFile).find(kPrompt) != std::string::npos; },
                          15000, &process));
    EXPECT_EQ(ConsoleTitle(), c.title);
    PressKey();
    EXPECT_EQ(process.WaitExit(), 0u);
    EXPECT_EQ(ReadFileBytes(options.outputFile),
              Lines({c.title, c.boxComing, c.sendingArguments, c.returnValue, kPrompt}));
  }
}

// keeper.dll keeps a text and a count in its own variables: the second call
// finds what the first left (2 then 5 characters, the first then the second call).
TEST(LibraryState, AKeptTextAndCountLastFromCallToCall) {
  LaunchOptions options;
  options.nullInput = true;
  options.workingDirectory = FreshDir("keeper");
  options.outputFile = options.workingDirectory + "\\output.txt";
  Process process = Launch(FixturePath("keeper_caller.exe"), options);
  ASSERT_NE(process.handle, nullptr);
  EXPECT_EQ(process.WaitExit(), 0u);
  EXPECT_EQ(ReadFileBytes(options.outputFile), Lines({"211", "522", kPrompt}));
}

TEST(LibraryCallers, LibbindWithoutTheLibraryEndsBeforePrinting) {
  struct Case {
    const char* folder;
    std::vector<std::pair<std::string, const char*>> companions;
    const char* text;
    DWORD exitCode;
  } cases[] = {
      {"libbind-alone", {}, "Library Not Found  ", 1},
      {"libbind-partial", {{FixturePath("partial\\demolib.dll"), "demolib.dll"}}, "Function Not Found ", 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.folder);
    std::string folder = FreshDir(c.folder);
    std::string exe = folder + "\\libbind.exe";
    ASSERT_TRUE(CopyFileA(BinPath("libbind.exe").c_str(), exe.c_str(), FALSE));
    for (const auto& companion : c.companions)
      ASSERT_TRUE(CopyFileA(companion.first.c_str(), (folder + "\\" + companion.second).c_str(), FALSE));
    LaunchOptions options;
    options.workingDirectory = folder;
    options.nullInput = true;
    options.outputFile = folder + "\\output.txt";
    Process process = Launch(exe, options);
    ASSERT_NE(process.handle, nullptr);

    MessageBoxInfo box = WaitForMessageBox(process);
    ASSERT_NE(box.window, nullptr) << "no message box";
    EXPECT_EQ(box.text, c.text);
    EXPECT_EQ(box.caption, "libbind");
    EXPECT_EQ(box.exStyle & WS_EX_TOPMOST, 0);
    EXPECT_EQ(GetDlgItem(box.window, IDCANCEL), nullptr);
    CloseMessageBox(box.window);
    EXPECT_EQ(process.WaitExit(), c.exitCode);
    EXPECT_EQ(ReadFileBytes(options.outputFile), "");
  }
}

TEST(LibraryCallers, LibimportWithoutTheLibraryDoesNotStart) {
  std::string folder = FreshDir("libimport-alone");
  std::string exe = folder + "\\libimport.exe";
  ASSERT_TRUE(CopyFileA(BinPath("libimport.exe").c_str(), exe.c_str(), FALSE));
  LaunchOptions options;
  options.workingDirectory = folder;
  options.nullInput = true;
  options.outputFile = folder + "\\output.txt";
  Process process = Launch(exe, options);
  if (process.handle == nullptr) return;  // refused outright: it did not start
  EXPECT_EQ(process.WaitExit(), kDllNotFound);
  EXPECT_EQ(ReadFileBytes(options.outputFile), "");
}

}  // namespace
