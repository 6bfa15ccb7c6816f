// The File, Media, SelfReg and Font tables: one File row per file of every
// choice and per auxiliary file, numbered as the Component step numbered them,
// the self-registration and font marks of the checked files, and the one Media
// row of the cabinet stored inside the package; then each file's component
// gets the file as its key path.
#include "BuildSteps.h"

#include <windows.h>

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "BuildAuxFiles.h"
#include "FileUtils.h"

namespace tq {

namespace {

// File.Sequence and Media.LastSequence are LONG: a 16-bit INTEGER would end at
// 32,767, the sequence of file 3,276.
const char* const CreateFileTable =
    "CREATE TABLE `File` (`File` CHAR(72) NOT NULL, `Component_` CHAR(72) NOT NULL, `FileName` CHAR(72) NOT NULL, "
    "`FileSize` LONG NOT NULL, `Version` CHAR(72), `Language` CHAR(72), `Attributes` INTEGER, `Sequence` LONG NOT "
    "NULL PRIMARY KEY `File`)";
const char* const CreateMediaTable =
    "CREATE TABLE `Media` (`DiskId` INTEGER NOT NULL, `LastSequence` LONG NOT NULL, `DiskPrompt` CHAR(255), "
    "`Cabinet` CHAR(13), `VolumeLabel` CHAR(255), `Source` CHAR(72) PRIMARY KEY `DiskId`)";
const char* const CreateSelfRegTable =
    "CREATE TABLE `SelfReg` (`File_` CHAR(72) NOT NULL, `Cost` INTEGER PRIMARY KEY `File_`)";
const char* const CreateFontTable =
    "CREATE TABLE `Font` (`File_` CHAR(72) NOT NULL, `FontTitle` CHAR(72) PRIMARY KEY `File_`)";

// Version and Language hold the number 0, which a text column stores as null.
const char* const InsertFileRow =
    "INSERT INTO `File` (`File`, `Component_`, `FileName`, `FileSize`, `Version`, `Language`, `Attributes`, "
    "`Sequence`) VALUES (?,?,?,?,?,?,0,?)";
const char* const InsertSelfRegRow = "INSERT INTO `SelfReg` (`File_`) VALUES (?)";
const char* const InsertFontRow = "INSERT INTO `Font` (`File_`) VALUES (?)";
const char* const InsertMediaRow =
    "INSERT INTO `Media` (`DiskId`, `LastSequence`, `DiskPrompt`, `Cabinet`) VALUES (1,?,?,?)";

bool IsFontFile(const std::string& path) {
  std::string ext = LowerCase(ExtractFileExt(path));
  return ext == ".fon" || ext == ".ttf" || ext == ".otf";
}

// A name the short side of FileName may carry: 1 to 8 characters, an
// extension of at most 3, none of the characters 8.3 names exclude.
bool IsShortName(const std::string& name) {
  if (name.empty() || name.find_first_of(" +,;=[]\"*?<>|:/\\") != std::string::npos) return false;
  size_t dot = name.find('.');
  if (dot != name.rfind('.')) return false;
  std::string base = dot == std::string::npos ? name : name.substr(0, dot);
  std::string ext = dot == std::string::npos ? std::string() : name.substr(dot + 1);
  return !base.empty() && base.size() <= 8 && ext.size() <= 3;
}

// The file as found on disk: its long name, its 8.3 alternate name and size.
struct TFoundFile {
  std::string LongName;
  std::string ShortName;  // empty: the file system reports none
  uint32_t Size = 0;
};

TFoundFile FoundFile(const WIN32_FIND_DATAA& data) {
  return {data.cFileName, data.cAlternateFileName, data.nFileSizeLow};
}

TFoundFile LookUpFile(const std::string& path, const std::string& fileName) {
  WIN32_FIND_DATAA data{};
  HANDLE h = FindFirstFileA(path.c_str(), &data);
  if (h == INVALID_HANDLE_VALUE) return {fileName, "", 0};  // the cabinet step reports a missing file
  ::FindClose(h);
  return FoundFile(data);
}

// Looks the package's files up on disk. A folder that many files come from is
// listed once, its entries kept by name: a search for each file on its own
// costs the file system a pass over the folder, and the passes over a folder
// of tens of thousands of files add up to most of the step. A name the listing
// does not hold (a short name, a changed case outside ASCII, a wildcard) is
// searched for on its own, as are the files of folders few files come from.
class TFileLookUp {
 public:
  TFoundFile Find(const std::string& path, const std::string& fileName) {
    const std::string folder = ExtractFilePath(path);
    TFolder& entries = FFolders[folder];
    if (!entries.Listed && ++entries.Searches > ListAfter) List(folder, entries);
    const std::string name = ExtractFileName(path);
    if (entries.Listed && name.find_first_of("*?") == std::string::npos) {
      auto found = entries.ByName.find(name);
      if (found == entries.ByName.end()) found = entries.ByName.find(UpperCase(name));
      if (found != entries.ByName.end()) return found->second;
    }
    return LookUpFile(path, fileName);
  }

 private:
  static constexpr int ListAfter = 16;  // searches of a folder before it is listed
  struct TFolder {
    bool Listed = false;
    int Searches = 0;
    std::map<std::string, TFoundFile> ByName;  // exact names and their ASCII upper case
  };
  static void List(const std::string& folder, TFolder& entries) {
    entries.Listed = true;
    WIN32_FIND_DATAA data{};
    HANDLE h = FindFirstFileA((folder + "*").c_str(), &data);
    if (h == INVALID_HANDLE_VALUE) return;
    do {
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
      TFoundFile found = FoundFile(data);
      entries.ByName.emplace(UpperCase(found.LongName), found);
      entries.ByName.insert_or_assign(found.LongName, found);
    } while (FindNextFileA(h, &data));
    ::FindClose(h);
  }
  std::map<std::string, TFolder> FFolders;
};

// Writes the File rows with their numbers and sequences.
class TFileWriter {
 public:
  explicit TFileWriter(TBuild& build) : FBuild(build) {}

