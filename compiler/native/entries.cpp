#include "entries.h"

namespace tbc {
namespace native {

const RuntimeEntry kConsoleWrite = {"__ZN8tessaric12ConsoleWriteEPKcj", 8, Result::Integer};
const RuntimeEntry kConsoleNewLine = {"__ZN8tessaric14ConsoleNewLineEv", 0, Result::Integer};
const RuntimeEntry kConsoleWaitKey = {"__ZN8tessaric14ConsoleWaitKeyEv", 0, Result::None};
const RuntimeEntry kPrintWrite = {"__ZN8tessaric10PrintWriteEPKcj", 8, Result::None};
const RuntimeEntry kPrintNewLine = {"__ZN8tessaric12PrintNewLineEv", 0, Result::None};
const RuntimeEntry kPrintZone = {"__ZN8tessaric9PrintZoneEv", 0, Result::None};
const RuntimeEntry kIntegerText = {"__ZN8tessaric12NumberToTextEij", 8, Result::Text};
const RuntimeEntry kFloatText = {"__ZN8tessaric12NumberToTextEe", 12, Result::Text};
const RuntimeEntry kStrAlloc = {"__ZN8tessaric8StrAllocEPNS_16StringDescriptorEj", 8, Result::None};
const RuntimeEntry kStrAssign = {"__ZN8tessaric9StrAssignEPKcPNS_16StringDescriptorEi", 12, Result::Text};
const RuntimeEntry kStrAssignTemp = {"__ZN8tessaric13StrAssignTempEPKcPNS_16StringDescriptorEi", 12, Result::None};
const RuntimeEntry kStrAppend = {"__ZN8tessaric9StrAppendEPKcPNS_16StringDescriptorEi", 12, Result::Text};
const RuntimeEntry kStrTemp = {"__ZN8tessaric7StrTempEPNS_16StringDescriptorENS_11StringValueE", 12, Result::Text};
const RuntimeEntry kStrCompare = {"__ZN8tessaric10StrCompareEPKciS1_i", 16, Result::Integer};
const RuntimeEntry kConcatBegin = {"__ZN8tessaric11ConcatBeginEv", 0, Result::None};
const RuntimeEntry kNumberPower = {"__ZN8tessaric11NumberPowerEee", 24, Result::Number};

const RuntimeEntry kStrTakeArgument = {"__ZN8tessaric15StrTakeArgumentEPNS_16StringDescriptorEPKc", 8, Result::None};

const RuntimeEntry kInputLine = {"__ZN8tessaric9InputLineEPNS_16StringDescriptorE", 4, Result::Text};
const RuntimeEntry kInputField = {"__ZN8tessaric10InputFieldENS_11StringValueEPi", 12, Result::Text};
const RuntimeEntry kConsoleReadLine = {"__ZN8tessaric15ConsoleReadLineEPNS_16StringDescriptorE", 4, Result::None};
const RuntimeEntry kConsoleReadNumber = {"__ZN8tessaric17ConsoleReadNumberEv", 0, Result::Number};
const RuntimeEntry kGosubPush = {"__ZN8tessaric9GosubPushEPv", 4, Result::None};
const RuntimeEntry kGosubPop = {"__ZN8tessaric8GosubPopEi", 4, Result::Integer};
const char* const kGosubDepth = "__ZN8tessaric10GosubDepthE";

const RuntimeEntry kTextToNumber = {"__ZN8tessaric12TextToNumberENS_11StringValueE", 8, Result::Number};
const RuntimeEntry kStrCharacter = {"__ZN8tessaric12StrCharacterEi", 4, Result::Text};
const RuntimeEntry kStrUpper = {"__ZN8tessaric8StrUpperENS_11StringValueE", 8, Result::Text};
const RuntimeEntry kStrLower = {"__ZN8tessaric8StrLowerENS_11StringValueE", 8, Result::Text};
const RuntimeEntry kStrTrim = {"__ZN8tessaric7StrTrimENS_11StringValueEi", 12, Result::Text};
const RuntimeEntry kStrRepeat = {"__ZN8tessaric9StrRepeatEii", 8, Result::Text};
const RuntimeEntry kStrInstr = {"__ZN8tessaric8StrInstrEiNS_11StringValueES0_", 20, Result::Integer};
const RuntimeEntry kStrInstrRev = {"__ZN8tessaric11StrInstrRevENS_11StringValueES0_i", 20, Result::Integer};
const RuntimeEntry kStrReplace = {"__ZN8tessaric10StrReplaceENS_11StringValueES0_S0_", 24, Result::Text};
const RuntimeEntry kStrSlice = {"__ZN8tessaric8StrSliceENS_11StringValueEii", 16, Result::Text};
const RuntimeEntry kNumberFloor = {"__ZN8tessaric11NumberFloorEe", 12, Result::Number};
const RuntimeEntry kRandomNumber = {"__ZN8tessaric12RandomNumberEv", 0, Result::Number};
const RuntimeEntry kNumberPattern = {"__ZN8tessaric13NumberPatternEji", 8, Result::Text};
const RuntimeEntry kClockSeconds = {"__ZN8tessaric12ClockSecondsEv", 0, Result::Number};
const RuntimeEntry kConsoleClear = {"__ZN8tessaric12ConsoleClearEv", 0, Result::None};
const RuntimeEntry kConsoleSetColor = {"__ZN8tessaric15ConsoleSetColorEii", 8, Result::None};
const RuntimeEntry kConsoleLocate = {"__ZN8tessaric13ConsoleLocateEii", 8, Result::None};
const RuntimeEntry kRandomSeed = {"__ZN8tessaric10RandomSeedEe", 12, Result::None};
const RuntimeEntry kPrintTab = {"__ZN8tessaric8PrintTabEi", 4, Result::None};
const RuntimeEntry kPrintSpaces = {"__ZN8tessaric11PrintSpacesEi", 4, Result::None};
const char* const kPrintColumn = "__ZN8tessaric11PrintColumnE";
const RuntimeEntry kConsoleCursorRow = {"__ZN8tessaric16ConsoleCursorRowEv", 0, Result::Integer};
const RuntimeEntry kConsoleCursorColumn = {"__ZN8tessaric19ConsoleCursorColumnEv", 0, Result::Integer};
const RuntimeEntry kConsoleInkey = {"__ZN8tessaric12ConsoleInkeyEv", 0, Result::Text};
const RuntimeEntry kClockText = {"__ZN8tessaric9ClockTextEi", 4, Result::Text};
const RuntimeEntry kCommandArguments = {"__ZN8tessaric16CommandArgumentsEv", 0, Result::Text};
const RuntimeEntry kEnvironmentText = {"__ZN8tessaric15EnvironmentTextEPKc", 4, Result::Text};
const RuntimeEntry kStrOverwrite = {"__ZN8tessaric12StrOverwriteEPNS_16StringDescriptorEiiNS_11StringValueE", 20,
                                    Result::None};
const RuntimeEntry kReadDataText = {"__ZN8tessaric12ReadDataTextEv", 0, Result::Text};
const RuntimeEntry kReadDataNumber = {"__ZN8tessaric14ReadDataNumberEv", 0, Result::Number};
const RuntimeEntry kRestoreData = {"__ZN8tessaric11RestoreDataEi", 4, Result::None};
const char* const kProgramData = "__ZN8tessaric11ProgramDataE";
const char* const kProgramDataCount = "__ZN8tessaric16ProgramDataCountE";
const RuntimeEntry kNumberSinX87 = {"_NumberSinX87", 0, Result::Number};
const RuntimeEntry kNumberCosX87 = {"_NumberCosX87", 0, Result::Number};
const RuntimeEntry kNumberTanX87 = {"_NumberTanX87", 0, Result::Number};
const RuntimeEntry kNumberExpX87 = {"_NumberExpX87", 0, Result::Number};
const RuntimeEntry kNumberMinX87 = {"_NumberMinX87", 0, Result::Number};
const RuntimeEntry kNumberMaxX87 = {"_NumberMaxX87", 0, Result::Number};
const RuntimeEntry kNumberSignX87 = {"_NumberSignX87", 0, Result::Number};
const RuntimeEntry kNumberPowerX87 = {"_NumberPowerX87", 0, Result::Number};
const RuntimeEntry kFpuCheck = {"__ZN8tessaric8FpuCheckEv", 0, Result::None};
const char* const kFpuErrorHandler = "__ZN8tessaric15FpuErrorHandlerE";

const RuntimeEntry kArrayIndexError = {"__ZN8tessaric15ArrayIndexErrorEv", 0, Result::None};

const RuntimeEntry kStrRelease = {"__ZN8tessaric10StrReleaseEPNS_16StringDescriptorE", 4, Result::None};
const RuntimeEntry kArrayRedim = {"__ZN8tessaric10ArrayRedimEPNS_11ArrayRecordEiiPKibPFvPviE", 24, Result::None};
const RuntimeEntry kArrayLower = {"__ZN8tessaric10ArrayLowerEPKNS_11ArrayRecordEi", 8, Result::Integer};
const RuntimeEntry kArrayUpper = {"__ZN8tessaric10ArrayUpperEPKNS_11ArrayRecordEi", 8, Result::Integer};
const RuntimeEntry kArrayErase = {"__ZN8tessaric10ArrayEraseEPNS_11ArrayRecordEPFvPviE", 8, Result::None};
const char* const kReleaseStrings = "__ZN8tessaric14ReleaseStringsEPvi";

const RuntimeEntry kCheckStack = {"__ZN8tessaric10CheckStackEv", 0, Result::None};
const RuntimeEntry kStrFree = {"__ZN8tessaric7StrFreeEPNS_16StringDescriptorE", 4, Result::None};
const RuntimeEntry kStrHandOver = {"__ZN8tessaric11StrHandOverEPNS_16StringDescriptorE", 4, Result::Text};

const RuntimeEntry kFileOpen = {"__ZN8tessaric8FileOpenEPKcj", 8, Result::Integer};
const RuntimeEntry kFileClose = {"__ZN8tessaric9FileCloseEv", 0, Result::Integer};
const RuntimeEntry kFileReadText = {"__ZN8tessaric12FileReadTextEPNS_10FileRecordEi", 8, Result::Text};
const RuntimeEntry kFileReadLine = {"__ZN8tessaric12FileReadLineEPNS_10FileRecordE", 4, Result::Text};
const RuntimeEntry kFileTransfer = {"__ZN8tessaric12FileTransferEPNS_10FileRecordEPvii", 16, Result::Integer};
const RuntimeEntry kFileWriteLine = {"__ZN8tessaric13FileWriteLineEPKci", 8, Result::None};
const RuntimeEntry kFileSeek = {"__ZN8tessaric8FileSeekEi", 4, Result::Integer};
const RuntimeEntry kFileRefreshSize = {"__ZN8tessaric15FileRefreshSizeEv", 0, Result::Integer};
const RuntimeEntry kFileAtEnd = {"__ZN8tessaric9FileAtEndEv", 0, Result::Integer};
const RuntimeEntry kFileLoad = {"__ZN8tessaric8FileLoadEPNS_10FileRecordE", 4, Result::Text};
const RuntimeEntry kFileSaveText = {"__ZN8tessaric12FileSaveTextEPNS_10FileRecordEPKc", 8, Result::Integer};
const RuntimeEntry kFileReadAll = {"__ZN8tessaric11FileReadAllEPNS_10FileRecordEPKc", 8, Result::Text};
const RuntimeEntry kFileSaveString = {"__ZN8tessaric14FileSaveStringEPKcNS_11StringValueE", 12, Result::Integer};
const char* const kFileTextBuffer = "__ZN8tessaric14FileTextBufferE";
const RuntimeEntry kRegistryOpen = {"__ZN8tessaric12RegistryOpenEPNS_14RegistryRecordEPKcii", 16, Result::Integer};
const RuntimeEntry kRegistryClose = {"__ZN8tessaric13RegistryCloseEPNS_14RegistryRecordE", 4, Result::None};
const RuntimeEntry kRegistryBind = {"__ZN8tessaric12RegistryBindEPNS_14RegistryRecordE", 4, Result::None};
const RuntimeEntry kRegistryQueryValue = {"__ZN8tessaric18RegistryQueryValueEPKc", 4, Result::Integer};
const RuntimeEntry kRegistryReadString = {"__ZN8tessaric10readstringEPKci", 8, Result::Text};
const RuntimeEntry kRegistryClass = {"__ZN8tessaric13RegistryClassEv", 0, Result::Text};
const RuntimeEntry kRegistryName = {"__ZN8tessaric12RegistryNameEv", 0, Result::Text};
const RuntimeEntry kRegistryKeyPath = {"__ZN8tessaric15RegistryKeyPathEv", 0, Result::Text};
const RuntimeEntry kRegistryValueData = {"__ZN8tessaric17RegistryValueDataEv", 0, Result::Text};
const RuntimeEntry kRegistryValueDataAt = {"__ZN8tessaric19RegistryValueDataAtEi", 4, Result::Text};
const RuntimeEntry kRegistrySubkeyNameAt = {"__ZN8tessaric20RegistrySubkeyNameAtEi", 4, Result::Text};

const RuntimeEntry kBindDeclaredFunction = {"__ZN8tessaric20BindDeclaredFunctionEPKcPcj", 12, Result::None};

const char* const kExitProcess = "__imp__ExitProcess@4";
const char* const kSleep = "__imp__Sleep@4";
const char* const kMessageBeep = "__imp__MessageBeep@4";
const char* const kSetConsoleTitle = "__imp__SetConsoleTitleA@4";

const char* const kConcatAccumulator = "__ZN8tessaric17ConcatAccumulatorE";
const char* const kEmptyText = "__ZN8tessaric9EmptyTextE";

const char* const kProgramBody = "__Z11ProgramBodyv";
const char* const kProgramHeader = "_ProgramHeader";

}  // namespace native
}  // namespace tbc
