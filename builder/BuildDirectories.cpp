// The Directory table from the target-directory tree.
#include "BuildSteps.h"

namespace tq {

namespace {

const char* const CreateDirectoryTable =
    "CREATE TABLE `Directory` (`Directory` CHAR(72) NOT NULL, `Directory_Parent` CHAR(72), "
    "`DefaultDir` CHAR(255) NOT NULL LOCALIZABLE PRIMARY KEY `Directory`)";

const char* const FixedDirectoryRows[] = {
    "INSERT INTO `Directory` (`Directory`.`Directory`,`Directory`.`Directory_Parent`,`Directory`.`DefaultDir`) "
    "VALUES ('TARGETDIR','','SourceDir')",
    "INSERT INTO `Directory` (`Directory`.`Directory`,`Directory`.`Directory_Parent`,`Directory`.`DefaultDir`) "
    "VALUES ('GROUP','TARGETDIR','.')",
    "INSERT INTO `Directory` (`Directory`.`Directory`,`Directory`.`Directory_Parent`,`Directory`.`DefaultDir`) "
    "VALUES ('SystemFolder','TARGETDIR','.')",
};

const char* const InsertDirectoryRow =
    "INSERT INTO Directory (Directory, Directory_Parent, DefaultDir) VALUES (?,?,?)";

bool IsSystemFolder(const std::string& nodeText) { return LowerCase(nodeText) == "systemfolder"; }

}  // namespace

void WriteDirectoryTable(TBuild& build) {
  const std::vector<TBuildDirectory>& nodes = ProjectOf(build).Directories;
  build.RecreateTable("Directory", CreateDirectoryTable);
  for (const char* row : FixedDirectoryRows) build.RunStatement(row);

  for (size_t i = 1; i < nodes.size(); ++i) {
    DrainMessages();
    const std::string& text = nodes[i].Text;
    if (nodes[i].Parent < 0) {
      // A system folder chosen by name; the system folder itself is a fixed row.
      if (IsSystemFolder(text)) continue;
      build.RunStatement(InsertDirectoryRow, {text + build.FKeySuffix, "TARGETDIR", "."});
    } else {
      // The parent is named by its own row's key, so that a merge module's
      // suffixed rows hang together.
      build.RunStatement(InsertDirectoryRow, {text + build.FKeySuffix, DirectoryKey(build, nodes[nodes[i].Parent].Text), text});
    }
  }
  build.Commit();
}

}  // namespace tq
