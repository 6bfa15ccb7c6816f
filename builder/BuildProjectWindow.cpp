// The builder's one reader of the main window: the open project as a build
// reads it, taken from the window's fields, trees and item tabs once when a
// build starts.
#include <map>

#include "BuildProject.h"
#include "MergeItem.h"
#include "Prompts.h"
#include "StdCtrls.h"
#include "WorkspaceDialogs.h"
#include "associations.h"
#include "choices.h"
#include "evar.h"
#include "main.h"
#include "regentry.h"
#include "shortcut.h"

namespace tq {

namespace {

bool Checked(const TCheckBox* box) { return box && box->Checked(); }
bool Checked(const TRadioButton* button) { return button && button->Checked(); }
bool Checked(const TMenuItem* item) { return item && item->Checked(); }
std::string Text(const TEdit* edit) { return edit ? edit->Text() : std::string(); }

std::vector<std::string> Entries(const TStringList* list) {
  std::vector<std::string> entries;
  if (list)
    for (int i = 0; i < list->Count(); ++i) entries.push_back(list->Get(i));
  return entries;
}

// Each item of a page's tabs but the placeholder, with its tab position.
template <class TItem, class F>
void ForEachItem(TTabControl* tabs, F read) {
  if (!tabs) return;
  TControlItems& items = tabs->Tabs();
  for (int tab = 0; tab + 1 < items.Count(); ++tab)
    if (auto* item = dynamic_cast<TItem*>(items.GetObjectAt(tab))) read(*item, tab);
}

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

void ReadChoices(const TRWInstallForm& form, TBuildProject& project) {
  TControlItems& tabs = form.tcChoices->Tabs();
  const int count = form.RealChoiceCount();
  for (int tab = 0; tab < count; ++tab) {
    const auto* item = dynamic_cast<const TChoice*>(tabs.GetObjectAt(tab));
    if (!item) continue;
    TBuildChoice choice;
    choice.Tab = tab;
    choice.Name = item->FName;
    choice.Parent = ParentChoiceName(form, item->FName);
    choice.Title = item->Title;
    choice.Description = item->Description;
    choice.Required = item->Required;
    choice.Typical = item->Typical;
    choice.Visible = item->Visible;
    choice.Directories = Entries(item->Directories);
    for (int j = 0; j < item->Files->Count(); ++j)
      choice.Files.push_back({item->Files->Get(j),
                              j < item->Directories->Count() ? item->Directories->Get(j) : HomeDirectoryNode,
                              item->Files->GetIntObject(j) != 0});
    project.Choices.push_back(std::move(choice));
  }
}

void ReadDirectories(const TRWInstallForm& form, TBuildProject& project) {
  TTreeNodes& nodes = form.trTargetDir->Items();
  std::map<const TTreeNode*, int> index;
  for (int i = 0; i < nodes.Count(); ++i) {
    const TTreeNode* node = nodes.Item(i);
    index[node] = i;
    auto parent = index.find(node->Parent());
    project.Directories.push_back({node->Text(), parent == index.end() ? -1 : parent->second});
  }
}

void ReadItems(const TRWInstallForm& form, TBuildProject& project) {
  ForEachItem<TRegEntry>(form.tcRegistry, [&](const TRegEntry& e, int tab) {
    project.RegEntries.push_back({tab, e.FName, e.Root, e.Key, e.ValName, e.ValValue, e.Choice});
  });
  ForEachItem<TRwiShortcut>(form.tcShortcuts, [&](const TRwiShortcut& s, int tab) {
    project.Shortcuts.push_back(
        {tab, s.Shortcut, s.Directory, s.FName, s.Choice, s.Target, s.Arguments, s.Description, s.ShowCmd, s.WkDir});
  });
  ForEachItem<TEVar>(form.tcEVar, [&](const TEVar& v, int tab) {
    project.EVars.push_back(
        {tab, v.EVar, v.FName, v.Value, v.Choice, v.NoAction, v.Delete, v.HowToInstall, v.TheType});
  });
  ForEachItem<TAssociation>(form.tcAssociations, [&](const TAssociation& a, int tab) {
    project.Associations.push_back({tab, a.FName, a.Extension, a.Choice, a.IconIndex, a.FileName});
  });
  // Merge modules of the Modules page that name a file, then the built-in
  // runtime modules that are ticked in the menu.
  ForEachItem<TMerge>(form.tcMergeModules, [&](const TMerge& m, int tab) {
    if (!m.MergeModule.empty())
      project.Modules.push_back({tab, 0, m.FName, m.MergeModule, m.Language, m.Directory, m.Choice});
  });
  const std::pair<const TMenuItem*, int> builtIns[] = {
      {form.CLRRuntime1, -1}, {form.Pro1, -2}, {form.Enterprise1, -3}};
  for (const auto& [menuItem, index] : builtIns)
    if (Checked(menuItem)) {
      TBuildModule module;
      module.Tab = index;
      module.BuiltIn = index;
      project.Modules.push_back(module);
    }
}

void ReadSetupPages(const TRWInstallForm& form, TBuildProject& project) {
  const THtmlPagesNames* names = form.FHtmlPagesNames;
  const THtmlSupportPages* support = form.FHtmlSupportPages;
  struct TPageSource {
    const char* Page;
    std::string THtmlPagesNames::*Name;
    TStringList* THtmlSupportPages::*Support;
    bool Included;
  };
  const TPageSource pages[] = {
      {"Welcome", &THtmlPagesNames::Welcome, &THtmlSupportPages::Welcome, true},
      {"License", &THtmlPagesNames::License, &THtmlSupportPages::License, project.LicenseHtml},
      {"Readme", &THtmlPagesNames::Readme, &THtmlSupportPages::Readme, project.ReadmeHtml},
      {"CustInfo", &THtmlPagesNames::CustInfo, &THtmlSupportPages::CustInfo, project.CustInfoHtml},
      {"Location", &THtmlPagesNames::Location, &THtmlSupportPages::Location, true},
      {"Group", &THtmlPagesNames::Group, &THtmlSupportPages::Group, project.GroupHtml},
      {"InstallType", &THtmlPagesNames::InstallType, &THtmlSupportPages::InstallType, true},
      {"Custom", &THtmlPagesNames::Custom, &THtmlSupportPages::Custom, true},
      {"Install", &THtmlPagesNames::Install, &THtmlSupportPages::Install, true},
      {"Progress", &THtmlPagesNames::Progress, &THtmlSupportPages::Progress, true},
      {"Finish", &THtmlPagesNames::Finish, &THtmlSupportPages::Finish, true},
  };
  for (const TPageSource& p : pages) {
    TDistributionPage page;
    page.Page = p.Page;
    page.Included = p.Included;
    if (names) page.OutputName = names->*p.Name;
    if (support) page.SupportFiles = Entries(support->*p.Support);
    project.SetupPages.push_back(page);
  }
}

// The FTP settings dialog's answer: OK without asking once the user chose not
// to see it again this session.
int AskFtpSettings() {
  if (!FtpDataDlg) return mrOk;
  auto* dontShow = dynamic_cast<TCheckBox*>(FtpDataDlg->FindComponent("ckbDontShow"));
  if (dontShow && dontShow->Checked()) return mrOk;
  return FtpDataDlg->ShowModal();
}

}  // namespace

TBuildProject ReadBuildProject(const TRWInstallForm& form) {
  TBuildProject project;
  project.Type = form.FProjectType == 1 ? TProjectType::ptMergeModule : TProjectType::ptPackage;
  project.AppDir = form.FAppDir;
  project.OutputFile = form.FOutputFile;
  project.ProjectFile = form.FProjectFile;
  project.TempPath = TempPath;

  project.ProductName = Text(form.edProductName);
  project.CleanProductName = form.GetCleanProductName();
  project.ProductVersion = Text(form.edProductVersion);
  project.Manufacturer = Text(form.edManufacturer);
  project.ProductCode = Text(form.edProductCode);
  project.PackageCode = Text(form.edPackageCode);
  project.SupportUrl = Text(form.edSupportUrl);
  project.HomepageUrl = Text(form.edHomepageUrl);
  if (form.cbLanguage) {
    project.LanguageIndex = form.cbLanguage->ItemIndex();
    if (project.LanguageIndex >= 0)
      project.Language = static_cast<int>(form.cbLanguage->Items().GetIntObject(project.LanguageIndex));
  }
  project.PerMachine = Checked(form.rbPerMachine);
  project.KeySuffix = ProjectKeySuffix(project.Type, project.PackageCode);

  project.IncludePatching = Checked(form.ckbIncludePatching);
  project.VersionComparison = Text(form.edVersionComparison);
  project.BannerBitmap = Text(form.edBannerBitmap);
  project.WelcomeBitmap = Text(form.edWelcomeBitmap);
  project.ClrRuntime = Checked(form.CLRRuntime1);
  project.BdePro = Checked(form.Pro1);
  project.BdeEnterprise = Checked(form.Enterprise1);
  project.CdImage = Checked(form.rbCD);
  project.IncludeMsi = Checked(form.ckbIncludeMsi);
  project.HtmlUi = Checked(form.ckbHtmlUi);
  project.FlashUi = Checked(form.ckbFlashUi);
  project.LicenseHtml = Checked(form.ckbLicenseHtml);
  project.ReadmeHtml = Checked(form.ckbReadmeHtml);
  project.CustInfoHtml = Checked(form.ckbCustInfoHtml);
  project.GroupHtml = Checked(form.ckbGroupHtml);
  project.DisableComplete = Checked(form.ckbDisableComplete);
  project.LicenseFile = Text(form.edLicenseFile);
  project.ReadmeFile = Text(form.edReadmeFile);
  project.FlashMovie = Text(form.edFlashMovie);
  if (form.FFlashSupport) project.FlashSupportFiles = Entries(form.FFlashSupport->SupportFiles);
  ReadSetupPages(form, project);

  ReadDirectories(form, project);
  ReadChoices(form, project);
  ReadItems(form, project);

  project.FtpData = ProjectFtpData;
  project.AskFtpSettings = AskFtpSettings;
  project.CabinetWriter = form.FCabinetWriter;
  TRWInstallForm* window = const_cast<TRWInstallForm*>(&form);
  project.Log = [window](const std::string& line) { window->WriteLog(line); };
  return project;
}

const TBuildProject& ProjectOf(TBuild& build) {
  if (!build.FProject) build.FProject = std::make_shared<TBuildProject>(ReadBuildProject(*RWInstallForm));
  return *build.FProject;
}

}  // namespace tq
