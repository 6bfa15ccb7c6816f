// The Shortcut table: one row per shortcut of the project, pointing at one of
// its choice's files by that file's File key, in a node of the target-directory
// tree or in the program group, and the working-directory custom actions of an
// install package.
//
// A shortcut's working directory is the Directory key of its node, which the
// installer resolves in every install mode. The WORKDIR<i> custom action
// (type 51) that sets a property of that name to the node's formatted path is
// still written for an install package, with its InstallUISequence row; a
// shortcut without a working directory names the never-set WORKDIR9999.
#include "BuildSteps.h"

namespace tq {

namespace {

const char* const CreateShortcutTable =
    "CREATE TABLE `Shortcut` (`Shortcut` CHAR(72) NOT NULL, `Directory_` CHAR(72) NOT NULL, `Name` CHAR(72) NOT "
    "NULL, `Component_` CHAR(72) NOT NULL, `Target` CHAR(72) NOT NULL, `Arguments` CHAR(255), `Description` "
    "CHAR(255), `Hotkey` INTEGER, `Icon_` CHAR(72), `IconIndex` INTEGER, `ShowCmd` INTEGER, `WkDir` CHAR(72) "
    "PRIMARY KEY `Shortcut`)";
const char* const InsertShortcutRow =
    "INSERT INTO `Shortcut` (`Shortcut`, `Directory_`, `Name`, `Component_`, `Target`, `Arguments`, `Description`, "
    "`ShowCmd`, `WkDir`) VALUES (?,?,?,?,?,?,?,?,?)";
const char* const InsertWorkDirAction =
    "INSERT INTO `CustomAction` (`Action`, `Type`, `Source`, `Target`) VALUES (?,51,?,?)";
const char* const InsertWorkDirSequence = "INSERT INTO `InstallUISequence` (`Action`, `Sequence`) VALUES (?,?)";

// Working-directory actions an earlier build of this package may have left.
constexpr int LeftOverActions = 101;
constexpr int WorkDirSequence = 1250;

// The window-state numbers of the installer for Normal, Maximized, Minimized.
int InstallerShowCmd(int showCmd) {
  switch (showCmd) {
    case 1:
      return 3;
    case 2:
      return 7;
    default:
      return 1;
  }
}

void RemoveLeftOverActions(TBuild& build, const char* table) {
  for (int n = 0; n < LeftOverActions; ++n) {
    DrainMessages();
    const std::string action = "WORKDIR" + IntToStr(n);
    if (build.FirstField(std::string("SELECT `Action` FROM `") + table + "` WHERE `Action`=?", {action}))
      build.RunStatement(std::string("DELETE FROM `") + table + "` WHERE `Action`=?", {action});
  }
}

// The file number of the shortcut's target: the first file of its choice with
// that path, counting over every choice's files; past the last when none is.
int TargetNumber(const TBuildProject& project, const TBuildShortcut& shortcut) {
  int last = 0;
  for (const TPackageFile& file : PackageFiles(project, false)) {
    if (file.Group != pgChoiceFile) break;
    last = file.Number;
    if (file.Choice->Name == shortcut.Choice && file.Source == shortcut.Target) return file.Number;
  }
  return last + 1;
}

std::string ShortcutDirectory(const TBuild& build, const std::string& directory) {
  if (directory == ProgramGroupNode) return "GROUP" + build.FKeySuffix;
  return DirectoryKey(build, directory);
}

}  // namespace

bool WriteShortcutTable(TBuild& build) {
  const TBuildProject& project = ProjectOf(build);
  const bool package = !project.MergeModule();
  build.DropTable("Shortcut");
  if (package) {
    RemoveLeftOverActions(build, "CustomAction");
    RemoveLeftOverActions(build, "InstallUISequence");
  }
  build.RunStatement(CreateShortcutTable);

  for (const TBuildShortcut& s : project.Shortcuts) {
    DrainMessages();
    if (s.Choice.empty()) continue;
    const std::string number = "Shortcut entry number " + IntToStr(s.Tab);
    if (s.Directory.empty()) throw EBuildException(number + " is missing the Directory field");
    if (s.Name.empty()) throw EBuildException(number + " has not had a target selected.");
    const std::string component = ItemComponent(build, s.Choice, number);
    const std::string target =
        "[#FILE" + IntToStr(TargetNumber(project, s)) + "S" + ExtractFileName(s.Target) + build.FKeySuffix + "]";

    std::string workDir = "WORKDIR9999" + build.FKeySuffix;
    if (!s.WkDir.empty()) {
      if (package) {
        const std::string action = "WORKDIR" + IntToStr(s.Tab) + build.FKeySuffix;
        build.RunStatement(InsertWorkDirAction, {action, action, FormatDirectoryPath(project, s.WkDir)});
        build.RunStatement(InsertWorkDirSequence, {action, WorkDirSequence + s.Tab});
      }
      workDir = DirectoryKey(build, s.WkDir);
    }
    build.RunStatement(InsertShortcutRow, {s.Shortcut + build.FKeySuffix, ShortcutDirectory(build, s.Directory),
                                           s.Name, component, target, s.Arguments, s.Description,
                                           InstallerShowCmd(s.ShowCmd), workDir});
  }
  return true;
}

}  // namespace tq
