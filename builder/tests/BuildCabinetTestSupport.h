#pragma once
// Shared pieces of the cabinet-phase tests: a scratch folder per test with the
// project's source files, a package made from the install template with the
// rows the table steps write (Directory, Feature, Component, FeatureComponents,
// File, Media), and readers of what the phase left in the package.
#include <windows.h>
#include <msi.h>
#include <msidefs.h>
#include <msiquery.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "BuildCabinet.h"
#include "Cabinet.h"
#include "CabinetTestSupport.h"
#include "build.h"

namespace tq::testing {

using testing::ReadAll;
using testing::WriteAll;

// One file of the prepared project.
struct TSourceFile {
  std::string Name;       // file name (last path element)
  std::string Directory;  // Directory key: "TARGETDIR" or "Data"
  std::string Feature;    // "Required" (level 3), "Typical" (4) or "Optional" (10)
  std::string Content;
};

inline std::string NewGuid() {
  GUID g;
  CoCreateGuid(&g);
  char text[64];
  snprintf(text, sizeof text, "{%08lX-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
           static_cast<unsigned long>(g.Data1), g.Data2, g.Data3, g.Data4[0], g.Data4[1], g.Data4[2],
           g.Data4[3], g.Data4[4], g.Data4[5], g.Data4[6], g.Data4[7]);
  return text;
}

// Text that compresses well, and bytes that do not.
inline std::string TextContent(size_t size, unsigned seed) {
  static const char* const words[] = {"cabinet ", "package ", "installer ", "stream ", "member ",
                                      "sequence ", "\r\n"};
  std::mt19937 rng(seed);
  std::string s;
  while (s.size() < size) s += words[rng() % 7];
  s.resize(size);
  return s;
}
inline std::string RandomContent(size_t size, unsigned seed) {
  std::mt19937 rng(seed);
  std::string s(size, '\0');
  for (char& c : s) c = static_cast<char>(rng());
  return s;
}

// The mixed set the package tests use: both directories, all three levels, an
// empty file, a name with a blank, a file larger than one cabinet folder.
inline std::vector<TSourceFile> StandardFiles() {
  return {
      {"readme.txt", "TARGETDIR", "Required", TextContent(5000, 1)},
      {"program.bin", "TARGETDIR", "Required", RandomContent(300000, 2)},
      {"big log.txt", "Data", "Typical", TextContent(1500000, 3)},
      {"empty.dat", "Data", "Typical", ""},
      {"notes.txt", "TARGETDIR", "Typical", TextContent(777, 4)},
      {"extra.txt", "Data", "Optional", TextContent(4000, 5)},
  };
}

// A scratch folder, the sources and the package prepared from the template.
class TPreparedProject {
 public:
  // dir: a fresh folder with a trailing "\".
  TPreparedProject(const std::string& dir, std::vector<TSourceFile> files, bool mergeModule = false)
      : Dir(dir), Files(std::move(files)), MergeModule(mergeModule) {}

  std::string Dir;
  std::vector<TSourceFile> Files;
  bool MergeModule;
  std::string Package;   // the package file
  std::string WorkDir;   // stands in for the temporary folder
  std::string AppDir;    // stands in for the program folder
  std::string ProductCode;

  std::string SourcePath(size_t i) const { return Dir + "src\\" + Files[i].Name; }
  std::string Suffix() const { return MergeModule ? ".11111111_2222_3333_4444_555555555555" : ""; }
  std::string FileKey(size_t i) const {
    return "FILE" + std::to_string(i + 1) + "S" + Files[i].Name + Suffix();
  }

