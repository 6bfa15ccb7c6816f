// The Feature table: one feature per choice, carrying the install-type scheme
// (Level: 3 always installed, 4 typical, 10 optional; Display: 0 hidden, else
// the place in the lists), then the hidden features of the run-time merge
// modules and of the updates-menu registry data.
#include "BuildSteps.h"

#include "Menus.h"
#include "choices.h"
#include "main.h"

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

// The name of the choice whose node holds the choice's node in the choices
// tree; empty for a choice directly under the tree's first node "Choices".
std::string ParentChoiceName(const TRWInstallForm& form, const std::string& name) {
  TTreeNodes& nodes = form.trChoices->Items();
  for (int i = 0; i < nodes.Count(); ++i) {
    TTreeNode* node = nodes.Item(i);
    if (node->Text() != name) continue;
    TTreeNode* parent = node->Parent();
    if (!parent || parent == nodes.GetFirstNode()) return {};
    return parent->Text();
  }
  return {};
}

void InsertFixedFeature(TBuild& build, const char* name) {
  build.RunStatement(InsertFeatureRow, {name, nullptr, name, nullptr, 0, LevelRequired, "TARGETDIR", 0});
}

}  // namespace

void WriteFeatureTable(TBuild& build) {
  TRWInstallForm& form = *RWInstallForm;
  build.RecreateTable("Feature", CreateFeatureTable);

  int display = 1;
  const int tabs = form.RealChoiceCount();
  for (int tab = 0; tab < tabs; ++tab) {
    TChoice* choice = BuiltChoice(form, tab);
    if (!choice) continue;
    DrainMessages();
    std::string parent = ParentChoiceName(form, choice->FName);
    int shownAt = 0;
    if (choice->Visible) {
      shownAt = display;
      display += 2;
      DisableCustomFlag = 0;
    }
    int level = choice->Required ? LevelRequired : choice->Typical ? LevelTypical : LevelOptional;
    if (choice->Directories->Count() == 0)
      throw EBuildException("Choice " + choice->Title + " has no files associated with it.");
    std::string directory = DirectoryKey(build, choice->Directories->Get(0));
    build.RunStatement(InsertFeatureRow, {choice->FName, parent, choice->Title, choice->Description, shownAt, level,
                                          directory, 0});
  }

  if (form.CLRRuntime1->Checked()) InsertFixedFeature(build, "CLRRUNTIME");
  if (form.Pro1->Checked() || form.Enterprise1->Checked()) InsertFixedFeature(build, "BDEMERGEMODULE");
  InsertFixedFeature(build, "BRINDLEREGDATA");
  build.Commit();
}

}  // namespace tq
