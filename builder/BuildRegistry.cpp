// The Registry table: one row per registry entry of the project, the two
// updates-menu rows of a package with update support (read from the authoring
// machine's registry), and three rows per file association, which the
// association step appends after the Shortcut and Environment steps.
//
// Every row names the component of its item's choice (ItemComponent). Values
// travel in parameter records, so texts with quotes are stored as typed.
#include "BuildSteps.h"

#include "Prompts.h"
#include "Registry.h"

namespace tq {

namespace {

const char* const CreateRegistryTable =
    "CREATE TABLE `Registry` (`Registry` CHAR(72) NOT NULL, `Root` INTEGER NOT NULL, `Key` CHAR(255) NOT NULL, "
    "`Name` CHAR(38), `Value` CHAR(255), `Component_` CHAR(72) PRIMARY KEY `Registry`)";
const char* const InsertRegistryRow =
    "INSERT INTO `Registry` (`Registry`, `Root`, `Key`, `Name`, `Value`, `Component_`) VALUES (?,?,?,?,?,?)";

constexpr int RootClasses = 0;
constexpr int RootLocalMachine = 2;

const char* const ProductKeys = "Software\\Quorvel\\Tarnquill\\";
const char* const UpdatesMenuKey = "Software\\Quorvel\\UpdatesMenu";

// The installer refuses a key that begins with "\" when it installs the row:
// the key is relative to its root in any case.
std::string RelativeKey(const std::string& key) {
  size_t start = key.find_first_not_of('\\');
  return start == std::string::npos ? std::string() : key.substr(start);
}

// The product's "ProgramTitle" on the authoring machine; asked for, and
// stored, when the product has no key yet.
std::string ProgramTitle(const std::string& productName) {
  TRegistry registry;
  registry.SetRootKey(HKEY_LOCAL_MACHINE);
  const std::string key = ProductKeys + productName;
  if (registry.OpenKey(key, false)) return registry.ReadString("ProgramTitle");
  std::string title =
      InputBox("Program Title Line", "Please enter some unique text from your program's title line", "");
  if (registry.OpenKey(key, true)) registry.WriteString("ProgramTitle", title);
  return title;
}

// The updates-menu rows: the first sub-key of the updates-menu key whose name
// occurs in the title or holds it gives the menu caption and position.
void WriteUpdatesMenuRows(TBuild& build, const TBuildProject& project) {
  const std::string title = ProgramTitle(project.ProductName);
  if (title.empty()) return;
  TRegistry registry(KEY_READ);
  registry.SetRootKey(HKEY_LOCAL_MACHINE);
  if (!registry.OpenKeyReadOnly(std::string("\\") + UpdatesMenuKey)) return;
  TStringList names;
  registry.GetKeyNames(names);
  for (int i = 0; i < names.Count(); ++i) {
    const std::string name = names.Get(i);
    if (name.empty() || (title.find(name) == std::string::npos && name.find(title) == std::string::npos)) continue;
    if (!registry.OpenKeyReadOnly(std::string("\\") + UpdatesMenuKey + "\\" + name)) return;
    const std::string caption = registry.ReadString("ParentMenuCaption");
    const int position = registry.ReadInteger("MenuPosition");
    const std::string key = std::string(UpdatesMenuKey) + "\\" + title;
    const std::string component = "COMPBRINDLEREGDATA" + build.FKeySuffix;
    build.RunStatement(InsertRegistryRow, {"UpdatesMenuParentMenuCaption" + build.FKeySuffix, RootLocalMachine, key,
                                           "ParentMenuCaption", caption, component});
    build.RunStatement(InsertRegistryRow, {"UpdatesMenuMenuPosition" + build.FKeySuffix, RootLocalMachine, key,
                                           "MenuPosition", "#" + IntToStr(position), component});
    return;
  }
}

}  // namespace

void WriteRegistryTable(TBuild& build) {
  const TBuildProject& project = ProjectOf(build);
  build.RecreateTable("Registry", CreateRegistryTable);
  for (const TBuildRegEntry& entry : project.RegEntries) {
    DrainMessages();
    if (entry.Key.empty()) continue;
    const std::string number = "Registry entry number " + IntToStr(entry.Tab);
    if (entry.Choice.empty()) throw EBuildException(number + " is missing the Choice field.");
    build.RunStatement(InsertRegistryRow, {entry.Name + build.FKeySuffix, entry.Root, RelativeKey(entry.Key),
                                           entry.ValName, entry.ValValue, ItemComponent(build, entry.Choice, number)});
  }
  if (project.IncludePatching) WriteUpdatesMenuRows(build, project);
}

bool WriteAssociations(TBuild& build) {
  const TBuildProject& project = ProjectOf(build);
  int n = 0;
  auto insert = [&](const TBuildAssociation& a, const std::string& key, const std::string& value,
                    const std::string& number) {
    build.RunStatement(InsertRegistryRow, {a.Name + IntToStr(n) + build.FKeySuffix, RootClasses, key, nullptr, value,
                                           ItemComponent(build, a.Choice, number)});
    ++n;
  };
  for (const TBuildAssociation& a : project.Associations) {
    DrainMessages();
    if (a.Choice.empty() || a.Extension.empty()) continue;
    const std::string number = "FileAssociation entry number " + IntToStr(a.Tab);
    insert(a, a.Extension[0] == '.' ? a.Extension : "." + a.Extension, a.Name, number);

    const TBuildChoice* choice = FindChoice(project, a.Choice);
    if (!choice) throw EBuildException(number + "has an invalid choice:" + a.Choice);
    const TBuildFile* file = nullptr;
    for (const TBuildFile& f : choice->Files)
      if (!file && f.Source == a.FileName) file = &f;
    if (!file) throw EBuildException(number + "has an invalid associated file:" + a.FileName);

    const std::string program = "[" + DirectoryKey(build, file->Directory) + "]" + ExtractFileName(a.FileName);
    insert(a, a.Name + "\\DefaultIcon", program + "," + a.IconIndex, number);
    // Quoted, so that programs and documents in folders with blanks open.
    insert(a, a.Name + "\\Shell\\Open\\Command", "\"" + program + "\" \"%1\"", number);
  }
  return true;
}

}  // namespace tq
