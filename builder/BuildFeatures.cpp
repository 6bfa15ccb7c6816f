// The Feature table: one feature per choice, carrying the install-type scheme
// (Level: 3 always installed, 4 typical, 10 optional; Display: 0 hidden, else
// the place in the lists), then the hidden features of the run-time merge
// modules and of the updates-menu registry data.
#include "BuildSteps.h"


namespace tq {

namespace {

const char* const CreateFeatureTable =
    "CREATE TABLE `Feature` (`Feature` CHAR(32) NOT NULL, `Feature_Parent` CHAR(32), `Title` CHAR(255) "
    "LOCALIZABLE, `Description` CHAR(255) LOCALIZABLE, `Display` INTEGER, `Level` INTEGER NOT NULL, "
    "`Directory_` CHAR(72), `Attributes` INTEGER NOT NULL PRIMARY KEY `Feature`)";

const char* const InsertFeatureRow =
    "INSERT INTO `Feature` (`Feature`, `Feature_Parent`, `Title`, `Description`, `Display`, `Level`, "
    "`Directory_`, `Attributes`) VALUES (?,?,?,?,?,?,?,?)";

constexpr int LevelRequired = 3;
constexpr int LevelTypical = 4;
constexpr int LevelOptional = 10;

void InsertFixedFeature(TBuild& build, const char* name) {
  build.RunStatement(InsertFeatureRow, {name, nullptr, name, nullptr, 0, LevelRequired, "TARGETDIR", 0});
}

}  // namespace

void WriteFeatureTable(TBuild& build) {
  const TBuildProject& project = ProjectOf(build);
  build.RecreateTable("Feature", CreateFeatureTable);

  int display = 1;
  for (const TBuildChoice& choice : project.Choices) {
    DrainMessages();
    int shownAt = 0;
    if (choice.Visible) {
      shownAt = display;
      display += 2;
      build.FResults.DisableCustomFlag = 0;
    }
    int level = choice.Required ? LevelRequired : choice.Typical ? LevelTypical : LevelOptional;
    if (choice.Directories.empty())
      throw EBuildException("Choice " + choice.Title + " has no files associated with it.");
    std::string directory = DirectoryKey(build, choice.Directories.front());
    build.RunStatement(InsertFeatureRow, {choice.Name, choice.Parent, choice.Title, choice.Description, shownAt,
                                          level, directory, 0});
  }

  if (project.ClrRuntime) InsertFixedFeature(build, "CLRRUNTIME");
  if (project.BdePro || project.BdeEnterprise) InsertFixedFeature(build, "BDEMERGEMODULE");
  InsertFixedFeature(build, "BRINDLEREGDATA");
  build.Commit();
}

}  // namespace tq
