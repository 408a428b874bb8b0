// Reading the kit: its paths relative to the kit's own folder, so that an
// installed copy can be moved, absolute ones as they are, and the answer to
// whether a program can be built here. Built into the host layer's test, so
// it runs on Linux and under Wine.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "host.h"
#include "paths.h"
#include "toolchain.h"

namespace {

using namespace tbc;

void SetKitVariable(const std::string& value) {
#ifdef _WIN32
  _putenv_s("TESSARIC_KIT", value.c_str());
#else
  if (value.empty()) unsetenv("TESSARIC_KIT");
  else setenv("TESSARIC_KIT", value.c_str(), 1);
#endif
}

class KitFile : public testing::Test {
 protected:
  void SetUp() override {
    std::string message;
    ASSERT_TRUE(host::MakeScratchFolder(scratch_, message)) << message;
    // A folder with a blank in its name, as "Program Files" has.
    folder_ = JoinPath(scratch_, "my kit");
    ASSERT_TRUE(host::MakeFolder(folder_));
  }
  void TearDown() override {
    SetKitVariable("");
    host::RemoveTree(scratch_);
  }

  KitStatus Load(const std::string& text, Kit& kit, std::string& message) {
    std::string path = JoinPath(folder_, "tessaric-kit.txt");
    std::ofstream(path, std::ios::binary) << text;
    SetKitVariable(path);
    return LoadKit(kit, message);
  }

  std::string In(const std::string& relative) { return JoinPath(folder_, relative); }

  std::string scratch_, folder_;
};

const char kComplete[] =
    "# Written by the build\n"
    "cxx=i686-w64-mingw32-g++-posix\n"
    "flags=-Os -ffreestanding -Wall\n"
    "include=include\n"
    "runtime=libtessaric.a\n"
    "entry=objects/startup.obj\n"
    "support=objects/support.obj objects/more.obj\n"
    "pch=pch\n"
    "system=tessaric-system.txt\n"
    "layout=/usr/share/layout.ld\n"
    "finish=./tessaric-finish\n"
    "dlltool=/usr/bin/i686-w64-mingw32-dlltool\n"
    "windres=tools/windres\n"
    "libs=kernel32 user32\n";

TEST_F(KitFile, PathsAreFoundFromTheKitsFolder) {
  Kit kit;
  std::string message;
  ASSERT_EQ(Load(kComplete, kit, message), KitStatus::kLoaded) << message;
  EXPECT_EQ(kit.Get("include"), In("include"));
  EXPECT_EQ(kit.Get("runtime"), In("libtessaric.a"));
  EXPECT_EQ(kit.Get("entry"), In("objects/startup.obj"));
  EXPECT_EQ(kit.List("support"), (std::vector<std::string>{In("objects/support.obj"), In("objects/more.obj")}));
  EXPECT_EQ(kit.Get("pch"), In("pch"));
  EXPECT_EQ(kit.Get("layout"), "/usr/share/layout.ld");
  // A program named with a folder is the kit's; a bare name is on the search path.
  EXPECT_EQ(kit.Get("finish"), In("./tessaric-finish"));
  EXPECT_EQ(kit.Get("windres"), In("tools/windres"));
  EXPECT_EQ(kit.Get("cxx"), "i686-w64-mingw32-g++-posix");
  EXPECT_EQ(kit.Get("dlltool"), "/usr/bin/i686-w64-mingw32-dlltool");
  // Words are words.
  EXPECT_EQ(kit.Get("flags"), "-Os -ffreestanding -Wall");
  EXPECT_EQ(kit.List("libs"), (std::vector<std::string>{"kernel32", "user32"}));
  EXPECT_EQ(kit.Get("nothing"), "");
}

// A kit written on Windows, or edited there, has CR LF line ends.
TEST_F(KitFile, LinesMayEndInCrLf) {
  std::string text;
  for (char c : std::string(kComplete)) text += c == '\n' ? std::string("\r\n") : std::string(1, c);
  Kit kit;
  std::string message;
  ASSERT_EQ(Load(text, kit, message), KitStatus::kLoaded) << message;
  EXPECT_EQ(kit.Get("runtime"), In("libtessaric.a"));
  EXPECT_EQ(kit.List("libs"), (std::vector<std::string>{"kernel32", "user32"}));
}

TEST_F(KitFile, AKitWithoutAKeyItNeedsIsBroken) {
  for (const std::string key : {"runtime", "entry", "system", "libs"}) {
    std::string text;
    for (size_t at = 0, end; at < sizeof kComplete - 1; at = end + 1) {
      end = std::string(kComplete).find('\n', at);
      std::string line = std::string(kComplete).substr(at, end - at);
      if (line.compare(0, key.size() + 1, key + "=") != 0) text += line + "\n";
    }
    Kit kit;
    std::string message;
    EXPECT_EQ(Load(text, kit, message), KitStatus::kBroken) << key;
    EXPECT_EQ(message, In("tessaric-kit.txt") + " names no " + key);
  }
  // The precompiled header and the support objects are for when there are any;
  // layout, finish, dlltool and windres only for the link through ld; the C++
  // compiler, its flags and the headers only for the build through C++.
  Kit kit;
  std::string message;
  EXPECT_EQ(Load("runtime=r\nentry=e\nsystem=s\nlibs=k\n",
                 kit, message),
            KitStatus::kLoaded)
      << message;
}

TEST_F(KitFile, AKitNamedButNotThereIsBroken) {
  SetKitVariable(In("none.txt"));
  Kit kit;
  std::string message;
  EXPECT_EQ(LoadKit(kit, message), KitStatus::kBroken);
  EXPECT_EQ(message, "cannot read the kit " + In("none.txt"));
}

// Without a kit beside it or in ../lib/tessaric, a compiler cannot build:
// this test program has neither.
TEST_F(KitFile, NoKitWhereTheCompilerLooksIsMissing) {
  SetKitVariable("");
  Kit kit;
  std::string message;
  EXPECT_EQ(LoadKit(kit, message), KitStatus::kMissing);
  std::string self = DirectoryOf(host::ProgramPath());
  EXPECT_NE(message.find(JoinPath(self, "tessaric-kit.txt")), std::string::npos) << message;
  EXPECT_NE(message.find(JoinPath(self, "../lib/tessaric/tessaric-kit.txt")), std::string::npos) << message;
}

TEST_F(KitFile, BuildsOnlyWithACompilerThatIsThere) {
  Kit kit;
  std::string message;
  ASSERT_EQ(Load(kComplete, kit, message), KitStatus::kLoaded) << message;
  kit.values["cxx"] = {In("no-such-compiler")};
  EXPECT_FALSE(KitCanBuild(kit, message));
  EXPECT_EQ(message, "the C++ compiler " + In("no-such-compiler") + " that " + In("tessaric-kit.txt") + " names is not here");
  kit.values["cxx"] = {host::ProgramPath()};
  EXPECT_TRUE(KitCanBuild(kit, message));
  // The Windows package's kit names none.
  kit.values.erase("cxx");
  EXPECT_FALSE(KitCanBuild(kit, message));
  EXPECT_EQ(message, In("tessaric-kit.txt") + " names no C++ compiler");
}

}  // namespace
