// The package's work file and its move into place.
#include "PackageWork.h"

#include <windows.h>

#include "FileUtils.h"
#include "SysUtils.h"

#undef DeleteFile

namespace tq {

namespace {

TPackageWork* Running = nullptr;  // the running build's work

void Remove(const std::string& path) {
  if (!FileExists(path)) return;
  FileSetAttr(path, 0);
  DeleteFile(path);
}

}  // namespace

TPackageWork::TPackageWork(const std::string& package) {
  // Left by a build that was killed: the package itself is whole (it is
  // replaced in one rename only).
  Stage(package);
  Running = this;
}

TPackageWork::~TPackageWork() {
  if (Running == this) Running = nullptr;
  for (auto file = FFiles.rbegin(); file != FFiles.rend(); ++file) {
    if (file->Placed) {
      if (file->HadPrevious)
        RenameFileReplacing(file->Previous, file->Target);
      else
        Remove(file->Target);
    }
    Remove(file->Work);
    Remove(file->Previous);
  }
  for (auto folder = FMadeFolders.rbegin(); folder != FMadeFolders.rend(); ++folder) RemoveDir(*folder);
}

std::string TPackageWork::Stage(const std::string& target, const std::vector<std::string>& madeFolders) {
  FMadeFolders.insert(FMadeFolders.end(), madeFolders.begin(), madeFolders.end());
  for (const TFile& file : FFiles)
    if (SameText(file.Target, target)) return file.Work;
  TFile file;
  file.Target = target;
  file.Work = target + ".partial";
  file.Previous = target + ".previous";
  Remove(file.Work);
  Remove(file.Previous);
  FFiles.push_back(file);
  return FFiles.back().Work;
}

void TPackageWork::PutInPlace() {
  for (TFile& file : FFiles) {
    if (file.Placed) continue;
    const std::string what = &file == &FFiles.front() ? "package " : "file ";
    if (!FileExists(file.Work)) throw EInOutError("The " + what + file.Work + " was not written.");
    file.HadPrevious = false;
    if (FileExists(file.Target)) {
      // A second name for the old file (a copy where the file system has no
      // links), so the target's own name is never missing.
      if (!CreateHardLinkA(file.Previous.c_str(), file.Target.c_str(), nullptr) &&
          !CopyFile(file.Target, file.Previous, false)) {
        const int error = GetLastOSError();
        Remove(file.Previous);
        throw EInOutError(error, "Cannot keep the " + what + file.Target + " as " + file.Previous + ": " +
                                     SysErrorMessage(error));
      }
      file.HadPrevious = true;
    }
    if (!RenameFileReplacing(file.Work, file.Target)) {
      const int error = GetLastOSError();
      throw EInOutError(error, "Cannot replace the " + what + file.Target + " with " + file.Work + ": " +
                                   SysErrorMessage(error));
    }
    file.Placed = true;
  }
}

void TPackageWork::Keep() {
  for (TFile& file : FFiles) {
    file.Placed = false;
    Remove(file.Previous);
  }
  FMadeFolders.clear();
}

std::string BuiltPackageFile(const std::string& package) {
  return Running && Running->Package() == package ? Running->WorkFile() : package;
}

std::string StageWithBuiltPackage(const std::string& builtPackage, const std::string& target,
                                  const std::vector<std::string>& madeFolders) {
  if (!Running || Running->WorkFile() != builtPackage) return {};
  return Running->Stage(target, madeFolders);
}

}  // namespace tq
