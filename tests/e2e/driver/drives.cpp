// Drive letters. Under Wine through its mount manager, whose request takes the
// Unix path of the folder (the layout is Wine's own): Wine resolves drive
// letters from its own drive settings, not from DOS devices. On Windows as a
// DOS device of the logon session, as subst makes one.
#include "driver.h"

#include <winioctl.h>

namespace driver {

namespace {

struct UnixDriveRequest {
  ULONG size;
  UINT32 type;
  UINT32 fileSystem;
  UINT32 serial;
  ULONGLONG unixDevice;
  WCHAR letter;
  USHORT mountPointOffset;  // 0 removes the drive
  USHORT deviceOffset;
  USHORT labelOffset;
};

constexpr DWORD kDefineUnixDrive = CTL_CODE(0x6D, 32, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS);

using Converter = char*(CDECL*)(LPCWSTR);

// Present only under Wine.
Converter UnixPathConverter() {
  return reinterpret_cast<Converter>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name"));
}

std::string UnixPath(const std::string& folder) {
  Converter convert = UnixPathConverter();
  wchar_t wide[MAX_PATH] = {};
  if (convert == nullptr || !MultiByteToWideChar(CP_ACP, 0, folder.c_str(), -1, wide, MAX_PATH)) return "";
  char* unix = convert(wide);
  if (unix == nullptr) return "";
  std::string path(unix);
  HeapFree(GetProcessHeap(), 0, unix);
  return path;
}

bool DefineDrive(char letter, const std::string& unixPath) {
  std::string request(sizeof(UnixDriveRequest), '\0');
  auto* drive = reinterpret_cast<UnixDriveRequest*>(&request[0]);
  drive->letter = static_cast<WCHAR>(letter | 0x20);
  if (!unixPath.empty()) {
    drive->type = DRIVE_FIXED;
    drive->mountPointOffset = sizeof(UnixDriveRequest);
    request += unixPath + '\0';
    drive = reinterpret_cast<UnixDriveRequest*>(&request[0]);
  }
  drive->size = static_cast<ULONG>(request.size());
  HANDLE manager = CreateFileW(L"\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                               FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (manager == INVALID_HANDLE_VALUE) return false;
  DWORD returned = 0;
  BOOL done = DeviceIoControl(manager, kDefineUnixDrive, &request[0], static_cast<DWORD>(request.size()), nullptr, 0,
                              &returned, nullptr);
  CloseHandle(manager);
  return done != FALSE;
}

// The targets of the DOS devices this program defined, by letter, as object
// manager paths: removal names the very target it defined (the system keeps
// every definition of a letter and shows the latest), so a drive the machine
// has of its own comes back as it was.
std::string gDefined[26];

std::string DeviceName(char letter) { return std::string(1, static_cast<char>(letter & ~0x20)) + ":"; }

std::string& Defined(char letter) { return gDefined[static_cast<unsigned char>((letter & ~0x20) - 'A') % 26]; }

bool RemoveSessionDrive(char letter) {
  std::string& target = Defined(letter);
  if (target.empty()) return true;
  BOOL removed = DefineDosDeviceA(DDD_REMOVE_DEFINITION | DDD_RAW_TARGET_PATH | DDD_EXACT_MATCH_ON_REMOVE,
                                  DeviceName(letter).c_str(), target.c_str());
  target.clear();
  return removed != FALSE;
}

bool DefineSessionDrive(char letter, const std::string& folder) {
  RemoveSessionDrive(letter);
  std::string target = "\\??\\" + folder;
  if (!DefineDosDeviceA(DDD_RAW_TARGET_PATH, DeviceName(letter).c_str(), target.c_str())) return false;
  Defined(letter) = target;
  return true;
}

}  // namespace

bool MapDrive(char letter, const std::string& folder) {
  if (UnixPathConverter() == nullptr) return DefineSessionDrive(letter, folder);
  std::string path = UnixPath(folder);
  return !path.empty() && DefineDrive(letter, path);
}

bool UnmapDrive(char letter) {
  if (UnixPathConverter() == nullptr) return RemoveSessionDrive(letter);
  return DefineDrive(letter, "");
}

}  // namespace driver
