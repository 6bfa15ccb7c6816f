// The Directory table from the target-directory tree, the directories' keys,
// and the installer's formatted path of a tree node.
#include "BuildSteps.h"

#include "main.h"

namespace tq {

namespace {

const char* const HomeDirectory = "<Home Directory>";

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

std::string DirectoryKey(const TBuild& build, const std::string& nodeText) {
  if (nodeText == HomeDirectory || nodeText == "TARGETDIR") return "TARGETDIR";
  if (IsSystemFolder(nodeText)) return "SystemFolder";
  return nodeText + build.FKeySuffix;
}

void WriteDirectoryTable(TBuild& build) {
  TRWInstallForm& form = *RWInstallForm;
  build.RecreateTable("Directory", CreateDirectoryTable);
  for (const char* row : FixedDirectoryRows) build.RunStatement(row);

  TTreeNodes& nodes = form.trTargetDir->Items();
  for (int i = 1; i < nodes.Count(); ++i) {
    DrainMessages();
    TTreeNode* node = nodes.Item(i);
    if (!node) continue;
    const std::string& text = node->Text();
    TTreeNode* parent = node->Parent();
    if (!parent) {
      // A system folder chosen by name; the system folder itself is a fixed row.
      if (IsSystemFolder(text)) continue;
      build.RunStatement(InsertDirectoryRow, {text + build.FKeySuffix, "TARGETDIR", "."});
    } else {
      // The parent is named by its own row's key, so that a merge module's
      // suffixed rows hang together.
      build.RunStatement(InsertDirectoryRow, {text + build.FKeySuffix, DirectoryKey(build, parent->Text()), text});
    }
  }
  build.Commit();
}

std::string FormatDirectoryPath(const std::string& nodeText) {
  TTreeNodes& nodes = RWInstallForm->trTargetDir->Items();
  TTreeNode* found = nullptr;
  for (int i = 0; i < nodes.Count() && !found; ++i)
    if (nodes.Item(i)->Text() == nodeText) found = nodes.Item(i);
  if (!found) return {};

  std::string path;
  for (TTreeNode* n = found; n; n = n->Parent()) path = n->Parent() ? "\\" + n->Text() + path : n->Text() + path;

  const std::string home = HomeDirectory;
  if (path.compare(0, home.size(), home) == 0) {
    path = "[TARGETDIR]" + path.substr(home.size());
  } else {
    size_t slash = path.find('\\');
    if (slash == std::string::npos)
      path = "[" + path + "]";
    else
      path = "[" + path.substr(0, slash) + "]" + path.substr(slash);
  }
  size_t slash = path.find('\\');
  if (slash != std::string::npos) path.erase(slash, 1);
  return path;
}

}  // namespace tq
