// What the table steps of a build share: directory keys and paths on the
// builder, and the message drain.
#include "BuildSteps.h"

#include "Forms.h"

namespace tq {

std::string DirectoryKey(const TBuild& build, const std::string& nodeText) {
  return DirectoryKey(build.FKeySuffix, nodeText);
}

std::string FormatDirectoryPath(TBuild& build, const std::string& nodeText) {
  return FormatDirectoryPath(ProjectOf(build), nodeText);
}

void DrainMessages() { Application->ProcessMessages(); }

}  // namespace tq
