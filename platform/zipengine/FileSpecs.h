#pragma once
// Turns the command record's file specs into the files to store: wildcards,
// sub-folder search, hidden files, exclusions, the archive bit, and the name
// each file is stored under.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "EngineCallbacks.h"
#include "ZipEngRecords.h"

namespace tq::zipeng {

struct TSourceFile {
  std::string Path;        // full path (ANSI)
  std::string StoredName;  // name in the archive, ANSI, "/" between folders
  bool IsFolder = false;   // a folder entry (name ends with "/")
  uint32_t Attributes = 0;
  uint64_t Size = 0;
  uint16_t DosTime = 0;
  uint16_t DosDate = 0;
  std::string Password;    // empty: stored without encryption
};

// Case-insensitive match of "*" and "?" wildcards.
bool WildcardMatch(const char* pattern, const char* text);

// The stored form of a full path: relative to rootDir when below it, else
// without drive or share; folders joined by "/".
std::string StoredNameFor(const std::string& fullPath, const std::string& rootDir, bool junkDir);

// Every file the specs name, in spec order; specs matching nothing are
// reported as warnings. The archive itself is never among them.
std::vector<TSourceFile> ExpandSpecs(const TZipParms& parms, const std::string& password,
                                     TEngineCallbacks& callbacks);

void DosDateTime(const FILETIME& ft, uint16_t& dosTime, uint16_t& dosDate);

}  // namespace tq::zipeng
