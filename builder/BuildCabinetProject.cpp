// The cabinet phase of the project being built: which files go into the
// package cabinet and under which names, which modules are merged, and whether
// the update copy is kept -- all read from the builder's project.
#include "BuildCabinet.h"
#include "BuildSteps.h"
#include "Cabinet.h"
#include "FileUtils.h"
#include "PackageWork.h"
#include "SysUtils.h"
#include "UpdateCreation.h"

namespace tq {

namespace {

void MergeWith(const TBuildModule& module) {
  TModuleMerger& merger = ModuleMerger();
  if (!merger)
    throw EBuildException("Merge module " + module.MergeModule +
                          ": merge modules cannot be merged by this build.");
  merger(module);
}

}  // namespace

TModuleMerger& ModuleMerger() {
  static TModuleMerger merger;
  return merger;
}

TCabinetJob ProjectCabinetJob(const TBuildProject& project) {
  TCabinetJob job;
  job.PackageFile = BuiltPackageFile(project.OutputFile);
  job.WorkDir = project.TempPath;
  job.MergeModule = project.MergeModule();
  job.KeySuffix = project.KeySuffix;
  job.Drain = DrainMessages;

  // The file numbers run over all files in the order the Component and File
  // steps number them. The FTP settings file is packed whenever it lies in the
  // project folder, also from an earlier build.
  bool ftpData = false;
  for (const TPackageFile& file : PackageFiles(project, true))
    if (file.Group == pgFtpData) ftpData = FileExists(file.Source);
  for (const TPackageFile& file : PackageFiles(project, ftpData))
    job.ProjectFiles.push_back({file.Source, file.FileKey(job.KeySuffix)});

  for (const TBuildModule& module : project.Modules) job.Merges.push_back([module] { MergeWith(module); });

  job.KeepUpdateCopy = project.IncludePatching && !job.MergeModule;
  job.AppDir = project.AppDir;
  job.ProductName = project.ProductName;
  job.VersionFolder = GetMajorMinorVersion(project.ProductVersion);
  job.StageUpdateCopy = [package = job.PackageFile](const std::string& target,
                                                     const std::vector<std::string>& madeFolders) {
    return StageWithBuiltPackage(package, target, madeFolders);
  };
  return job;
}

void BuildCabinet(TBuild& build) {
  const TBuildProject& project = ProjectOf(build);
  if (!project.CabinetWriter) throw Exception("The cabinet writer is missing.");
  RunCabinetPhase(build, *project.CabinetWriter, ProjectCabinetJob(project));
}

}  // namespace tq
