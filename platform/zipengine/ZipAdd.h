#pragma once
// The add operation behind ZipEngExec: files named by the command record go
// into the archive (new or updated). The archive is written to a temporary
// file first and replaces the old one only once it is complete.
#include <cstdint>

#include "ZipEngRecords.h"

namespace tq::zipeng {

// Returns the number of files added or replaced; 0 after any failure, with
// the old archive untouched.
int32_t RunAdd(const TZipParms& parms);

}  // namespace tq::zipeng