  // Writes the sources and the package; the Media row's LastSequence is left
  // wrong (0) for the phase to fix.
  void Prepare(bool withMediaRow = true) {
    WorkDir = Dir + "work\\";
    AppDir = Dir + "app\\";
    for (const char* sub : {"", "src", "work", "work\\tempcab", "app"})
      CreateDirectoryA((Dir + sub).c_str(), nullptr);
    for (size_t i = 0; i < Files.size(); ++i) WriteAll(SourcePath(i), Files[i].Content);
    Package = Dir + (MergeModule ? "module.msm" : "package.msi");
    const std::string tpl = std::string(TQ_PROGRAM_DIR) + (MergeModule ? "\\templatemsm.tpl" : "\\template.tpl");
    ASSERT_TRUE(::CopyFileA(tpl.c_str(), Package.c_str(), FALSE)) << tpl;
    SetFileAttributesA(Package.c_str(), FILE_ATTRIBUTE_NORMAL);

    TBuild b;
    b.CreateInstaller();
    b.OpenDatabase(Package);
    ProductCode = NewGuid();
    if (!MergeModule) {
      b.RunStatement("UPDATE Property SET Value=? WHERE Property='ProductCode'", {ProductCode});
      b.RunStatement("UPDATE Property SET Value=? WHERE Property='ProductName'",
                     {"Tarnquill cabinet test"});
      b.OpenSummaryInformation(2);
      b.SetSummaryProperty(PID_REVNUMBER, NewGuid());
      b.PersistSummaryInformation();
    }
    b.RecreateTable("Directory",
                    "CREATE TABLE `Directory` (`Directory` CHAR(72) NOT NULL, `Directory_Parent` "
                    "CHAR(72), `DefaultDir` CHAR(255) NOT NULL LOCALIZABLE PRIMARY KEY `Directory`)");
    b.RunStatement("INSERT INTO `Directory` (`Directory`,`Directory_Parent`,`DefaultDir`) VALUES ('TARGETDIR','','SourceDir')");
    b.RunStatement("INSERT INTO `Directory` (`Directory`,`Directory_Parent`,`DefaultDir`) VALUES ('GROUP','TARGETDIR','.')");
    b.RunStatement("INSERT INTO `Directory` (`Directory`,`Directory_Parent`,`DefaultDir`) VALUES (?,'TARGETDIR','Data')",
                   {"Data" + Suffix()});
    b.RecreateTable("Feature",
                    "CREATE TABLE `Feature` (`Feature` CHAR(32) NOT NULL, `Feature_Parent` CHAR(32), "
                    "`Title` CHAR(255) LOCALIZABLE, `Description` CHAR(255) LOCALIZABLE, `Display` "
                    "INTEGER, `Level` INTEGER NOT NULL, `Directory_` CHAR(72), `Attributes` INTEGER "
                    "NOT NULL PRIMARY KEY `Feature`)");
    const std::pair<const char*, int> features[] = {{"Required", 3}, {"Typical", 4}, {"Optional", 10}};
    int display = 1;
    for (const auto& [name, level] : features)
      b.RunStatement("INSERT INTO `Feature` (`Feature`,`Feature_Parent`,`Title`,`Description`,`Display`,`Level`,`Directory_`,`Attributes`) VALUES (?,'',?,'',?,?,'TARGETDIR',0)",
                     {name, name, display++, level});
    b.RecreateTable("Component",
                    "CREATE TABLE `Component` (`Component` CHAR(72) NOT NULL, `ComponentId` CHAR(38), "
                    "`Directory_` CHAR(72) NOT NULL, `Attributes` INTEGER NOT NULL, `Condition` "
                    "CHAR(255), `KeyPath` CHAR(72) PRIMARY KEY `Component`)");
    b.RecreateTable("FeatureComponents",
                    "CREATE TABLE `FeatureComponents` (`Feature_` CHAR(32) NOT NULL, `Component_` "
                    "CHAR(72) NOT NULL PRIMARY KEY `Feature_`,`Component_`)");
    b.RecreateTable("File",
                    "CREATE TABLE `File` (`File` CHAR(72) NOT NULL, `Component_` CHAR(72) NOT NULL, "
                    "`FileName` CHAR(72) NOT NULL, `FileSize` LONG NOT NULL, `Version` CHAR(72), "
                    "`Language` CHAR(72), `Attributes` INTEGER, `Sequence` INTEGER NOT NULL PRIMARY "
                    "KEY `File`)");
    b.RecreateTable("Media",
                    "CREATE TABLE `Media` (`DiskId` INTEGER NOT NULL, `LastSequence` INTEGER NOT NULL, "
                    "`DiskPrompt` CHAR(255), `Cabinet` CHAR(13), `VolumeLabel` CHAR(255), `Source` "
                    "CHAR(72) PRIMARY KEY `DiskId`)");
    for (size_t i = 0; i < Files.size(); ++i) {
      const TSourceFile& f = Files[i];
      const std::string n = std::to_string(i + 1);
      const std::string comp = "COMP" + n + "S" + f.Name + Suffix();
      const std::string dir = f.Directory == "TARGETDIR" ? f.Directory : f.Directory + Suffix();
      b.RunStatement("INSERT INTO `Component` (`Component`,`ComponentId`,`Directory_`,`Attributes`,`Condition`,`KeyPath`) VALUES (?,?,?,0,'',?)",
                     {comp, NewGuid(), dir, FileKey(i)});
      b.RunStatement("INSERT INTO `FeatureComponents` (`Feature_`,`Component_`) VALUES (?,?)",
                     {f.Feature, comp});
      b.RunStatement("INSERT INTO `File` (`File`,`Component_`,`FileName`,`FileSize`,`Version`,`Language`,`Attributes`,`Sequence`) VALUES (?,?,?,?,NULL,NULL,0,?)",
                     {FileKey(i), comp, f.Name + "|" + f.Name, static_cast<int>(f.Content.size()),
                      10 * static_cast<int>(i + 1)});
    }
    if (withMediaRow)
      b.RunStatement("INSERT INTO `Media` (`DiskId`,`LastSequence`,`DiskPrompt`,`Cabinet`) VALUES (1,0,NULL,?)",
                     {"#" + std::string(MergeModule ? ModuleCabinetName : PackageCabinetName)});
    b.Commit();
  }

