// tqexample: writes the shipped example project's .ipr from its files.
//   tqexample [--merge <module file> | --module] [--product-name <name>] [--registry-items <n>]
//             <files folder> <project file> [<Flash GUI program> [<support file>...]]
// With a Flash GUI program, the variant whose Gui page chooses the Flash
// front-end with that program as its movie and the support files beside it.
// --merge adds a Modules page item that merges the module into the Tools
// choice, its root under the bin folder. --module writes a merge-module
// project instead: one choice "Shared_Files" with "Read Me.txt" in the home
// directory and "bin\tool.dll" in the folder "lib". --product-name gives the
// install package another product name (crafted projects of the checks of
// hostile input). --registry-items adds n more Registry page items (for the
// load benchmark).
// The example is a small install package with a nested directory tree, a
// required, a typical and an optional choice, file names with a blank and an
// apostrophe, and a product name with an apostrophe; registry values under two
// roots (one the default root -1), a shortcut in the program group with
// arguments and a working directory and one in a directory node, environment
// variables of each kind, and a file association with an icon. File paths in
// the project are the full paths of the files under <files folder>.
// Its setup uses the HTML front-end with all eleven pages made from one
// original page, the licence and readme texts and a picture (the welcome
// page's support file), all in the "setup" folder beside <files folder>.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <utility>
#include <vector>

#include "FileUtils.h"
#include "ProjectFile.h"
#include "associations.h"
#include "evar.h"
#include "regentry.h"
#include "shortcut.h"
#include "SysUtils.h"

using namespace tq;

namespace {

TChoice* AddChoice(TProjectFileContent& c, const std::string& name, const std::string& description,
                   bool required, bool typical, bool visible) {
  auto* choice = new TChoice(c.Holder.get());
  choice->FName = choice->Title = name;
  choice->Description = description;
  choice->Required = required;
  choice->Typical = typical;
  choice->Visible = visible;
  c.Choices.push_back(choice);
  return choice;
}

void AddFile(TChoice* choice, const std::string& files, const std::string& relative,
             const std::string& directory) {
  choice->Files->AddIntObject(files + relative, 0);
  choice->Directories->Add(directory);
}

void SetTargetDir(TProjectFileContent& c, std::vector<TStoredNode> nodes) {
  c.TargetDir.Items.Nodes = std::move(nodes);
  c.TargetDir.BorderStyle = 0;
  c.TargetDir.Width = 200;
  c.TargetDir.Height = 250;
}

template <class T>
void PlaceholderOnly(TProjectFileContent& c, std::vector<T*>& items) {
  items.push_back(new T(c.Holder.get()));
}

void SaveProject(const std::string& project, TProjectFileContent& c) {
  ForceDirectories(ExtractFileDir(project));
  SaveProjectFile(project, c);
  std::printf("%s\n", project.c_str());
}

// The merge-module project of --module.
void MakeModuleProject(const std::string& files, const std::string& project) {
  TProjectFileContent c;
  c.ProjectType = 1;
  SetTargetDir(c, {{"<Home Directory>", 0}, {"lib", 1}});
  // A merge module's one choice, and no placeholder after it.
  TChoice* shared = AddChoice(c, "Shared_Files", "", false, false, true);
  AddFile(shared, files, "Read Me.txt", "<Home Directory>");
  AddFile(shared, files, "bin\\tool.dll", "lib");
  c.ChoicesTree.HideSelection = false;
  c.ChoicesTree.Items.Nodes = {{"Choices", 0}, {"Shared_Files", 1}};
  PlaceholderOnly(c, c.Registry);
  PlaceholderOnly(c, c.Shortcuts);
  PlaceholderOnly(c, c.EVars);
  PlaceholderOnly(c, c.Merges);
  PlaceholderOnly(c, c.Associations);
  c.Info.ProductName = "Shared Files";
  c.Info.ProductVersion = "2.1.0";
  c.Info.PackageCode = "{3C4D5E6F-7A8B-4C9D-8E0F-1A2B3C4D5E6F}";
  SaveProject(project, c);
}

}  // namespace

