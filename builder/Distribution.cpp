// Laying out the distribution: Setup.zip through the zip component, turned
// into the self-extracting Setup.exe, and for floppies spanned over volumes.
#include "Distribution.h"

#include <cctype>

#include "BuildSteps.h"
#include "FileUtils.h"
#include "ProductFileName.h"
#include "ZipSmth.h"

namespace tq {

namespace {

// The product name becomes part of file names in the program and distribution
// folders: it must not lead elsewhere.
void CheckProductName(const TDistributionJob& job) {
  const std::string fault = ProductFileNameFault(job.ProductName);
  if (!fault.empty())
    throw EDistributionError(ProductFileNameMessage(job.ProductName, fault) + " The distribution cannot be made.");
}

void RemoveOld(const std::string& path) {
  if (FileExists(path) && !DeleteFile(path))
    throw EDistributionError("The old file \"" + path + "\" cannot be removed.");
}

// The copy of the uninstaller lives only while the archive is written.
class TUninstallerCopy {
 public:
  explicit TUninstallerCopy(const TDistributionJob& job) : FPath(UninstallerCopyPath(job)) {
    const std::string source = job.AppDir + "Uninstall.exe";
    if (!CopyFile(source, FPath, false))
      throw EDistributionError("The uninstaller \"" + source + "\" cannot be copied to \"" + FPath + "\".");
  }
  ~TUninstallerCopy() { DeleteFile(FPath); }
  TUninstallerCopy(const TUninstallerCopy&) = delete;
  TUninstallerCopy& operator=(const TUninstallerCopy&) = delete;

