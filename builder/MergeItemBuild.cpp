// The merges of the open project: a Modules page item or one of the built-in
// modules (the .NET run-time and the two database-engine editions), read from
// the main window, with the database-engine location asked for once.
#include <windows.h>
#include <shellapi.h>

#include "merge.h"

#include "BuildProject.h"
#include "BuildSteps.h"
#include "MergeItem.h"
#include "PackageWork.h"
#include "Prompts.h"
#include "Registry.h"
#include "SysUtils.h"
#include "WorkspaceDialogs.h"
#include "main.h"

namespace tq {

namespace {

constexpr char HomeDirectory[] = "<Home Directory>";
constexpr char LogFileName[] = "msm.log";

// The built-in modules: menu index, module file, feature.
struct TBuiltInModule {
  int Index;
  const char* RegistryValue;  // database-engine modules; nullptr for the run-time
  const char* FileName;
  const char* Feature;
};
const TBuiltInModule BuiltInModules[] = {
    {-1, nullptr, "dotNETFXRedist_x86_enu.msm", "CLRRUNTIME"},
    {-2, "BdeProPath", "BDE_PRO.MSM", "BDEMERGEMODULE"},
    {-3, "BdeEntPath", "BDE_ENT.MSM", "BDEMERGEMODULE"},
};

const TBuiltInModule* BuiltIn(int index) {
  for (const TBuiltInModule& m : BuiltInModules)
    if (m.Index == index) return &m;
  return nullptr;
}

void RequireField(const std::string& value, int index, const char* field) {
  if (value.empty())
    throw EBuildException(Format("%s entry number %d is missing the %s field", {"Merge Module", index, field}));
}

}  // namespace

std::string ClrRuntimeModulePath() {
  char expanded[261] = "%CommonProgramFiles%";
  // The buffer's size in its low word; on success the text is replaced.
  DoEnvironmentSubstA(expanded, sizeof expanded);
  return std::string(expanded) + "\\Merge Modules\\dotNETFXRedist_x86_enu.msm";
}

std::string BdeModulePath(const std::string& valueName, const std::string& fileName) {
  TRegistry registry;
  registry.SetRootKey(HKEY_LOCAL_MACHINE);
  if (!registry.OpenKey(BdeRegistryKey, true)) return {};
  const std::string stored = registry.ReadString(valueName);
  if (!stored.empty()) return stored;

  if (BdePathDlg) BdePathDlg->ShowModal();
  std::string path = LowerCase(BdePathDlg ? BdePathDlg->edBdePath->Text() : std::string());
  // Nothing entered: nothing is stored, and the build says what is missing.
  if (Trim(path).empty())
    throw EBuildException("No location was given for the database engine merge module " + fileName + ".");
  if (path.size() < 4 || path.compare(path.size() - 4, 4, ".msm") != 0) {
    if (path.back() != '\\') path += "\\";
    path += fileName;
  }
  try {
    registry.WriteString(valueName, path);
  } catch (const Exception&) {
    // not stored: the next build asks again
  }
  return path;
}

void TMerge::MergeIntoPackage(int index) {
  if (index >= 0) {
    RequireField(Directory, index, "Directory");
    RequireField(Choice, index, "Choice");
  }
  TRWInstallForm& form = *RWInstallForm;
  TModuleMergeJob job;
  job.PackageFile = BuiltPackageFile(form.FOutputFile);
  job.LogFile = form.FAppDir + LogFileName;
  job.WorkDir = TempPath;
  job.Reader = form.FCabinetReader;
  job.Drain = DrainMessages;
  job.ItemModule = MergeModule;
  if (const TBuiltInModule* builtIn = BuiltIn(index)) {
    job.Feature = builtIn->Feature;
    job.RedirectDirectory = "TARGETDIR";
    job.Language = 1033;
    job.ModuleFile = builtIn->RegistryValue ? BdeModulePath(builtIn->RegistryValue, builtIn->FileName)
                                            : ClrRuntimeModulePath();
    // The built-in item has no module file of its own: the message names the file merged.
    job.ItemModule = job.ModuleFile.empty() ? builtIn->FileName : job.ModuleFile;
  } else {
    job.ModuleFile = MergeModule;
    job.Language = static_cast<unsigned short>(Language);
    job.Feature = Choice;
    job.RedirectDirectory = Directory == HomeDirectory ? "TARGETDIR" : Directory;
  }
  const int errors = MergeModuleInto(job);
  if (errors > 0) MessageDlg(MergeErrorsMessage(errors, job.ItemModule), mtError, mbOK);
}

void MergeBuildModule(const TBuildModule& module) {
  TRWInstallForm& form = *RWInstallForm;
  if (module.BuiltIn != 0) {
    // A new item each time, as a built-in module has none on the page.
    (new TMerge(&form))->MergeIntoPackage(module.BuiltIn);
    return;
  }
  TMerge* item = form.tcMergeModules ? dynamic_cast<TMerge*>(form.tcMergeModules->Tabs().GetObjectAt(module.Tab))
                                     : nullptr;
  if (!item) throw EBuildException("Merge Module entry number " + IntToStr(module.Tab) + " is missing");
  item->MergeIntoPackage(module.Tab);
}

}  // namespace tq
