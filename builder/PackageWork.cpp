// The package's work file and its move into place.
#include "PackageWork.h"

#include <windows.h>

#include "FileUtils.h"
#include "SysUtils.h"

#undef DeleteFile

namespace tq {

namespace {

const std::string* RunningWork = nullptr;  // the running build's work file
const std::string* RunningPackage = nullptr;

void Remove(const std::string& path) {
  if (!FileExists(path)) return;
  FileSetAttr(path, 0);
  DeleteFile(path);
}

}  // namespace

TPackageWork::TPackageWork(const std::string& package)
    : FPackage(package), FWork(package + ".partial"), FPrevious(package + ".previous") {
  // Left by a build that was killed: the package itself is whole (it is
  // replaced in one rename only).
  Remove(FWork);
  Remove(FPrevious);
  RunningWork = &FWork;
  RunningPackage = &FPackage;
}

TPackageWork::~TPackageWork() {
  RunningWork = nullptr;
  RunningPackage = nullptr;
  if (FPlaced) {
    if (FHadPrevious)
      RenameFileReplacing(FPrevious, FPackage);
    else
      Remove(FPackage);
  }
  Remove(FWork);
  Remove(FPrevious);
}

void TPackageWork::PutInPlace() {
  if (!FileExists(FWork)) throw EInOutError("The package " + FWork + " was not written.");
  FHadPrevious = false;
  if (FileExists(FPackage)) {
    // A second name for the old package (a copy where the file system has no
    // links), so the package's own name is never missing.
    if (!CreateHardLinkA(FPrevious.c_str(), FPackage.c_str(), nullptr) && !CopyFile(FPackage, FPrevious, false)) {
      const int error = GetLastOSError();
      Remove(FPrevious);
      throw EInOutError(error, "Cannot keep the package " + FPackage + " as " + FPrevious + ": " +
                                   SysErrorMessage(error));
    }
    FHadPrevious = true;
  }
  if (!RenameFileReplacing(FWork, FPackage)) {
    const int error = GetLastOSError();
    throw EInOutError(error, "Cannot replace the package " + FPackage + " with " + FWork + ": " +
                                 SysErrorMessage(error));
  }
  FPlaced = true;
}

void TPackageWork::Keep() {
  FPlaced = false;
  Remove(FPrevious);
}

std::string BuiltPackageFile(const std::string& package) {
  return RunningWork && RunningPackage && *RunningPackage == package ? *RunningWork : package;
}

}  // namespace tq
