// Drive letters through Wine's mount manager, whose request takes the Unix
// path of the folder; the layout is Wine's own.
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

std::string UnixPath(const std::string& folder) {
  using Converter = char*(CDECL*)(LPCWSTR);
  auto convert = reinterpret_cast<Converter>(
      GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name"));
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

}  // namespace

bool MapDrive(char letter, const std::string& folder) {
  std::string path = UnixPath(folder);
  return !path.empty() && DefineDrive(letter, path);
}

bool UnmapDrive(char letter) { return DefineDrive(letter, ""); }

}  // namespace driver
