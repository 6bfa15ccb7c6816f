#pragma once
// Reads the directory of the archive an add updates, and copies its members
// into the new archive.
#include <cstdint>
#include <string>
#include <vector>

#include "ArchiveIO.h"
#include "ZipFormat.h"

namespace tq::zipeng {

struct TExistingEntry {
  TCentralHeader Central;   // LocalOffset: absolute position in the file
};

class TExistingArchive {
 public:
  // Reads the archive's directory; raises zeBadArchive when it is not a
  // single-volume zip archive this engine can update.
  void Read(const std::string& path);
  // Bytes before the first member (a self-extractor's program and options).
  uint64_t PrefixLength() const { return FPrefixLength; }
  const std::vector<TExistingEntry>& Entries() const { return FEntries; }
  const std::string& Comment() const { return FComment; }

  void CopyPrefix(TOutFile& out);
  void Close() { FIn.Close(); }
  // Copies one member; returns its central header for the new directory.
  // A member that kept its sizes in a trailing data descriptor gets them in
  // its local header instead (unless it is encrypted: its check byte needs
  // the descriptor form).
  TCentralHeader CopyMember(const TExistingEntry& entry, TOutFile& out);

 private:
  void Copy(uint64_t from, uint64_t count, TOutFile& out);
  std::string FPath;
  TInFile FIn;
  uint64_t FPrefixLength = 0;
  std::vector<TExistingEntry> FEntries;
  std::string FComment;
};

}  // namespace tq::zipeng
