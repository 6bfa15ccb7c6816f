// What the table steps of a build share: directory keys and paths on the
// builder, the items' component, and the message drain.
#include "BuildSteps.h"

#include "Forms.h"

namespace tq {

std::string DirectoryKey(const TBuild& build, const std::string& nodeText) {
  return DirectoryKey(build.FKeySuffix, nodeText);
}

std::string FormatDirectoryPath(TBuild& build, const std::string& nodeText) {
  return FormatDirectoryPath(ProjectOf(build), nodeText);
}

std::string ItemComponent(TBuild& build, const std::string& choice, const std::string& entry) {
  std::optional<std::string> component =
      build.FirstField("SELECT Component_ FROM FeatureComponents WHERE Feature_=?", {choice});
  if (!component || component->empty())
    throw EBuildException(entry + ": the choice \"" + choice +
                          "\" installs no component (is it a choice of this project?).");
  return *component;
}

void DrainMessages() { Application->ProcessMessages(); }

}  // namespace tq
