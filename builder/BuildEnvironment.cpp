// The Environment table: one row per environment variable of the project, in
// the installer's notation (TEVar's MsiName and MsiValue).
#include "BuildSteps.h"

#include "evar.h"

namespace tq {

namespace {

const char* const CreateEnvironmentTable =
    "CREATE TABLE `Environment` (`Environment` CHAR(72) NOT NULL, `Name` CHAR(72) NOT NULL, `Value` CHAR(255), "
    "`Component_` CHAR(72) NOT NULL PRIMARY KEY `Environment`)";
const char* const InsertEnvironmentRow =
    "INSERT INTO `Environment` (`Environment`, `Name`, `Value`, `Component_`) VALUES (?,?,?,?)";

// "<Home Directory>" at the start of a value (in any letter case) stands for
// the installation folder: "[TARGETDIR]", which ends in a backslash of its own,
// so one backslash after the node name goes. Any other value stays as typed.
std::string ExpandHomeDirectory(const std::string& value) {
  const std::string home = HomeDirectoryNode;
  if (value.size() < home.size() || LowerCase(value.substr(0, home.size())) != LowerCase(home)) return value;
  std::string rest = value.substr(home.size());
  if (!rest.empty() && rest[0] == '\\') rest.erase(0, 1);
  return "[TARGETDIR]" + rest;
}

}  // namespace

void WriteEnvironmentTable(TBuild& build) {
  const TBuildProject& project = ProjectOf(build);
  build.RecreateTable("Environment", CreateEnvironmentTable);
  for (const TBuildEVar& v : project.EVars) {
    DrainMessages();
    if (v.Choice.empty()) continue;
    const std::string number = "Environment entry number " + IntToStr(v.Tab);
    if (v.Name.empty()) throw EBuildException(number + " is missing the Name field.");
    if (v.Value.empty()) throw EBuildException(number + " is missing the Value field.");
    build.RunStatement(InsertEnvironmentRow,
                       {v.EVar + build.FKeySuffix, EnvironmentMsiName(v.Name, v.NoAction, v.Delete, v.TheType),
                        EnvironmentMsiValue(ExpandHomeDirectory(v.Value), v.HowToInstall),
                        ItemComponent(build, v.Choice, number)});
  }
}

}  // namespace tq
