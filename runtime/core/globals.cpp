#include "core/program.h"

namespace tessaric {

HINSTANCE InstanceHandle = nullptr;
char* CommandLine = nullptr;
HANDLE StdOutputHandle = nullptr;
HANDLE StdInputHandle = nullptr;
HANDLE StdErrorHandle = nullptr;

const char LineEnd[3] = "\r\n";
const char EmptyText[1] = "";

}  // namespace tessaric
