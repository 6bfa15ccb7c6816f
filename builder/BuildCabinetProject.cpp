// The cabinet phase of the open project: which files go into the package
// cabinet and under which names, which modules are merged, and whether the
// update copy is kept -- all read from the main window.
#include <windows.h>

#include "BuildAuxFiles.h"
#include "BuildCabinet.h"
#include "BuildSteps.h"
#include "Cabinet.h"
#include "FileUtils.h"
#include "MergeItem.h"
#include "SysUtils.h"
#include "UpdateCreation.h"
#include "choices.h"
#include "main.h"

namespace tq {

namespace {

std::string SystemFolder() {
  char buffer[256] = {};
  UINT n = GetSystemDirectoryA(buffer, 255);
  std::string dir(buffer, n < 256 ? n : 0);
  return IncludeTrailingPathDelimiter(dir);
}

std::string AuxiliarySource(const TAuxiliaryFile& file, const TRWInstallForm& form) {
  switch (file.Source) {
    case asSystemDir:
      return SystemFolder() + file.Name;
    case asProjectDir:
      return ExtractFilePath(form.FProjectFile) + file.Name;
    case asProgramDir:
      break;
  }
  return form.FAppDir + file.Name;
}

// The uninstaller goes with the first required choice, else the first typical
// one; none of either: no uninstaller.
bool HasUninstallerChoice(const TRWInstallForm& form) {
  const int tabs = form.RealChoiceCount();
  for (int tab = 0; tab < tabs; ++tab) {
    const TChoice* choice = BuiltChoice(form, tab);
    if (choice && (choice->Required || choice->Typical)) return true;
  }
  return false;
}

void MergeWith(TMerge& item, int index) {
  TModuleMerger& merger = ModuleMerger();
  if (!merger)
    throw EBuildException("Merge module " + item.MergeModule +
                          ": merge modules cannot be merged by this build.");
  merger(item, index);
}

}  // namespace

TModuleMerger& ModuleMerger() {
  static TModuleMerger merger;
  return merger;
}

TCabinetJob ProjectCabinetJob(TRWInstallForm& form, const std::string& tempPath) {
  TCabinetJob job;
  job.PackageFile = form.FOutputFile;
  job.WorkDir = tempPath;
  job.MergeModule = form.FProjectType == 1;
  job.KeySuffix = ProjectKeySuffix(form);
  job.Drain = DrainMessages;

  // The file numbers run over all files in the order the Component and File
  // steps number them.
  int n = 1;
  auto add = [&](const std::string& source) {
    job.ProjectFiles.push_back(
        {source, "FILE" + IntToStr(n) + "S" + ExtractFileName(source) + job.KeySuffix});
    ++n;
  };
  const int tabs = form.RealChoiceCount();
  for (int tab = 0; tab < tabs; ++tab) {
    const TChoice* choice = BuiltChoice(form, tab);
    if (!choice) continue;
    for (int i = 0; i < choice->Files->Count(); ++i) add(choice->Files->Get(i));
  }
  for (const TAuxiliaryFile& file : HelperFiles) add(AuxiliarySource(file, form));
  if (HasUninstallerChoice(form))
    add(form.FAppDir + UninstallerFileName(form.edProductName->Text()));
  const bool updateSupport = form.ckbIncludePatching && form.ckbIncludePatching->Checked();
  if (updateSupport) {
    for (const TAuxiliaryFile& file : UpdateSupportFiles) add(AuxiliarySource(file, form));
    // Packed whenever it lies in the project folder, also from an earlier build.
    const std::string ftpData = AuxiliarySource(FtpDataFile, form);
    if (FileExists(ftpData)) add(ftpData);
  }

  // Merge modules of the Modules page (the last tab is the placeholder), then
  // the built-in runtime modules that are ticked in the menu.
  if (form.tcMergeModules) {
    TControlItems& items = form.tcMergeModules->Tabs();
    for (int tab = 0; tab + 1 < items.Count(); ++tab) {
      TMerge* item = dynamic_cast<TMerge*>(items.GetObjectAt(tab));
      if (!item || item->MergeModule.empty()) continue;
      job.Merges.push_back([item, tab] { MergeWith(*item, tab); });
    }
  }
  const std::pair<TMenuItem*, int> builtIns[] = {
      {form.CLRRuntime1, -1}, {form.Pro1, -2}, {form.Enterprise1, -3}};
  for (const auto& [menuItem, index] : builtIns) {
    if (!menuItem || !menuItem->Checked()) continue;
    TRWInstallForm* owner = &form;
    int builtIn = index;
    job.Merges.push_back([owner, builtIn] { MergeWith(*new TMerge(owner), builtIn); });
  }

  job.KeepUpdateCopy = updateSupport && !job.MergeModule;
  job.AppDir = form.FAppDir;
  job.ProductName = form.edProductName->Text();
  job.VersionFolder = GetMajorMinorVersion(form.edProductVersion->Text());
  return job;
}

void BuildCabinet(TBuild& build) {
  TRWInstallForm& form = *RWInstallForm;
  if (!form.FCabinetWriter) throw Exception("The cabinet writer is missing.");
  RunCabinetPhase(build, *form.FCabinetWriter, ProjectCabinetJob(form, TempPath));
}

}  // namespace tq