int main(int argc, char** argv) {
  std::string mergeModule, productName = "Sam's Tool";
  bool moduleProject = false;
  int registryItems = 0;
  int first = 1;
  for (;;) {
    const std::string option = first < argc ? argv[first] : "";
    if (option == "--module") {
      moduleProject = true;
      first += 1;
    } else if (option == "--registry-items" && first + 1 < argc) {
      registryItems = std::atoi(argv[first + 1]);
      first += 2;
    } else if ((option == "--merge" || option == "--product-name") && first + 1 < argc) {
      (option == "--merge" ? mergeModule : productName) = argv[first + 1];
      first += 2;
    } else {
      break;
    }
  }
  if (argc - first < 2) {
    std::fprintf(stderr,
                 "usage: tqexample [--merge <module file> | --module] [--product-name <name>] [--registry-items <n>] "
                 "<files folder> "
                 "<project file> [<Flash GUI program> [<support file>...]]\n");
    return 2;
  }
  try {
    const std::string files = IncludeTrailingPathDelimiter(ExpandFileName(argv[first]));
    const std::string project = ExpandFileName(argv[first + 1]);
    const std::string setup = ExtractFilePath(ExcludeTrailingPathDelimiter(files)) + "setup\\";
    if (moduleProject) {
      MakeModuleProject(files, project);
      return 0;
    }
    TProjectFileContent c;
    c.ProjectType = 0;
    SetTargetDir(c, {{"<Home Directory>", 0}, {"bin", 1}, {"plug ins", 2}, {"docs", 1}});

    TChoice* core = AddChoice(c, "Core_Program", "", true, false, false);
    AddFile(core, files, "Read Me.txt", "<Home Directory>");
    AddFile(core, files, "license.txt", "<Home Directory>");
    TChoice* tools = AddChoice(c, "Tools", "The tool library", false, true, true);
    AddFile(tools, files, "bin\\tool.dll", "bin");
    AddFile(tools, files, "docs\\Sam's Notes.txt", "docs");
    TChoice* extras = AddChoice(c, "Extras", "Optional plug-ins", false, false, true);
    AddFile(extras, files, "bin\\plug ins\\extra plug.dat", "plug ins");
    c.Choices.push_back(new TChoice(c.Holder.get()));  // the placeholder
    c.ChoicesTree.HideSelection = false;
    c.ChoicesTree.Items.Nodes = {{"Choices", 0}, {"Core_Program", 1}, {"Tools", 1}, {"Extras", 1}};

    auto* folder = new TRegEntry(c.Holder.get());
    folder->FName = "InstallFolder";
    folder->Root = 1;  // HKEY_CURRENT_USER
    folder->Key = "Software\\Quill Works\\Sam's Tool";
    folder->ValName = "InstallFolder";
    folder->ValValue = "[TARGETDIR]";
    folder->Choice = "Core_Program";
    auto* colour = new TRegEntry(c.Holder.get());
    colour->FName = "Colour";  // the default root: per user or per machine as installed
    colour->Key = "Software\\Quill Works\\Sam's Tool\\Settings";
    colour->ValName = "Colour";
    colour->ValValue = "Sam's blue";
    colour->Choice = "Tools";
    c.Registry = {folder, colour};
    for (int i = 1; i <= registryItems; ++i) {  // a long page, for the load benchmark
      auto* value = new TRegEntry(c.Holder.get());
      value->FName = "Value " + std::to_string(i);
      value->Key = "Software\\Quill Works\\Sam's Tool\\Many";
      value->ValName = value->FName;
      value->ValValue = std::to_string(i);
      value->Choice = "Extras";
      c.Registry.push_back(value);
    }
    PlaceholderOnly(c, c.Registry);

    auto* readMe = new TRwiShortcut(c.Holder.get());
    readMe->Shortcut = "ReadMe";
    readMe->FName = "Read Me.txt";
    readMe->Directory = "Program Group";
    readMe->Choice = "Core_Program";
    readMe->Target = files + "Read Me.txt";
    readMe->Arguments = "/view \"it's\"";
    readMe->Description = "Sam's notes on the tool";
    readMe->ShowCmd = 1;  // maximized
    readMe->WkDir = "docs";
    auto* notes = new TRwiShortcut(c.Holder.get());
    notes->Shortcut = "Notes";
    notes->FName = "Sam's Notes.txt";
    notes->Directory = "bin";
    notes->Choice = "Tools";
    notes->Target = files + "docs\\Sam's Notes.txt";
    c.Shortcuts = {readMe, notes};
    PlaceholderOnly(c, c.Shortcuts);

    auto evar = [&c](const std::string& name, const std::string& value, bool noAction, bool remove, int how,
                     int type) {
      auto* v = new TEVar(c.Holder.get());
      v->FName = name;
      v->Value = value;
      v->Choice = "Core_Program";
      v->NoAction = noAction;
      v->Delete = remove;
      v->HowToInstall = how;
      v->TheType = type;
      c.EVars.push_back(v);
    };
    evar("SAMTOOL_HOME", "<Home Directory>", false, true, 2, 0);           // user, set, removed
    evar("SAMTOOL_PATH", "<Home Directory>\\bin", false, true, 1, 0);     // user, appended
    evar("SAMTOOL_SYSTEM", "<Home Directory>\\docs", false, true, 0, 1);  // system, prefixed
    evar("SAMTOOL_KEEP", "kept", true, false, 2, 0);                       // no action if it exists, stays
    PlaceholderOnly(c, c.EVars);
    if (!mergeModule.empty()) {
      auto* merge = new TMerge(c.Holder.get());
      merge->MergeModule = mergeModule;
      merge->Directory = "bin";
      merge->Choice = "Tools";
      c.Merges.push_back(merge);
    }
    PlaceholderOnly(c, c.Merges);

    auto* notesType = new TAssociation(c.Holder.get());
    notesType->FName = "SamTool.Notes";
    notesType->Extension = "samnote";
    notesType->Choice = "Tools";
    notesType->Description = "Sam's notes";
    notesType->IconIndex = "0";
    notesType->FileName = files + "bin\\tool.dll";
    c.Associations = {notesType};
    PlaceholderOnly(c, c.Associations);

    c.Info.ProductName = productName;
    c.Info.ProductVersion = "1.0.0";
    c.Info.Manufacturer = "Quill Works";
    c.Info.ProductCode = "{6A1B6C0E-2D3F-4E5A-9B7C-1D2E3F4A5B6C}";
    c.Info.PackageCode = "{0F1E2D3C-4B5A-4978-8695-A4B3C2D1E0F9}";
    const char* pages[] = {"Welcome", "License", "Readme", "CustInfo", "Location", "Group",
                           "InstallType", "Custom", "Install", "Progress", "Finish"};
    std::string* out[] = {&c.PagesNames.Welcome, &c.PagesNames.License, &c.PagesNames.Readme,
                          &c.PagesNames.CustInfo, &c.PagesNames.Location, &c.PagesNames.Group,
                          &c.PagesNames.InstallType, &c.PagesNames.Custom, &c.PagesNames.Install,
                          &c.PagesNames.Progress, &c.PagesNames.Finish};
    for (int i = 0; i < 11; ++i) *out[i] = std::string("Tq") + pages[i] + ".htm";
    std::string* originals[] = {&c.PagesNames.OrigWelcome, &c.PagesNames.OrigLicense, &c.PagesNames.OrigReadme,
                                &c.PagesNames.OrigCustInfo, &c.PagesNames.OrigLocation, &c.PagesNames.OrigGroup,
                                &c.PagesNames.OrigInstallType, &c.PagesNames.OrigCustom, &c.PagesNames.OrigInstall,
                                &c.PagesNames.OrigProgress, &c.PagesNames.OrigFinish};
    for (std::string* original : originals) *original = setup + "page.htm";
    c.SupportPages.Welcome->Add(setup + "samstool.svg");
    c.IncludePages.LicenseHtml = c.IncludePages.ReadmeHtml = true;
    c.IncludePages.CustInfoHtml = c.IncludePages.GroupHtml = true;
    c.IncludePages.HtmlUi = true;
    c.LicenseFile = setup + "License.txt";
    c.ReadmeFile = setup + "Readme.txt";
    for (TFont* f : {&c.BackNextCancelFont, &c.OtherTextFont}) {
      f->SetName("Verdana");
      f->SetSize(12);
    }
    c.BackNextCancelFont.SetColor(clBlue);
    c.OtherTextFont.SetColor(clGreen);
    c.ProgressBackColor = 0x00FFFFFF;
    c.ProgressForeColor = 0x00800000;
    c.DisableComplete = false;
    c.IncludePatching = false;
    c.WelcomeBitmap = "";
    c.BannerBitmap = "";
    c.IncludeMsi = false;
    c.SupportUrl = "";
    c.HomepageUrl = "";
    c.UpdateFrom = "";
    c.AllowAutoUpdate = true;
    c.UpdatePending = true;
    c.UpdateCreated = false;
    c.VersionComparison = "< 2.0";

    if (argc >= first + 3) {
      c.IncludePages.FlashUi = true;
      c.IncludePages.HtmlUi = false;
      c.IncludePages.FlashMovie = ExpandFileName(argv[first + 2]);
      for (int i = first + 3; i < argc; ++i) c.FlashSupport.SupportFiles->Add(ExpandFileName(argv[i]));
    }
    SaveProject(project, c);
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "tqexample: %s\n", e.what());
    return 1;
  }
}
