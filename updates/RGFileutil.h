#pragma once
// Local file size for the FTP client's progress.
#include <cstdint>
#include <string>

// In a namespace of its own: the class library's FileSize answers -1 for a
// missing file, this one raises.
namespace tq::RGFileutil {

// Size in bytes of the file at Path, opened read-only; a file that cannot be
// opened raises EFOpenError "Cannot open file %s".
int64_t FileSize(const std::string& Path);

}  // namespace tq::RGFileutil
