#include "BuildFixture.h"

#include <windows.h>
#include <msiquery.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "BuildCommand.h"
#include "BuildSteps.h"
#include "FileUtils.h"
#include "MsiHandle.h"
#include "MsiTestRows.h"
#include "Registry.h"
#include "WorkspaceDialogs.h"

namespace tq::testing {

namespace {

const char* const ProgramFiles[] = {
    "lcid.dat", "template.tpl", "templatemsm.tpl", "Installation.txt", "banner.template.bmp",
    "welcome.template.bmp", "banner.bmp", "welcome.bmp", "help\\info.rtf", "help\\directories.rtf",
    "help\\choices.rtf", "help\\registry.rtf", "help\\shortcut.rtf", "help\\environment.rtf",
    "help\\mergemodules.rtf", "help\\build.rtf", "help\\gui.rtf", "help\\msi.rtf", "help\\FileAssociations.rtf",
    "help\\Updates.rtf",
    // What a successful build lays out in the distribution.
    "Install.exe", "InstMsiA.exe", "InstMsiW.exe", "ProgressBar.class", "ProgressBarApplet.class",
    "Vantrel.exe", "Sorvex.exe", "ZIPENG.DLL", "ZIPSTUB.BIN", "tqstyle.css.tpl",
    // The setup pages' snippets, start page and stylesheet template.
    "Welcome.ins", "License.ins", "Readme.ins", "CustInfo.ins", "Location.ins", "Group.ins", "InstallType.ins",
    "InstallTypeDisableComplete.ins", "Custom.ins", "Install.ins", "Progress.ins", "Finish.ins", "setup.ins",
    "tqstyle.tpl"};

// The auxiliary programs and files lie outside Tarnquill: small stand-ins here.
const char* const StandIns[] = {"TQSetGroup.exe", "TQSetDestinationPath.exe", "TQSetSub.exe", "Uninstall.exe",
                                "Patchnum.ini",   "AllowedUpdates.ini",       "Updates.exe",  "UndoUpdates.exe",
                                "Updates.dat"};

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

}  // namespace

void BuildTest::SetUp() {
  const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = std::string(info->test_suite_name()) + "." + info->name();
  for (char& c : name)
    if (c == '/') c = '_';
  Dir = std::string(TQ_BINARY_DIR) + "\\buildsteps-tests\\" + name + "." + IntToStr(GetCurrentProcessId()) + "\\";
  App = Dir + "app\\";
  Src = Dir + "src\\";
  // Wine hands out process ids again: an earlier run's folder of the same name
  // (a failed one's, or one a handle kept from going) must not pass for this
  // run's package.
  std::error_code ignored;
  std::filesystem::remove_all(Dir, ignored);
  ASSERT_FALSE(DirectoryExists(Dir)) << "an earlier run's " << Dir << " cannot be removed";
  ASSERT_TRUE(ForceDirectories(App + "help"));
  ASSERT_TRUE(ForceDirectories(Src));
  for (const char* f : ProgramFiles)
    ASSERT_TRUE(CopyFile(std::string(TQ_PROGRAM_DIR) + "\\" + f, App + f, false)) << f;
  for (const char* f : StandIns) WriteBytes(App + f, std::string("stand-in ") + f);
  // A build with update support packs the updates-menu control from the
  // authoring machine's system folder.
  char system[MAX_PATH] = "";
  GetSystemDirectoryA(system, MAX_PATH);
  const std::string control = std::string(system) + "\\BrindleProj.ocx";
  if (!FileExists(control)) CopyFile(std::string(TQ_BINARY_DIR) + "\\system\\BrindleProj.ocx", control, true);
  FOldShellOpen = ShellOpenHook();
  ShellOpenHook() = [this](const std::string& file, const std::string&, const std::string&) {
    ShellOpens.push_back(file);
  };
  TRWInstallForm::AppDirOverride() = App;
  Application->CreateForm(RWInstallForm);
  W = RWInstallForm;
  ASSERT_NE(W, nullptr);
  if (!GenerateHtmlPagesReminderDlg) Application->CreateForm(GenerateHtmlPagesReminderDlg);
  if (!VersionReminderDlg) Application->CreateForm(VersionReminderDlg);
  if (!FtpDataDlg) Application->CreateForm(FtpDataDlg);
  GenerateHtmlPagesReminderDlg->ckbDontRemind->SetChecked(false);
  VersionReminderDlg->ckbDontShow->SetChecked(false);
  // The dialogs outlive a test: none inherits an earlier test's "don't show".
  if (auto* dontShow = dynamic_cast<TCheckBox*>(FtpDataDlg->FindComponent("ckbDontShow")))
    dontShow->SetChecked(false);
  InstallBuildCommand(*W);
  W->FOutputFile = Dir + "Package.msi";
  W->FProjectFile = Dir + "project\\Tool.ipr";
  ForceDirectories(Dir + "project");
}

void BuildTest::TearDown() {
  delete W;
  W = nullptr;
  TRWInstallForm::AppDirOverride().clear();
  ShellOpenHook() = FOldShellOpen;
  // A passed test's folder goes (each holds a copy of the programs, so a few
  // runs of the suite would fill the disk); a failed one's stays to be looked at.
  if (!HasFailure()) {
    std::error_code ignored;
    std::filesystem::remove_all(Dir, ignored);
  }
}

void BuildTest::FillInfoPage(const std::string& productName) {
  // A build with update support asks for the product's program title once and
  // keeps it on the machine: builds of a named product find one (empty: no
  // updates-menu rows) unless a test stored its own.
  TRegistry registry;
  registry.SetRootKey(HKEY_LOCAL_MACHINE);
  const std::string key = "\\Software\\Quorvel\\Tarnquill\\" + productName;
  if (!registry.KeyExists(key) && registry.OpenKey(key, true)) registry.WriteString("ProgramTitle", "");
  W->edProductName->SetText(productName);
  W->edProductVersion->SetText("1.0.0");
  W->edManufacturer->SetText("Maker");
}

TTreeNode* BuildTest::Home() const { return W->trTargetDir->Items().GetFirstNode(); }

TTreeNode* BuildTest::AddDirectory(TTreeNode* parent, const std::string& name) {
  return parent ? W->trTargetDir->Items().AddChild(parent, name) : W->trTargetDir->Items().Add(nullptr, name);
}

TChoice* BuildTest::Core() const { return dynamic_cast<TChoice*>(W->tcChoices->Tabs().GetObjectAt(0)); }

TChoice* BuildTest::AddChoice(const std::string& name, const std::string& parent) {
  auto* choice = new TChoice(W);
  choice->FName = name;
  choice->Title = name;
  TControlItems& tabs = W->tcChoices->Tabs();
  tabs.InsertObject(tabs.Count() - 1, name, choice);
  TTreeNodes& nodes = W->trChoices->Items();
  TTreeNode* under = nodes.GetFirstNode();
  for (int i = 0; i < nodes.Count() && !parent.empty(); ++i)
    if (nodes.Item(i)->Text() == parent) under = nodes.Item(i);
  nodes.AddChild(under, name);
  return choice;
}

void BuildTest::AddFile(TChoice* choice, const std::string& path, const std::string& directory, bool checked) {
  choice->Files->AddIntObject(path, checked ? 1 : 0);
  choice->Directories->Add(directory);
}

std::string BuildTest::MakeSource(const std::string& name, const std::string& bytes) {
  WriteBytes(Src + name, bytes);
  return Src + name;
}

void BuildTest::MakeMergeModule() {
  W->NewProject(1);
  W->FOutputFile = Dir + "Module.msm";
  W->edProductName->SetText("Module");
  W->edProductVersion->SetText("1.0.0");
}

void BuildTest::RunTableSteps() {
  TBuild build;
  build.FResults = Results;  // what an earlier build left
  ASSERT_TRUE(PrepareDatabase(build));
  WriteDirectoryTable(build);
  WriteFeatureTable(build);
  WriteComponentTables(build);
  WriteFileTables(build);
  WriteLicenseText(build);
  build.CommitDatabase();
  Results = build.FResults;
}

void BuildTest::ClickBuild() { W->buBuild->Click(); }

std::vector<std::string> BuildTest::Rows(const std::string& sql) const {
  return PackageRows(W->FOutputFile, sql);
}

std::string BuildTest::StreamBytes(const std::string& sql) const {
  TMsiHandle db, view, rec;
  if (MsiOpenDatabaseA(W->FOutputFile.c_str(), MSIDBOPEN_READONLY, db.Receive()) != 0) return {};
  if (MsiDatabaseOpenViewA(db.Get(), sql.c_str(), view.Receive()) != 0) return {};
  MsiViewExecute(view.Get(), 0);
  std::string bytes;
  if (MsiViewFetch(view.Get(), rec.Receive()) == 0) {
    char buf[4096];
    for (;;) {
      DWORD size = sizeof buf;
      if (MsiRecordReadStream(rec.Get(), 2, buf, &size) != 0 || size == 0) break;
      bytes.append(buf, size);
    }
  }
  MsiViewClose(view.Get());
  return bytes;
}

std::string BuildTest::SummaryString(unsigned id) const {
  TMsiHandle info;
  if (MsiGetSummaryInformationA(0, W->FOutputFile.c_str(), 0, info.Receive()) != 0) return "<no info>";
  UINT type = 0;
  INT number = 0;
  FILETIME ft{};
  char buf[512];
  DWORD size = sizeof buf;
  if (MsiSummaryInfoGetPropertyA(info.Get(), id, &type, &number, &ft, buf, &size) != 0) return "<no property>";
  return std::string(buf, size);
}

int BuildTest::SummaryInteger(unsigned id) const {
  TMsiHandle info;
  if (MsiGetSummaryInformationA(0, W->FOutputFile.c_str(), 0, info.Receive()) != 0) return -1;
  UINT type = 0;
  INT number = 0;
  FILETIME ft{};
  DWORD size = 0;
  if (MsiSummaryInfoGetPropertyA(info.Get(), id, &type, &number, &ft, nullptr, &size) != 0) return -1;
  return number;
}

}  // namespace tq::testing
