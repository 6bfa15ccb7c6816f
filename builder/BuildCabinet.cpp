// The cabinet phase over a prepared job: the package cabinet, its stream in the
// package, the Media row or the merge module's tables, the commit and the
// update copy.
#include "BuildCabinet.h"

#include <algorithm>
#include <cstring>
#include <map>

#include "Cabinet.h"
#include "FileUtils.h"
#include "SysUtils.h"

// The class library's file functions, not the platform's macros of those names.
#undef CopyFile
#undef DeleteFile

namespace tq {

namespace {

// One cabinet for the whole package: no cabinet size a package reaches.
constexpr int MaxCabinetSize = 2147483647;
constexpr int FolderThreshold = 900000;

void Drain(const std::function<void()>& drain) {
  if (drain) drain();
}

TCabinetCompression StoredCompression(const TBuild& build) {
  TCabinetCompression c{};
  static_assert(sizeof(c) == sizeof(build.FCompression));
  std::memcpy(&c, &build.FCompression, sizeof(c));
  return c;
}

std::string CabinetFile(const TBuild& build, const TCabinetJob& job) {
  return job.WorkDir + build.FCabinetName;
}

// The package's work copy, beside it (so that it replaces it in one step).
std::string PackageWorkCopy(const TCabinetJob& job) { return job.PackageFile + ".partial"; }

// Removes the work files of the phase; failures are of no interest here (the
// next phase insists on an empty work folder itself).
void RemoveWorkFiles(const TBuild& build, const TCabinetJob& job) {
  EmptyCabinetWorkFolder(job.WorkDir);
  for (const std::string& file : {CabinetFile(build, job), PackageWorkCopy(job)})
    if (FileExists(file)) DeleteFile(file);
}

// Adds one member; a failure names the file it concerns.
void AddMember(TCabinetWriter& writer, const std::string& source, const std::string& name,
               const TCabinetCompression& compression) {
  try {
    writer.AddFile(source, name, false, compression);
  } catch (Exception& e) {
    e.Message = "Cannot add the file " + source + " to the cabinet: " + e.Message;
    throw;
  }
}

// The size of every member as the cabinet library placed it, by member name,
// while the phase runs; the writer's own handler comes back afterwards.
class TPlacedSizes {
 public:
  explicit TPlacedSizes(TCabinetWriter& writer) : FWriter(writer), FOld(writer.OnFilePlacedEvent) {
    writer.OnFilePlacedEvent = [this](TObject* sender, const TCCAB& cab, const std::string& name, int length,
                                      bool continuation, bool& abort) {
      if (!continuation) Sizes[name] = length;
      if (FOld) FOld(sender, cab, name, length, continuation, abort);
    };
  }
  ~TPlacedSizes() { FWriter.OnFilePlacedEvent = FOld; }
  TPlacedSizes(const TPlacedSizes&) = delete;
  TPlacedSizes& operator=(const TPlacedSizes&) = delete;
  std::map<std::string, int64_t> Sizes;