  // Writes the File row of a package file through the prepared File insert
  // (PrepareRows); answers its file key.
  std::string AddFile(const TPackageFile& file) {
    const std::string key = file.FileKey(FBuild.FKeySuffix);
    TFoundFile found = FLookUp.Find(file.Source, file.Name);
    const std::string fileNameColumn = ShortNameFor(found, file.DirectoryKey) + "|" + found.LongName;
    FBuild.RunPrepared({key, file.ComponentKey(FBuild.FKeySuffix), fileNameColumn, static_cast<int>(found.Size),
                        nullptr, nullptr, FSequence});
    FLastSequence = FSequence;
    FSequence += 10;
    return key;
  }
  int LastSequence() const { return FLastSequence; }

 private:
  // The alternate name the file system reports; when it reports none for a
  // name that is no 8.3 name, one made here (unique in its directory), since
  // the installer needs a valid short name.
  std::string ShortNameFor(const TFoundFile& found, const std::string& directoryKey) {
    std::set<std::string>& taken = FShortNames[directoryKey];
    std::string name = found.ShortName.empty() ? found.LongName : found.ShortName;
    if (!IsShortName(name)) name = MakeShortName(found.LongName, taken);
    taken.insert(UpperCase(name));
    return name;
  }
  static std::string MakeShortName(const std::string& longName, const std::set<std::string>& taken) {
    auto keep = [](const std::string& s, size_t most) {
      std::string out;
      for (char c : s)
        if (out.size() < most && c != '.' && std::string(" +,;=[]\"*?<>|:/\\").find(c) == std::string::npos)
          out += static_cast<char>(toupper(static_cast<unsigned char>(c)));
      return out;
    };
    size_t dot = longName.rfind('.');
    std::string base = keep(dot == std::string::npos ? longName : longName.substr(0, dot), 6);
    std::string ext = dot == std::string::npos ? std::string() : keep(longName.substr(dot + 1), 3);
    if (base.empty()) base = "FILE";
    for (int i = 1;; ++i) {
      std::string tail = "~" + IntToStr(i);
      std::string candidate = base.substr(0, 8 - tail.size()) + tail + (ext.empty() ? "" : "." + ext);
      if (!taken.count(candidate)) return candidate;
    }
  }

  TBuild& FBuild;
  TFileLookUp FLookUp;
  int FSequence = 10;
  int FLastSequence = 0;
  std::map<std::string, std::set<std::string>> FShortNames;  // per directory key, upper case
};

// Sets each file's component's key path to the file, through one view over
// the Component table, after the File rows are written (see the Component step).
void SetComponentKeyPaths(TBuild& build, const std::map<std::string, std::string>& keyPaths) {
  build.OpenView("SELECT `Component`, `KeyPath` FROM `Component`");
  while (build.Fetch()) {
    auto found = keyPaths.find(build.FieldString(1));
    if (found == keyPaths.end()) continue;
    build.SetFieldString(2, found->second);
    build.Modify(mmUpdate);
  }
  build.CloseView();
}

}  // namespace

void WriteFileTables(TBuild& build) {
  const TBuildProject& project = ProjectOf(build);
  for (const char* table : {"File", "Media", "SelfReg", "Font"}) build.DropTable(table);
  for (const char* create : {CreateFileTable, CreateMediaTable, CreateSelfRegTable, CreateFontTable})
    build.RunStatement(create);

  TFileWriter writer(build);
  // The SelfReg and Font rows wait until the File rows are written: inserts
  // that alternate between tables cost the installer time that grows with the
  // square of the rows. Written in the order they came.
  std::vector<std::pair<const char*, std::string>> marks;  // statement, file key
  std::map<std::string, std::string> keyPaths;             // component key, file key
  const TBuildChoice* drained = nullptr;
  build.PrepareRows(InsertFileRow, 7);
  for (const TPackageFile& file : PackageFiles(project, build.FFtpDataWritten)) {
    if (file.Group == pgChoiceFile && file.Choice != drained) {
      DrainMessages();
      drained = file.Choice;
    }
    if (file.Group == pgUninstaller && !CopyFile(project.AppDir + "Uninstall.exe", file.Source, false))
      throw EFCreateError(Format("Cannot copy %s to %s: %s", {project.AppDir + "Uninstall.exe", file.Source,
                                                               SysErrorMessage(GetLastOSError())}));
    const std::string key = writer.AddFile(file);
    keyPaths.emplace(file.ComponentKey(build.FKeySuffix), key);
    if (file.Group == pgChoiceFile) {
      if (file.Marked) marks.emplace_back(IsFontFile(file.Source) ? InsertFontRow : InsertSelfRegRow, key);
      const std::string lower = LowerCase(file.Name);
      if (lower == "license.txt")
        build.FResults.FoundLicenseFile = file.Source;
      else if (lower == "readme.txt")
        build.FResults.FoundReadmeFile = file.Source;
    } else if (file.Name == SelfRegisteringUpdateFile) {
      marks.emplace_back(InsertSelfRegRow, key);
    }
  }
  build.CloseView();
  for (const auto& [statement, key] : marks) build.RunStatement(statement, {key});
  SetComponentKeyPaths(build, keyPaths);

  build.RunStatement(InsertMediaRow, {writer.LastSequence(), nullptr, "#" + build.FCabinetName});
  build.Commit();
}

}  // namespace tq
