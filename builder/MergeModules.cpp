// Merging one merge module into the closed package through the merge-module
// object, with the module's cabinet unpacked into the work folder for the
// cabinet phase.
#include "merge.h"

#include <memory>

#include "BuildCabinet.h"
#include "Cabinet.h"
#include "FileUtils.h"
#include "MsmMerge.h"
#include "SysUtils.h"
#include "build.h"

#undef DeleteFile

namespace tq {

namespace {

constexpr char ModuleCabinetFile[] = "temp.cab";

void Drain(const TModuleMergeJob& job) {
  if (job.Drain) job.Drain();
}

void RemoveFile(const std::string& path) {
  if (FileExists(path)) DeleteFile(path);
}

}  // namespace

std::string MergeErrorsMessage(int count, const std::string& module) {
  return "There were " + IntToStr(count) + " merge errors merging " + module + ".\r\n\r\n" +
         "For additional information see the msm.log file";
}

int MergeModuleInto(const TModuleMergeJob& job) {
  const std::string cabinet = job.WorkDir + ModuleCabinetFile;
  try {
    Drain(job);
    std::unique_ptr<TMsmMerge> merge = CoMsmMerge::Create();
    merge->OpenDatabase(job.PackageFile);
    Drain(job);
    const bool haveModule = !job.ModuleFile.empty();
    if (haveModule) merge->OpenModule(job.ModuleFile, job.Language);
    Drain(job);
    merge->OpenLog(job.LogFile);
    if (haveModule) merge->Merge(job.Feature, job.RedirectDirectory);
    Drain(job);
    Drain(job);
    // A cabinet left by an earlier merge must not pass for this module's.
    RemoveFile(cabinet);
    if (haveModule && merge->ExtractCAB(cabinet)) {
      Drain(job);
      if (!job.Reader) throw Exception("The cabinet reader is missing.");
      job.Reader->ExtractFiles(cabinet, job.WorkDir + CabinetWorkFolder);
      RemoveFile(cabinet);
    }
    Drain(job);
    const int errors = merge->Errors().Count();
    merge->CloseDatabase(true);
    if (haveModule) merge->CloseModule();
    merge->CloseLog();
    merge.reset();
    Drain(job);
    return errors;
  } catch (const EBuildException&) {
    RemoveFile(cabinet);
    throw;
  } catch (const std::exception& e) {
    RemoveFile(cabinet);
    throw EBuildException(e.what());
  }
}

}  // namespace tq