 private:
  TCabinetWriter& FWriter;
  TFilePlacedEvent FOld;
};

// Every File row has its member in the cabinet, of the row's size: a source
// file that changed after the File step would otherwise install other bytes
// than the package describes.
void CheckMembersAgainstFileTable(TBuild& build, const TCabinetJob& job,
                                  const std::map<std::string, int64_t>& placed) {
  std::map<std::string, std::string> sources;
  for (const TCabinetMember& member : job.ProjectFiles) sources[member.Name] = member.SourceFile;
  auto fileOf = [&sources](const std::string& key) {
    auto it = sources.find(key);
    return it == sources.end() ? key : it->second;
  };
  build.OpenView("SELECT `File`, `FileSize` FROM `File`");
  while (build.Fetch()) {
    const std::string key = build.FieldString(1);
    const int64_t size = build.FieldInteger(2);
    auto it = placed.find(key);
    if (it == placed.end()) {
      build.CloseView();
      throw EBuildException("The file " + fileOf(key) + " is listed in the package but missing from its cabinet.");
    }
    if (it->second != size) {
      build.CloseView();
      throw EBuildException("The file " + fileOf(key) + " changed during the build: the package lists " +
                            std::to_string(size) + " bytes, the cabinet holds " + std::to_string(it->second) +
                            " bytes. Build again.");
    }
  }
  build.CloseView();
}

// A copy of source in partial (beside the file it will replace).
void CopyToPartial(const std::string& source, const std::string& partial) {
  if (!CopyFile(source, partial, false)) {
    int error = GetLastOSError();
    DeleteFile(partial);
    throw EInOutError(error, "Cannot copy " + source + " to " + partial);
  }
}

// Puts the complete partial in target's place in one step: target stays whole
// until then.
void ReplaceWithPartial(const std::string& partial, const std::string& target) {
  if (!MoveFileExA(partial.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    int error = GetLastOSError();
    DeleteFile(partial);
    throw EInOutError(error, "Cannot replace " + target);
  }
}

void ForceFolder(const std::string& dir) {
  if (DirectoryExists(dir)) return;
  if (!CreateDir(dir) && !DirectoryExists(dir))
    throw EInOutError(GetLastOSError(), "Cannot create folder " + dir);
}

}  // namespace

bool EmptyCabinetWorkFolder(const std::string& workDir) {
  const std::string dir = workDir + CabinetWorkFolder;
  if (!DirectoryExists(dir)) return ForceDirectories(dir);
  std::vector<std::string> names;
  TSearchRec rec;
  if (FindFirst(dir + "*.*", faAnyFile & ~faDirectory & ~faVolumeID, rec) == 0) {
    do {
      if ((rec.Attr & faDirectory) == 0) names.push_back(rec.Name);
    } while (FindNext(rec) == 0);
    FindClose(rec);
  }
  bool allGone = true;
  for (const std::string& name : names) {
    const std::string path = dir + name;
    int attr = FileGetAttr(path);
    if (attr >= 0 && (attr & faReadOnly) != 0) FileSetAttr(path, attr & ~faReadOnly);
    if (!DeleteFile(path)) allGone = false;
  }
  return allGone;
}

void AddTempCabFiles(TBuild& build, const std::string& workDir) {
  const std::string dir = workDir + CabinetWorkFolder;
  TSearchRec rec;
  if (FindFirst(dir + "*.*", faAnyFile & ~faDirectory & ~faVolumeID, rec) != 0) return;
  do {
    if ((rec.Attr & faDirectory) != 0 || rec.Name == "." || rec.Name == "..") continue;
    const std::string path = dir + rec.Name;
    // Extraction carries the member's attributes; read-only would keep the file
    // from being deleted with the work folder.
    if ((rec.Attr & faReadOnly) != 0) FileSetAttr(path, rec.Attr & ~faReadOnly);
    build.FTempCabFiles.Add(path);
  } while (FindNext(rec) == 0);
  FindClose(rec);
}

void CollectCabinetFiles(TBuild& build, TCabinetWriter& writer, const TCabinetJob& job) {
  const TCabinetCompression mszip = CompressionMSZIP();
  std::memcpy(&build.FCompression, &mszip, sizeof(mszip));
  writer.Open(CabinetFile(build, job), "", MaxCabinetSize, FolderThreshold, 0);
  build.FTempCabFiles.Clear();
  for (const TCabinetMember& member : job.ProjectFiles) {
    Drain(job.Drain);
    AddMember(writer, member.SourceFile, member.Name, mszip);
  }
  for (const std::function<void()>& merge : job.Merges) {
    Drain(job.Drain);
    merge();
    Drain(job.Drain);
    AddTempCabFiles(build, job.WorkDir);
    Drain(job.Drain);
  }
}

void WriteCabinetInSequence(TBuild& build, TCabinetWriter& writer,
                            const std::function<void()>& drain) {
  const TCabinetCompression compression = StoredCompression(build);
  try {
    std::vector<std::string> keys;
    build.OpenView("SELECT * FROM File ORDER BY Sequence");
    while (build.Fetch()) keys.push_back(build.FieldString(1));
    build.CloseView();
    for (const std::string& key : keys) {
      // The first listed file of that name; the project's own files are in the
      // cabinet already and have none.
      int found = -1;
      for (int i = 0; i < build.FTempCabFiles.Count() && found < 0; ++i)
        if (ExtractFileName(build.FTempCabFiles.Get(i)) == key) found = i;
      if (found < 0) continue;
      if (drain) drain();
      AddMember(writer, build.FTempCabFiles.Get(found), key, compression);
    }
  } catch (...) {
    // An unfinished cabinet is of no use to anyone: discard it.
    build.FTempCabFiles.Clear();
    try {
      writer.Close();
    } catch (...) {
      // the failure that brought us here is the one to report
    }
    throw;
  }
  build.FTempCabFiles.Clear();
  writer.FlushCabinet(false);
  writer.Close();
}

void EmbedCabinet(TBuild& build, const std::string& cabinetFile) {
  // A stream of that name goes first. The package is a fresh copy of the
  // template, which holds none; Wine's installer would keep the bytes of a
  // name already in the file whatever is done through the view (and its SQL
  // DELETE on the streams table is not safe), so nothing here relies on more.
  build.OpenView("SELECT * FROM _Streams");
  while (build.Fetch()) {
    if (build.FieldString(1) == build.FCabinetName) {
      build.Modify(mmDelete);
      break;
    }
  }
  build.CloseView();
  build.InsertStream("SELECT * FROM _Streams", build.FCabinetName, cabinetFile);
}

void FixMediaRow(TBuild& build) {
  int count = 0;
  int highest = 0;
  build.OpenView("SELECT `Sequence` FROM `File`");
  while (build.Fetch()) {
    ++count;
    highest = std::max(highest, build.FieldInteger(1));
  }
  build.CloseView();
  // Rows are numbered 10, 20, ...; merged modules may bring higher numbers, and
  // a file above LastSequence would be on no disk at all.
  const int lastSequence = std::max(10 * count + 10, highest);
  build.OpenView("SELECT * FROM Media");
  if (!build.Fetch()) {
    build.CloseView();
    throw Exception("The package has no Media row for its cabinet.");
  }
  build.SetFieldInteger(2, lastSequence);
  build.Modify(mmUpdate);
  build.CloseView();
}

void ReshapeModuleTables(TBuild& build) {
  build.RunStatement("DROP TABLE Feature");
  build.RunStatement("DROP TABLE Media");
  build.RunStatement("DROP TABLE FeatureComponents");
  build.RunStatement(
      "CREATE TABLE `FeatureComponents` (`Feature_` CHAR(38) NOT NULL, `Component_` CHAR(72) "
      "NOT NULL PRIMARY KEY `Feature_`,`Component_`)");
}

std::string UpdateCopyFolder(const TCabinetJob& job) {
  return job.AppDir + "Patches\\" + job.ProductName + "\\Version" + job.VersionFolder + "\\Old\\";
}

void KeepUpdateCopy(const TCabinetJob& job, const std::string& cabinetFile,
                    const std::string& cabinetName) {
  const std::string patches = job.AppDir + "Patches";
  const std::string product = patches + "\\" + job.ProductName;
  const std::string version = product + "\\Version" + job.VersionFolder;
  std::vector<std::string> missing;
  for (const std::string& dir : {patches, product, version, version + "\\Old", version + "\\New"})
    if (!DirectoryExists(dir)) missing.push_back(dir);
  const std::string target = UpdateCopyFolder(job) + cabinetName;
  // A build puts it in place with the package, or brings the old one back
  // (and takes away the folders it made for it).
  const std::string staged = job.StageUpdateCopy ? job.StageUpdateCopy(target, missing) : std::string();
  for (const std::string& dir : missing) ForceFolder(dir);
  if (!staged.empty()) {
    CopyToPartial(cabinetFile, staged);
    return;
  }
  // Copied beside the old copy first, then put in its place in one step: the
  // earlier baseline stays whole until the new one is complete.
  const std::string partial = target + ".partial";
  CopyToPartial(cabinetFile, partial);
  ReplaceWithPartial(partial, target);
}

void RunCabinetPhase(TBuild& build, TCabinetWriter& writer, const TCabinetJob& job) {
  build.FCabinetName = job.MergeModule ? ModuleCabinetName : PackageCabinetName;
  build.FKeySuffix = job.KeySuffix;
  // What a merge extracts is found by listing the work folder: files left there
  // by an earlier build would go into this package.
  if (!EmptyCabinetWorkFolder(job.WorkDir))
    throw EInOutError("Cannot empty the work folder " + job.WorkDir + CabinetWorkFolder);
  const std::string cabinetFile = CabinetFile(build, job);
  const std::string workCopy = PackageWorkCopy(job);
  TPlacedSizes placed(writer);
  try {
    Drain(job.Drain);
    CollectCabinetFiles(build, writer, job);
    Drain(job.Drain);
    build.CreateInstaller();
    // The cabinet goes into a work copy opened in direct mode, which replaces
    // the package once committed: in transacted mode the installer writes the
    // cabinet stream twice (once more at Commit), and a failed phase must
    // leave the package as it was.
    CopyToPartial(job.PackageFile, workCopy);
    build.OpenDatabaseDirect(workCopy);
    WriteCabinetInSequence(build, writer, job.Drain);
    CheckMembersAgainstFileTable(build, job, placed.Sizes);
    Drain(job.Drain);
    EmbedCabinet(build, cabinetFile);
    Drain(job.Drain);
    if (job.MergeModule)
      ReshapeModuleTables(build);
    else
      FixMediaRow(build);
    build.Commit();
    build.CloseView();
    build.FDatabase.Close();  // the package is complete: nothing holds it open
    build.FInstaller = false;
    ReplaceWithPartial(workCopy, job.PackageFile);
    if (job.KeepUpdateCopy && !job.MergeModule) KeepUpdateCopy(job, cabinetFile, build.FCabinetName);
  } catch (...) {
    // Nothing of a failed phase is committed: the package stays as the table
    // steps left it.
    build.FTempCabFiles.Clear();
    try {
      if (writer.IsOpen()) writer.Close();
    } catch (...) {
      // the failure that brought us here is the one to report
    }
    build.CloseView();
    build.FDatabase.Close();
    build.FInstaller = false;
    RemoveWorkFiles(build, job);
    throw;
  }
  RemoveWorkFiles(build, job);
}

}  // namespace tq