 private:
  std::string FPath;
};

std::string ZipFailure(const TZipSmith& zip, const std::string& what) {
  std::string text = what;
  if (!zip.Message().empty()) text += "\r\n" + zip.Message();
  return text;
}

// Adds the files to a new archive; every one of them must be in it.
void AddAll(TZipSmith& zip, const std::string& archive, const std::vector<std::string>& files) {
  for (const std::string& f : files) {
    if (f.empty()) throw EDistributionError("A file of the distribution is not named (the Gui page's Flash program?).");
    if (!FileExists(f)) throw EDistributionError("The file \"" + f + "\" of the distribution is missing.");
  }
  zip.SetZipFileName(archive);
  zip.FSpecArgs().Clear();
  for (const std::string& f : files) zip.FSpecArgs().Add(f);
  zip.Add();
  if (zip.SuccessCnt() != int(files.size()) || !FileExists(archive)) {
    DeleteFile(archive);
    throw EDistributionError(ZipFailure(zip, "The archive \"" + archive + "\" could not be written (" +
                                                 IntToStr(zip.SuccessCnt()) + " of " +
                                                 IntToStr(int(files.size())) + " files added)."));
  }
}

bool IsVolumeName(const std::string& name) {
  if (name.size() != 12 || !StartsText("Setup", name) || !SameText(name.substr(8), ".zip")) return false;
  for (int i = 5; i < 8; ++i)
    if (!std::isdigit(static_cast<unsigned char>(name[size_t(i)]))) return false;
  return true;
}

// Volumes of an earlier set: a new set must not meet them (the spanning would
// ask about each, and a smaller set would leave the higher ones behind).
void RemoveOldVolumes(const std::string& dir) {
  std::vector<std::string> old;
  TSearchRec f;
  if (FindFirst(dir + "Setup*.zip", faAnyFile & ~faDirectory, f) == 0) {
    do {
      if (IsVolumeName(f.Name)) old.push_back(dir + f.Name);
    } while (FindNext(f) == 0);
    FindClose(f);
  }
  for (const std::string& path : old) RemoveOld(path);
}

void ApplyCommonZipSettings(TZipSmith& zip, const std::string& appDir) {
  zip.AddCompLevel = 9;
  zip.AddOptions = AddOpts{};
  zip.AddStoreSuffixes = AddStoreExts{assGIF, assPNG, assZ,   assZIP, assZOO, assARC, assLZH, assARJ, assTAZ,
                                      assTGZ, assLHA, assRAR, assACE, assCAB, assGZ,  assGZIP, assJAR};
  zip.SFXPath = "ZipStub.bin";
  zip.SFXCaption = "Self-extracting Archive";
  zip.SetDLLDirectory(appDir);
}

}  // namespace

void ApplyCdZipSettings(TZipSmith& zm, const std::string& appDir) {
  ApplyCommonZipSettings(zm, appDir);
  zm.SFXOptions = SFXOpts{SFXAutoRun, SFXHideOverWriteBox, SFXCheckSize, SFXNoSuccessMsg};
  zm.SFXOverWriteMode = OvrAlways;
  zm.SFXDefaultDir = "><";
  zm.SFXCommandLine = "><install.exe";
  zm.MaxVolumeSize = 0;
  // Its failures reach the user through the build's error dialog.
  zm.Unattended = true;
}

void ApplyFloppyZipSettings(TZipSmith& zm2, const std::string& appDir) {
  ApplyCommonZipSettings(zm2, appDir);
  zm2.SFXOptions = SFXOpts{SFXCheckSize};
  zm2.SFXOverWriteMode = OvrConfirm;
  zm2.SFXDefaultDir.clear();
  zm2.SFXCommandLine.clear();
  zm2.MaxVolumeSize = 1300000;
}

void MakeDistribution(const TDistributionJob& job, TZipSmith& zm) {
  CheckProductName(job);
  const std::string dir = DistributionDir(job);
  if (!DirectoryExists(dir) && !ForceDirectories(dir))
    throw EDistributionError("The distribution folder \"" + dir + "\" cannot be made.");
  DrainMessages();

  const std::string archive = dir + "Setup.zip";
  const std::string setupExe = dir + "Setup.exe";
  RemoveOld(archive);
  // An old Setup.exe must not pass for this build's.
  RemoveOld(setupExe);

  TUninstallerCopy uninstaller(job);
  DrainMessages();
  WriteSetupIni(job);
  if (job.FlashUi) WriteInstallBat(job);

  ApplyCdZipSettings(zm, job.AppDir);
  AddAll(zm, archive, DistributionMembers(job));
  const int converted = zm.ConvertSFX();
  if (converted != 0 || !FileExists(setupExe)) {
    // The component keeps the archive when it fails: it is no distribution.
    DeleteFile(archive);
    DeleteFile(setupExe);
    throw EDistributionError(
        ZipFailure(zm, "Setup.exe could not be made from \"" + archive + "\" (error " + IntToStr(converted) + ")."));
  }
  // The component has deleted Setup.zip; one left behind (to the recycle bin
  // failed) is not part of the distribution.
  DeleteFile(archive);
}

void MakeFloppyDistribution(const TDistributionJob& job, TZipSmith& zm, TZipSmith& zm2) {
  TDistributionJob floppy = job;
  floppy.CdImage = false;
  MakeDistribution(floppy, zm);
  const std::string dir = DistributionDir(floppy);
  const std::string setupExe = dir + "Setup.exe";
  const std::string whole = FloppyWholeArchivePath(floppy);
  RemoveOld(whole);
  RemoveOldVolumes(dir);

  ApplyFloppyZipSettings(zm2, floppy.AppDir);
  AddAll(zm2, whole, {setupExe});
  const int spanned = zm2.WriteSpan(whole, dir + "Setup.zip");
  if (spanned != 0) {
    // A part of a set is no distribution: only whole sets stay behind.
    DeleteFile(whole);
    DeleteFile(setupExe);
    try {
      RemoveOldVolumes(dir);
    } catch (const EDistributionError&) {
    }
    throw EDistributionError(ZipFailure(zm2, "The floppy volumes could not be written (error " +
                                                 IntToStr(spanned) + ")."));
  }
  if (!FileExists(dir + FloppyVolumeName(0)))
    throw EDistributionError("The floppy volumes could not be written: \"" + dir + FloppyVolumeName(0) +
                             "\" is missing.");
  DeleteFile(whole);
  DeleteFile(setupExe);
}

namespace {

// The names of the files in a folder (no trailing "\"), sub-folders left out.
std::vector<std::string> FileNamesIn(const std::string& dir) {
  std::vector<std::string> names;
  TSearchRec f;
  if (FindFirst(dir + "\\*.*", faAnyFile & ~faDirectory, f) == 0) {
    do {
      if ((f.Attr & faDirectory) == 0) names.push_back(f.Name);
    } while (FindNext(f) == 0);
    FindClose(f);
  }
  return names;
}

// Deletes a folder (no trailing "\") and the files in it; a distribution
// folder holds no sub-folders.
void RemoveFolder(const std::string& dir) {
  if (!DirectoryExists(dir)) return;
  for (const std::string& name : FileNamesIn(dir)) {
    FileSetAttr(dir + "\\" + name, 0);
    DeleteFile(dir + "\\" + name);
  }
  RemoveDir(dir);
}

}  // namespace

void LayOutInWorkFolder(TDistributionJob job, TZipSmith& zm, TZipSmith& zm2) {
  job.FolderSuffix.clear();
  const std::string folder = ExcludeTrailingPathDelimiter(DistributionDir(job));
  const std::string setupIni = SetupIniPath(job), installBat = InstallBatPath(job);
  job.FolderSuffix = DistributionWorkSuffix;
  const std::string work = ExcludeTrailingPathDelimiter(DistributionDir(job));
  const std::string workSetupIni = SetupIniPath(job), workInstallBat = InstallBatPath(job);
  // Left by a build that was killed.
  RemoveFolder(work);
  try {
    if (job.CdImage)
      MakeDistribution(job, zm);
    else
      MakeFloppyDistribution(job, zm, zm2);
    // The finished files replace the old ones, each in one rename; other
    // files in the folder stay.
    if (!DirectoryExists(folder) && !ForceDirectories(folder))
      throw EDistributionError("The distribution folder \"" + folder + "\" cannot be made.");
    if (!job.CdImage) RemoveOldVolumes(folder + "\\");
    const auto putInPlace = [](const std::string& from, const std::string& to) {
      if (!RenameFileReplacing(from, to)) throw EDistributionError("The file \"" + to + "\" cannot be replaced.");
    };
    for (const std::string& name : FileNamesIn(work)) {
      const std::string file = work + "\\" + name;
      if (!SameText(file, workSetupIni) && !SameText(file, workInstallBat)) putInPlace(file, folder + "\\" + name);
    }
    putInPlace(workSetupIni, setupIni);
    if (job.FlashUi) putInPlace(workInstallBat, installBat);
  } catch (...) {
    RemoveFolder(work);
    throw;
  }
  RemoveFolder(work);
}

// ---- the work folder ----

void ClearTempCab(const std::string& tempPath) {
  const std::string dir = tempPath + "tempcab\\";
  std::vector<std::string> found;
  TSearchRec f;
  if (FindFirst(dir + "*.*", faAnyFile, f) == 0) {
    do {
      if (f.Name != "." && f.Name != "..") found.push_back(dir + f.Name);
    } while (FindNext(f) == 0);
    FindClose(f);
  }
  for (const std::string& path : found) DeleteFile(path);
}

}  // namespace tq
