#pragma once
// The records the zip component and ZIPENG.DLL exchange: the command record
// ZipEngExec takes, the per-spec file data it points to, and the callback
// record the engine passes back for progress, messages and questions.
//
// The layout is fixed for the shipped 32-bit build: every field is one 32-bit
// word there (the 16-bit halves noted below excepted). Pointer fields stay
// pointer-sized, so the 64-bit build has the same field order with wider
// pointers; both sides of the call always share this header.
#include <cstddef>
#include <cstdint>

#if defined(_WIN32) && !defined(_WIN64)
#define TQ_ZIPENG_STDCALL __stdcall
#else
#define TQ_ZIPENG_STDCALL
#endif

namespace tq::zipeng {

// Engine and record version this engine implements (1.60).
constexpr int32_t kEngineVersion = 160;
// Value of the end marker word of the record layout from 1.51 on.
constexpr int32_t kEndMarker = 7;

// Action codes of the callback record.
enum TZipAction : int32_t {
  zaNewFile = 1,      // a file is about to be processed: name, size
  zaProgress = 2,     // bytes processed since the last report
  zaEndOfBatch = 3,   // the operation has ended
  zaMessage = 4,      // a message; ErrorCode non-zero for errors and warnings
  zaTotalFiles = 5,   // number of files the operation will process
  zaTotalSize = 6,    // bytes the operation will process
  zaNewName = 7,      // may the stored name change? answer 1 + name in Message
  zaPassword = 8,     // password asked: answer 1 + password in Message
  zaCRCError = 9,     // extraction only
  zaOverwrite = 10,   // extraction only
  zaSkipped = 11,     // extraction only
  zaFileComment = 12, // comment for the file named in Message: answer 1 + comment
  zaStreamResize = 13 // stream operations only
};

// Error codes the engine reports with zaMessage.
enum TZipEngError : int32_t {
  zeNone = 0,
  zeNoMatch = 11,      // a file spec matched no file (skipped)
  zeRead = 12,         // a file could not be opened or read
  zeWrite = 13,        // the temporary archive could not be written
  zeBadArchive = 14,   // the existing archive cannot be read or updated
  zeCancelled = 15,    // the caller asked the engine to stop
  zePassword = 16,     // encryption asked for but no password given
  zeTooLarge = 17,     // a file or the archive exceeds 4 GB
  zeBadRecord = 18,    // the command record is not one this engine reads
  zeNothingToDo = 19,  // no file to add
  zeReplace = 20,      // the finished archive could not replace the old one
  zeCreate = 21,       // the temporary archive could not be created
  zeDuplicate = 22,    // two files would be stored under one name (skipped)
  zeDelete = 23        // a moved file could not be deleted
};

#pragma pack(push, 4)

struct TZipCallbackData {
  void* Handle;            // word 0: the owner window of the command record
  void* Caller;            // word 1: the caller of the command record
  int32_t Version;         // word 2: engine version
  int32_t IsOperationZip;  // word 3: non-zero while adding
  int32_t ActionCode;      // word 4: TZipAction
  int32_t ErrorCode;       // word 5: error code, or the caller's answer flag
  intptr_t FileSize;       // word 6: size, count or retry count
  char Message[512];       // word 7 on: text, zero-terminated
};

// Returns non-zero to make the engine stop.
using TZipCallback = int32_t(TQ_ZIPENG_STDCALL*)(TZipCallbackData* data);

// One file spec; 104 bytes in the 32-bit build.
struct TZipFileData {
  char* FileSpec;          // word 0: path or wildcard spec
  int32_t Reserved1;       // word 1
  int32_t Reserved2;       // word 2
  char* Password;          // word 3: this file pattern's own password, or null
  int32_t Encrypt;         // word 4: non-zero encrypts (0xFFFF: own password)
  uint16_t Recurse;        // word 5, low half: 0xFFFF searches sub-folders
  uint16_t Reserved5;      // word 5, high half
  int32_t Reserved6[3];    // words 6-8
  char* RootDir;           // word 9: folder relative specs and names start from
  int32_t Reserved10[16];  // words 10-25
};

// The command record; 216 bytes in the 32-bit build. Starts zero-filled.
struct TZipParms {
  void* Handle;            // word 0: owner window, null when unattended
  void* Caller;            // word 1: returned in every callback record
  int32_t Version;         // word 2: record version (151 or later)
  TZipCallback Callback;   // word 3
  int32_t Trace;           // word 4: flag
  char* Password;          // word 5: password, or null
  char* StoreSuffixes;     // word 6: ".gif:.png:..." stored without compression
  int32_t Encrypt;         // word 7: flag
  int32_t SystemFiles;     // word 8: flag: include hidden and system files
  int32_t Volume;          // word 9: flag: store the volume label
  int32_t Reserved10;      // word 10: 0
  int32_t NoDirEntries;    // word 11: flag: no separate folder entries
  int32_t Reserved12;      // word 12: 0
  int32_t Verbose;         // word 13: flag
  int32_t Reserved14;      // word 14: -1
  int32_t Level;           // word 15: compression level 0-9
  int32_t Reserved16;      // word 16
  int32_t Reserved17;      // word 17: 0
  int32_t JunkDir;         // word 18: flag: store file names without folders
  uint16_t Recurse;        // word 19, low half: 0xFFFF searches sub-folders
  uint16_t Reserved19;     // word 19, high half
  int32_t Reserved20;      // word 20: -1
  int32_t ForceDOS;        // word 21: flag: 8.3 names
  int32_t Move;            // word 22: flag: delete the files once stored
  int32_t Reserved23;      // word 23: 0
  int32_t Update;          // word 24: flag: add new files and newer versions
  int32_t Freshen;         // word 25: flag: only newer versions of stored files
  int32_t Reserved26;      // word 26: 0
  int32_t LatestTime;      // word 27: flag: archive dated like its newest member
  int32_t Reserved28[2];   // words 28-29
  int32_t SpecCount;       // word 30: number of TZipFileData records
  char* ArchiveName;       // word 31: the archive to write
  char* TempDir;           // word 32: folder of the temporary archive, or null
  char* Comment;           // word 33: archive comment, or null
  uint16_t ArchiveOnly;    // word 34, low half: 1 = only files with the archive bit
  uint16_t ResetArchive;   // word 34, high half: 1 = clear the archive bit after
  TZipFileData* FileData;  // word 35: SpecCount records
  int32_t Reserved36;      // word 36
  int32_t ExcludeCount;    // word 37
  char** ExcludeSpecs;     // word 38: ExcludeCount specs to leave out
  int32_t Reserved39[8];   // words 39-46
  int32_t AllowUndo;       // word 47: -1: moved files go to the recycle bin
  uint16_t CodePage;       // word 48, low half: 2 = names are given as OEM text
  uint16_t Reserved48;     // word 48, high half
  int32_t Reserved49[4];   // words 49-52
  int32_t EndMarker;       // word 53: 7
};

// The command record for engines before 1.51: the first 32 words as in
// TZipParms, then the end marker and the file-pattern texts; 16,520 bytes in the
// 32-bit build.
constexpr int kOldSpecRoom = 4097;
struct TZipParmsOld {
  uint8_t Head[offsetof(TZipParms, TempDir)];  // words 0-31, laid out as in TZipParms
  int32_t EndMarker;                            // word 32: 7
  char* Specs[kOldSpecRoom];                    // words 33 on
};

#pragma pack(pop)

#if defined(_WIN32) && !defined(_WIN64)
static_assert(sizeof(TZipParms) == 216);
static_assert(offsetof(TZipParms, Callback) == 3 * 4);
static_assert(offsetof(TZipParms, StoreSuffixes) == 6 * 4);
static_assert(offsetof(TZipParms, Level) == 15 * 4);
static_assert(offsetof(TZipParms, JunkDir) == 18 * 4);
static_assert(offsetof(TZipParms, Recurse) == 19 * 4);
static_assert(offsetof(TZipParms, LatestTime) == 27 * 4);
static_assert(offsetof(TZipParms, SpecCount) == 30 * 4);
static_assert(offsetof(TZipParms, ArchiveName) == 31 * 4);
static_assert(offsetof(TZipParms, ArchiveOnly) == 34 * 4);
static_assert(offsetof(TZipParms, ResetArchive) == 34 * 4 + 2);
static_assert(offsetof(TZipParms, FileData) == 35 * 4);
static_assert(offsetof(TZipParms, ExcludeSpecs) == 38 * 4);
static_assert(offsetof(TZipParms, AllowUndo) == 47 * 4);
static_assert(offsetof(TZipParms, CodePage) == 48 * 4);
static_assert(offsetof(TZipParms, EndMarker) == 53 * 4);
static_assert(sizeof(TZipFileData) == 104);
static_assert(sizeof(TZipParmsOld) == 16520);
static_assert(offsetof(TZipParmsOld, Specs) == 33 * 4);
static_assert(offsetof(TZipFileData, Password) == 3 * 4);
static_assert(offsetof(TZipFileData, Recurse) == 5 * 4);
static_assert(offsetof(TZipFileData, RootDir) == 9 * 4);
static_assert(offsetof(TZipCallbackData, ActionCode) == 4 * 4);
static_assert(offsetof(TZipCallbackData, FileSize) == 6 * 4);
static_assert(offsetof(TZipCallbackData, Message) == 7 * 4);
static_assert(sizeof(TZipCallbackData) == 7 * 4 + 512);
#endif

// The two entry points of ZIPENG.DLL, resolved by name.
using TZipEngExec = int32_t(TQ_ZIPENG_STDCALL*)(TZipParms* parms);
using TGetZipEngVersion = int32_t(TQ_ZIPENG_STDCALL*)();

}  // namespace tq::zipeng
