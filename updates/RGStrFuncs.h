#pragma once
// Path helpers of the FTP client.
#include <string>

namespace tq {

// S with "\" appended unless it already ends in one.
std::string AddBackslash(const std::string& S);
// S without one trailing "\" or "/"; a one-character S is returned as it is
// (so "/" and "\" stay the root).
std::string RemoveTrailingSlash(const std::string& S);

}  // namespace tq
