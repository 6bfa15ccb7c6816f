#pragma once
// The archive appended to the self-extractor: where it starts (after the
// program image and the option record), its directory and its members.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "SfxOptions.h"
#include "StubResults.h"
#include "ZipFormat.h"

namespace tq::zipstub {

struct TSfxMember {
  zipeng::TCentralHeader Central;  // as stored in the directory
  std::wstring Name;     // as stored, decoded
  std::wstring Path;     // safe relative path ("\" separators); empty when unsafe
  bool Folder = false;
  uint64_t LocalOffset = 0;  // absolute position in the self-extractor
};

class TSfxFile {
 public:
  TSfxFile() = default;
  TSfxFile(const TSfxFile&) = delete;
  TSfxFile& operator=(const TSfxFile&) = delete;
  ~TSfxFile();
  bool Open(const std::wstring& path);
  // End of the program image: the furthest of headers and section data.
  bool ImageEnd(uint64_t& end);
  bool ReadOptions(uint64_t at, TSfxOptions& options);
  // Reads the directory of the archive that starts at archiveStart.
  // checkSize: nothing may follow the archive.
  TStubResult ReadDirectory(uint64_t archiveStart, bool checkSize, std::vector<TSfxMember>& members);
  // Writes one file member to path; a failure removes the partial file.
  TStubResult Extract(const TSfxMember& m, const std::wstring& path);

 private:
  bool ReadAt(uint64_t at, void* data, size_t size);
  HANDLE FHandle = INVALID_HANDLE_VALUE;
  uint64_t FSize = 0;
};

}  // namespace tq::zipstub