  // The job the phase gets for this project (no merges, no update copy).
  TCabinetJob Job() const {
    TCabinetJob job;
    job.PackageFile = Package;
    job.WorkDir = WorkDir;
    job.MergeModule = MergeModule;
    job.KeySuffix = Suffix();
    for (size_t i = 0; i < Files.size(); ++i) job.ProjectFiles.push_back({SourcePath(i), FileKey(i)});
    job.AppDir = AppDir;
    job.ProductName = "Tarnquill cabinet test";
    job.VersionFolder = "1.2";
    return job;
  }
};

// A cabinet writer and reader with their file handlers, as the main window has them.
struct TCabinetTools {
  TStreamCabinetFileHandler WriterFiles{nullptr}, ReaderFiles{nullptr};
  TCabinetWriter Writer{nullptr};
  TCabinetReader Reader{nullptr};
  TCabinetTools() {
    Writer.SetFileHandler(&WriterFiles);
    Reader.SetFileHandler(&ReaderFiles);
  }
};

// ---- reading the package ----

inline std::vector<std::vector<std::string>> Rows(const std::string& package, const std::string& sql,
                                                  unsigned fields) {
  std::vector<std::vector<std::string>> rows;
  TMsiHandle db, view, rec;
  if (MsiOpenDatabaseA(package.c_str(), MSIDBOPEN_READONLY, db.Receive()) != 0) return {{"<no db>"}};
  if (MsiDatabaseOpenViewA(db.Get(), sql.c_str(), view.Receive()) != 0) return {{"<no view>"}};
  MsiViewExecute(view.Get(), 0);
  while (MsiViewFetch(view.Get(), rec.Receive()) == 0) {
    std::vector<std::string> row;
    for (unsigned f = 1; f <= fields; ++f) {
      char buffer[1024];
      DWORD size = sizeof buffer;
      if (MsiRecordIsNull(rec.Get(), f))
        row.push_back("~");
      else if (MsiRecordGetStringA(rec.Get(), f, buffer, &size) == 0)
        row.push_back(std::string(buffer, size));
      else
        row.push_back("<?>");
    }
    rows.push_back(row);
  }
  return rows;
}

inline bool HasTable(const std::string& package, const std::string& table) {
  TMsiHandle db;
  if (MsiOpenDatabaseA(package.c_str(), MSIDBOPEN_READONLY, db.Receive()) != 0) return false;
  return MsiDatabaseIsTablePersistentA(db.Get(), table.c_str()) == MSICONDITION_TRUE;
}

// The bytes of a stream of the package; nullopt-like "<no stream>" when missing.
inline std::string StreamBytes(const std::string& package, const std::string& name) {
  TMsiHandle db, view, params, rec;
  if (MsiOpenDatabaseA(package.c_str(), MSIDBOPEN_READONLY, db.Receive()) != 0) return "<no db>";
  if (MsiDatabaseOpenViewA(db.Get(), "SELECT `Data` FROM `_Streams` WHERE `Name`=?", view.Receive()) != 0)
    return "<no view>";
  params.Reset(MsiCreateRecord(1));
  MsiRecordSetStringA(params.Get(), 1, name.c_str());
  MsiViewExecute(view.Get(), params.Get());
  if (MsiViewFetch(view.Get(), rec.Receive()) != 0) return "<no stream>";
  std::string data;
  char buffer[65536];
  for (;;) {
    DWORD size = sizeof buffer;
    if (MsiRecordReadStream(rec.Get(), 1, buffer, &size) != 0 || size == 0) break;
    data.append(buffer, size);
  }
  return data;
}

// Member names of a cabinet file, in cabinet order.
inline std::vector<std::string> CabinetMembers(TCabinetReader& reader, const std::string& cabinet) {
  std::vector<std::string> names;
  reader.OnCopyFile = [&](TObject*, const std::string& name, int, uint16_t, uint16_t, uint16_t,
                          TFileCopyAction& action, THandle&) {
    names.push_back(name);
    action = fcaSkip;
  };
  reader.ExtractFiles(cabinet, "");
  reader.OnCopyFile = nullptr;
  return names;
}

inline int FileCountIn(const std::string& dir) {
  int count = 0;
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((dir + "*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return 0;
  do {
    if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++count;
  } while (FindNextFileA(h, &fd));
  FindClose(h);
  return count;
}

// A fresh, empty folder for one test case in the build tree (where it stays
// for a look afterwards), with a trailing "\".
inline std::string BuildTreeFolder(const std::string& group) {
  const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string root = std::string(TQ_BINARY_DIR) + "\\" + group;
  CreateDirectoryA(root.c_str(), nullptr);
  std::string name = std::string(info->test_suite_name()) + "." + info->name();
  for (char& c : name)
    if (c == '/') c = '_';
  std::string dir = root + "\\" + name + "." + std::to_string(GetCurrentProcessId()) + "." +
                    std::to_string(GetTickCount());
  CreateDirectoryA(dir.c_str(), nullptr);
  return dir + "\\";
}

}  // namespace tq::testing
