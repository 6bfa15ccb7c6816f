#pragma once
// The command record the zip component hands to ZipEngExec, with the texts
// it points to (copies ending in a zero byte, alive as long as this object).
#include <memory>
#include <string>
#include <vector>

#include "ZipEngRecords.h"

namespace tq {

class TZipSmith;

class TZipCommandRecord {
 public:
  // archive: the file the engine writes; engineVersion decides the layout.
  TZipCommandRecord(const TZipSmith& zip, const std::string& archive, int engineVersion, void* owner,
                    zipeng::TZipCallback callback);
  TZipCommandRecord(const TZipCommandRecord&) = delete;
  TZipCommandRecord& operator=(const TZipCommandRecord&) = delete;
  // What ZipEngExec takes: a TZipParms or, for engines before 1.51, a TZipParmsOld.
  zipeng::TZipParms* Record() { return reinterpret_cast<zipeng::TZipParms*>(FStorage.data()); }
  int SpecCount() const { return FSpecCount; }

  // The ".gif:.png:..." list for a set of stored suffixes (empty set: "").
  static std::string SuffixList(uint32_t suffixBits);

 private:
  char* Keep(const std::string& s);
  std::vector<std::unique_ptr<std::string>> FTexts;
  std::vector<zipeng::TZipFileData> FFileData;
  std::vector<char*> FExcludes;
  std::vector<uint64_t> FStorage;  // the record, zero-filled and aligned
  int FSpecCount = 0;
};

}  // namespace tq
