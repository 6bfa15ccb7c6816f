#pragma once
// Writes one file as a new archive member: stored or deflated (raw deflate),
// optionally encrypted, with CRC and sizes in its local header.
#include <string>

#include "ArchiveIO.h"
#include "EngineCallbacks.h"
#include "FileSpecs.h"
#include "ZipFormat.h"

namespace tq::zipeng {

struct TMemberOptions {
  int Level = 9;          // 0 stores every member
  bool Store = false;     // stored because of its suffix
  std::string OemName;    // name as stored (OEM code page, "/" separators)
  std::string OemComment;
};

// Returns the member's central header. Raises EEngineFailure (zeRead when the
// file cannot be read, zeTooLarge beyond 4 GB, zeCancelled on a stop request).
TCentralHeader WriteMember(const TSourceFile& file, const TMemberOptions& options, TOutFile& out,
                           TEngineCallbacks& callbacks);

}  // namespace tq::zipeng
