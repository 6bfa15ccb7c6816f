#pragma once
// The project named on Tarnquill's command line.
#include <string>
#include <vector>

#include "SysUtils.h"

namespace tq {

// The project path when the arguments (without the program path) are exactly
// one argument containing ".ipr" in any letter case, trimmed of blanks; else "".
inline std::string ProjectFromArguments(const std::vector<std::string>& args) {
  if (args.size() != 1) return {};
  if (Pos(".ipr", LowerCase(args[0])) == 0) return {};
  return Trim(args[0]);
}

}  // namespace tq
