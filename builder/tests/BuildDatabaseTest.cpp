// The builder's installer database access, run against small databases that the
// tests create themselves.
#include "MsiTestRows.h"
#include "build.h"

#include <msidefs.h>
#include <wtypes.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <stdexcept>

using namespace tq;

namespace {

std::string TestDir() {
  std::string dir = std::string(TQ_BINARY_DIR) + "\\builddb-tests";
  CreateDirectoryA(dir.c_str(), nullptr);
  return dir + "\\";
}

void Raw(MSIHANDLE db, const wchar_t* sql) {
  TMsiHandle view;
  ASSERT_EQ(MsiDatabaseOpenViewW(db, sql, view.Receive()), 0u) << "open " << sql;
  ASSERT_EQ(MsiViewExecute(view.Get(), 0), 0u);
  MsiViewClose(view.Get());
}

// A fresh database with a Property table holding ProductName and a Binary table.
std::string MakeDatabase(const std::string& name) {
  std::string path = TestDir() + name + ".msi";
  DeleteFileA(path.c_str());
  TMsiHandle db;
  EXPECT_EQ(MsiOpenDatabaseA(path.c_str(), MSIDBOPEN_CREATE, db.Receive()), 0u);
  Raw(db.Get(), L"CREATE TABLE `Property` (`Property` CHAR(72) NOT NULL, `Value` CHAR(0) NOT NULL "
                L"LOCALIZABLE PRIMARY KEY `Property`)");
  Raw(db.Get(), L"INSERT INTO `Property` (`Property`, `Value`) VALUES ('ProductName', 'Template')");
  Raw(db.Get(), L"CREATE TABLE `Binary` (`Name` CHAR(72) NOT NULL, `Data` OBJECT NOT NULL "
                L"PRIMARY KEY `Name`)");
  EXPECT_EQ(MsiDatabaseCommit(db.Get()), 0u);
  return path;
}

std::string WriteFile(const std::string& name, const std::string& bytes) {
  std::string path = TestDir() + name;
  std::ofstream(path, std::ios::binary) << bytes;
  return path;
}

std::vector<std::string> Rows(const std::string& dbPath, const std::string& sql) {
  return tq::testing::PackageRows(dbPath, sql);
}

// The bytes of the stream in field 2 of the first row of the query.
std::string StreamBytes(const std::string& dbPath, const std::string& sql) {
  TMsiHandle db, view, rec;
  if (MsiOpenDatabaseA(dbPath.c_str(), MSIDBOPEN_READONLY, db.Receive()) != 0) return "<no db>";
  if (MsiDatabaseOpenViewA(db.Get(), sql.c_str(), view.Receive()) != 0) return "<no view>";
  MsiViewExecute(view.Get(), 0);
  if (MsiViewFetch(view.Get(), rec.Receive()) != 0) return "<no row>";
  std::string bytes;
  char buf[4096];
  for (;;) {
    DWORD size = sizeof buf;
    if (MsiRecordReadStream(rec.Get(), 2, buf, &size) != 0 || size == 0) break;
    bytes.append(buf, size);
  }
  MsiViewClose(view.Get());
  return bytes;
}

// Each case works on its own database through a builder; afterwards no installer
// handle may remain open (MsiCloseAllHandles answers how many it had to close).
class BuildDatabase : public ::testing::Test {
 protected:
  void SetUp() override {
    MsiCloseAllHandles();
    Path = MakeDatabase(::testing::UnitTest::GetInstance()->current_test_info()->name());
    Build = std::make_unique<TBuild>();
    Build->CreateInstaller();
    Build->OpenDatabase(Path);
  }
  void TearDown() override {
    Build.reset();
    EXPECT_EQ(MsiCloseAllHandles(), 0u) << "installer handles left open";
  }
  void Reopen() {
    Build = std::make_unique<TBuild>();
    Build->OpenDatabase(Path);
  }
  std::string Path;
  std::unique_ptr<TBuild> Build;
};

TEST_F(BuildDatabase, ValuesWithQuotesTravelAsParameters) {
  struct Case {
    const char* value;
  } cases[] = {{"O'Brien's Tool"}, {"'"}, {"a''b"}, {"C:\\Program Files\\It's\\app.exe"},
               {"\"quoted\" and 'single' ? marks"}};
  for (const Case& c : cases) {
    Build->RunStatement("UPDATE Property SET Value=? WHERE Property='ProductName'", {c.value});
    EXPECT_EQ(Build->FirstField("SELECT Value FROM Property WHERE Property=?", {"ProductName"}),
              std::string(c.value));
  }
  Build->RunStatement(
      "INSERT INTO Property (Property, Value) VALUES (?, ?)", {"Licence", "Don't copy 'this'"});
  Build->Commit();
  Build.reset();
  EXPECT_EQ(Rows(Path, "SELECT Property, Value FROM Property "),
            (std::vector<std::string>{"Licence|Don't copy 'this'",
                                      "ProductName|\"quoted\" and 'single' ? marks"}));
}

TEST_F(BuildDatabase, IntegerStringAndNullParameters) {
  Build->RecreateTable("Media",
                       "CREATE TABLE `Media` (`DiskId` INTEGER NOT NULL, `LastSequence` INTEGER "
                       "NOT NULL, `DiskPrompt` CHAR(255), `Cabinet` CHAR(13), `VolumeLabel` "
                       "CHAR(255), `Source` CHAR(72) PRIMARY KEY `DiskId`)");
  Build->RunStatement(
      "INSERT INTO `Media` (`DiskId`, `LastSequence`, `DiskPrompt`, `Cabinet`) VALUES (?,?,?,?)",
      {1, 70, nullptr, "#primary.cab"});
  Build->RunStatement("INSERT INTO `Media` (`DiskId`, `LastSequence`, `Cabinet`) VALUES (?,?,?)",
                      {2, -5, ""});
  // A number in a text column is stored as NULL, as the bare literal 0 is.
  Build->RunStatement("INSERT INTO `Media` (`DiskId`, `LastSequence`, `DiskPrompt`) VALUES (?,?,?)",
                      {3, 0, 0});
  Build->RunStatement("INSERT INTO `Media` (`DiskId`, `LastSequence`, `DiskPrompt`) VALUES (4,0,0)");
  Build->Commit();
  Build.reset();
  EXPECT_EQ(Rows(Path, "SELECT * FROM Media "),
            (std::vector<std::string>{"1|70|~|#primary.cab|~|~", "2|-5|~|~|~|~", "3|0|~|~|~|~",
                                      "4|0|~|~|~|~"}));
}

// One prepared statement for many rows: each row is its own values alone (a
// NULL after a value stays NULL), and a row of the wrong size, or one without
// a prepared statement, is refused.
TEST_F(BuildDatabase, PreparedRowsCarryOnlyTheirOwnValues) {
  Build->RecreateTable("Rows",
                       "CREATE TABLE `Rows` (`Key` INTEGER NOT NULL, `Count` INTEGER, `Text` CHAR(20) "
                       "PRIMARY KEY `Key`)");
  Build->PrepareRows("INSERT INTO `Rows` (`Key`, `Count`, `Text`) VALUES (?,?,?)", 3);
  Build->RunPrepared({1, 5, "one"});
  Build->RunPrepared({2, nullptr, nullptr});
  Build->RunPrepared({3, 7, "three"});
  Build->RunPrepared({4, "8", nullptr});
  EXPECT_THROW(Build->RunPrepared({5, 9}), EInstallerError);
  Build->CloseView();
  EXPECT_THROW(Build->RunPrepared({6, 1, "six"}), EInstallerError);
  Build->Commit();
  Build.reset();
  EXPECT_EQ(Rows(Path, "SELECT * FROM Rows "),
            (std::vector<std::string>{"1|5|one", "2|~|~", "3|7|three", "4|8|~"}));
}

TEST_F(BuildDatabase, FailedStatementRaisesTheInstallerErrorText) {
  const std::string spliced = "UPDATE Property SET Value='O'Brien' WHERE Property='ProductName'";
  try {
    Build->RunStatement(spliced);
    FAIL() << "a spliced quote must fail";
  } catch (const EInstallerError& e) {
    EXPECT_NE(e.ErrorCode, 0u);
    EXPECT_EQ(e.Operation, spliced);
    EXPECT_EQ(std::string(e.what()), "Installer error " + std::to_string(e.ErrorCode) + " in: " + spliced);
  }
  // A value that does not fit its column, and a missing table.
  EXPECT_THROW(Build->RunStatement("INSERT INTO Property (Property, Value) VALUES (?, ?)",
                                   {"NoValue", nullptr}),
               EInstallerError);
  EXPECT_THROW(Build->RunStatement("SELECT * FROM Nowhere"), EInstallerError);
  // The view was released: the builder goes on with the next statement.
  Build->RunStatement("UPDATE Property SET Value=? WHERE Property='ProductName'", {"Next"});
  EXPECT_EQ(Build->FirstField("SELECT Value FROM Property"), std::string("Next"));
}

TEST_F(BuildDatabase, EveryFailureIsCaughtByTheCommonBase) {
  // The build's handler catches tq::Exception; both builder failures derive from it,
  // and tq::Exception itself from std::exception with the others of the library.
  auto message = [](auto raise) -> std::string {
    try {
      raise();
    } catch (const Exception& e) {
      return "tq:" + e.Message;
    } catch (const std::exception& e) {
      return std::string("std:") + e.what();
    }
    return "none";
  };
  EXPECT_EQ(message([] { throw EBuildException("There are missing fields on the Information page"); }),
            "tq:There are missing fields on the Information page");
  EXPECT_EQ(message([&] { Build->RunStatement("DROP TABLE Nowhere"); }).rfind("tq:Installer error ", 0),
            0u);
  EXPECT_EQ(message([] { throw std::runtime_error("x"); }), "std:x");
}

TEST_F(BuildDatabase, RecreatedTables) {
  // Missing from the database: the DROP fails silently, the table is created.
  Build->RecreateTable("Directory",
                       "CREATE TABLE `Directory` (`Directory` CHAR(72) NOT NULL, "
                       "`Directory_Parent` CHAR(72), `DefaultDir` CHAR(255) NOT NULL "
                       "LOCALIZABLE PRIMARY KEY `Directory`)");
  Build->RunStatement(
      "INSERT INTO `Directory` (`Directory`.`Directory`,`Directory`.`Directory_Parent`,"
      "`Directory`.`DefaultDir`) VALUES ('TARGETDIR','','SourceDir')");
  Build->RunStatement("INSERT INTO Directory (Directory, Directory_Parent, DefaultDir) VALUES (?,?,?)",
                      {"bin", "TARGETDIR", "bin"});
  Build->Commit();
  // Present with rows: re-created empty, with the new layout.
  Build->RecreateTable("Directory",
                       "CREATE TABLE `Directory` (`Directory` CHAR(72) NOT NULL, "
                       "`Directory_Parent` CHAR(72), `DefaultDir` CHAR(255) NOT NULL "
                       "LOCALIZABLE PRIMARY KEY `Directory`)");
  Build->RunStatement("INSERT INTO Directory (Directory, Directory_Parent, DefaultDir) VALUES (?,?,?)",
                      {"x86", "bin", "x86"});
  Build->Commit();
  Build.reset();
  EXPECT_EQ(Rows(Path, "SELECT * FROM Directory"), (std::vector<std::string>{"x86|bin|x86"}));
  // A bad CREATE is not guarded.
  Reopen();
  EXPECT_THROW(Build->RecreateTable("Broken", "CREATE TABLE `Broken` (`A` CHAR(72)"), EInstallerError);
}

TEST_F(BuildDatabase, StreamRowsInsertReplaceAndReadBack) {
  const std::string small("BM\0\1\2first", 10), large = std::string(70000, 'z') + "end";
  std::string first = WriteFile("banner-1.bin", small);
  std::string second = WriteFile("banner-2.bin", large);
  Build->InsertStream("Select * From Binary", "bannrbmp", first);
  Build->Commit();
  Build.reset();
  EXPECT_EQ(StreamBytes(Path, "SELECT * FROM Binary WHERE Name='bannrbmp'"), small);
  // A template's row replaced by a new file, in a later session.
  Reopen();
  Build->ReplaceStream("Binary", "bannrbmp", second);
  Build->Commit();
  Build.reset();
  std::string bytes = StreamBytes(Path, "SELECT * FROM Binary WHERE Name='bannrbmp'");
  EXPECT_EQ(bytes.size(), large.size());
  EXPECT_TRUE(bytes == large) << "the stream keeps other bytes";
  EXPECT_EQ(Rows(Path, "SELECT Name FROM Binary"), (std::vector<std::string>{"bannrbmp"}));
}

TEST_F(BuildDatabase, CabinetStreamReplacedInStreamsTable) {
  std::string oldCab = WriteFile("old.cab", "MSCF old cabinet");
  std::string newCab = WriteFile("new.cab", "MSCF the new cabinet, longer");
  // A package without the stream: stored as it is.
  Build->ReplaceStream("_Streams", "primary.cab", oldCab);
  Build->Commit();
  Build.reset();
  EXPECT_EQ(StreamBytes(Path, "SELECT * FROM _Streams WHERE Name='primary.cab'"), "MSCF old cabinet");
  // A package that a former build left with a cabinet.
  Reopen();
  Build->ReplaceStream("_Streams", "primary.cab", newCab);
  Build->Commit();
  Build.reset();
  EXPECT_EQ(StreamBytes(Path, "SELECT * FROM _Streams WHERE Name='primary.cab'"),
            "MSCF the new cabinet, longer");
  EXPECT_EQ(Rows(Path, "SELECT Name FROM _Streams WHERE Name='primary.cab'"),
            (std::vector<std::string>{"primary.cab"}));
}

TEST_F(BuildDatabase, StreamFromMissingFileNamesTheFile) {
  std::string missing = TestDir() + "no-such-file.bmp";
  try {
    Build->InsertStream("Select * From Binary", "dlgbmp", missing);
    FAIL();
  } catch (const EInstallerError& e) {
    EXPECT_EQ(e.Operation, "SetStream " + missing);
  }
  EXPECT_EQ(Build->FirstField("SELECT Name FROM Binary"), std::nullopt);
}

TEST_F(BuildDatabase, SummaryInformationPersistsWithTheCommit) {
  Build->OpenSummaryInformation(5);
  Build->SetSummaryProperty(PID_REVNUMBER, "{11111111-2222-3333-4444-555555555555}");
  Build->SetSummaryProperty(PID_TEMPLATE, ";1033");
  Build->SetSummaryProperty(PID_PAGECOUNT, 110);
  Build->SetSummaryProperty(PID_TITLE, "Installation Database");
  Build->SetSummaryProperty(PID_WORDCOUNT, 2);
  Build->PersistSummaryInformation();
  Build->Commit();
  Build.reset();

  TMsiHandle db, info;
  ASSERT_EQ(MsiOpenDatabaseA(Path.c_str(), MSIDBOPEN_READONLY, db.Receive()), 0u);
  ASSERT_EQ(MsiGetSummaryInformationA(db.Get(), nullptr, 0, info.Receive()), 0u);
  auto text = [&](UINT id) {
    UINT type = 0;
    INT value = 0;
    FILETIME ft;
    char buf[256] = {};
    DWORD size = sizeof buf;
    MsiSummaryInfoGetPropertyA(info.Get(), id, &type, &value, &ft, buf, &size);
    return type == VT_LPSTR ? std::string(buf) : std::to_string(value);
  };
  EXPECT_EQ(text(PID_REVNUMBER), "{11111111-2222-3333-4444-555555555555}");
  EXPECT_EQ(text(PID_TEMPLATE), ";1033");
  EXPECT_EQ(text(PID_PAGECOUNT), "110");
  EXPECT_EQ(text(PID_TITLE), "Installation Database");
  EXPECT_EQ(text(PID_WORDCOUNT), "2");
}

TEST_F(BuildDatabase, OnlyCommittedRowsPersist) {
  Build->RunStatement("INSERT INTO Property (Property, Value) VALUES (?, ?)", {"Kept", "1"});
  Build->Commit();
  Build->RunStatement("INSERT INTO Property (Property, Value) VALUES (?, ?)", {"Lost", "2"});
  Build.reset();  // a later step failed: no commit
  EXPECT_EQ(Rows(Path, "SELECT Property FROM Property "),
            (std::vector<std::string>{"Kept", "ProductName"}));
  // CommitDatabase commits too and lets the installer go.
  Reopen();
  Build->CreateInstaller();
  Build->RunStatement("INSERT INTO Property (Property, Value) VALUES (?, ?)", {"Last", "3"});
  Build->CommitDatabase();
  EXPECT_FALSE(Build->FInstaller);
  Build.reset();
  EXPECT_EQ(Rows(Path, "SELECT Property FROM Property "),
            (std::vector<std::string>{"Kept", "Last", "ProductName"}));
}

TEST_F(BuildDatabase, ViewsFetchAndModify) {
  Build->RunStatement("INSERT INTO Property (Property, Value) VALUES (?, ?)", {"A", "1"});
  Build->RunStatement("INSERT INTO Property (Property, Value) VALUES (?, ?)", {"B", "2"});
  // A second view replaces the first, which is released.
  Build->OpenView("SELECT Property FROM Property");
  Build->OpenView("SELECT Property, Value FROM Property WHERE Property=?", {"B"});
  ASSERT_TRUE(Build->Fetch());
  EXPECT_EQ(Build->FieldString(1), "B");
  EXPECT_EQ(Build->FieldInteger(2), 2);
  Build->SetFieldString(2, "it's 20");
  Build->Modify(mmUpdate);
  EXPECT_FALSE(Build->Fetch());
  Build->CloseView();
  EXPECT_EQ(Build->FirstField("SELECT Value FROM Property WHERE Property='B'"), std::string("it's 20"));
  int count = 0;
  Build->OpenView("SELECT Property FROM Property");
  while (Build->Fetch()) ++count;
  Build->CloseView();
  EXPECT_EQ(count, 3);
  EXPECT_THROW(Build->Fetch(), EInstallerError);
}

TEST(BuildHandles, AFailingBuildLeavesNoHandleOpen) {
  MsiCloseAllHandles();
  std::string path = MakeDatabase("handles");
  {
    TBuild build;
    build.OpenDatabase(path);
    build.OpenSummaryInformation(1);  // never persisted
    build.OpenView("SELECT * FROM Property");
    ASSERT_TRUE(build.Fetch());
    EXPECT_THROW(build.RunStatement("broken statement"), EInstallerError);
    EXPECT_THROW(build.OpenDatabase(path + ".missing"), EInstallerError);
  }
  EXPECT_EQ(MsiCloseAllHandles(), 0u);
}

// The database that msitools reads back (see tests/check-peer-msi.sh).
TEST(PeerDatabase, Write) {
  MsiCloseAllHandles();
  const char* target = std::getenv("TQ_PEER_MSI");
  std::string path = MakeDatabase(target ? "peer-fixture" : "peer-discovered");
  {
    TBuild former;  // a template's banner, which the build replaces
    former.OpenDatabase(path);
    former.InsertStream("Select * From Binary", "bannrbmp", WriteFile("peer-old.bin", "template banner"));
    former.Commit();
  }
  {
    TBuild build;
    build.CreateInstaller();
    build.OpenDatabase(path);
    build.OpenSummaryInformation(5);
    build.SetSummaryProperty(PID_REVNUMBER, "{AAAAAAAA-BBBB-CCCC-DDDD-EEEEEEEEEEEE}");
    build.SetSummaryProperty(PID_TEMPLATE, ";1033");
    build.SetSummaryProperty(PID_PAGECOUNT, 110);
    build.SetSummaryProperty(PID_TITLE, "Installation Database");
    build.SetSummaryProperty(PID_WORDCOUNT, 2);
    build.PersistSummaryInformation();
    build.RunStatement("UPDATE Property SET Value=? WHERE Property='ProductName'", {"O'Brien's Tool"});
    build.RecreateTable("Feature",
                        "CREATE TABLE `Feature` (`Feature` CHAR(32) NOT NULL, `Feature_Parent` "
                        "CHAR(32), `Title` CHAR(255) LOCALIZABLE, `Description` CHAR(255) "
                        "LOCALIZABLE, `Display` INTEGER, `Level` INTEGER NOT NULL, `Directory_` "
                        "CHAR(72), `Attributes` INTEGER NOT NULL PRIMARY KEY `Feature`)");
    build.RunStatement(
        "INSERT INTO `Feature` (`Feature`, `Feature_Parent`, `Title`, `Description`, `Display`, "
        "`Level`, `Directory_`, `Attributes`) VALUES (?,?,?,?,?,?,?,?)",
        {"Core_Program", "", "Core 'quoted'", "", 0, 3, "TARGETDIR", 0});
    build.ReplaceStream("Binary", "bannrbmp", WriteFile("peer.bin", "peer stream bytes\n"));
    build.ReplaceStream("_Streams", "primary.cab", WriteFile("peer.cab", "MSCF peer\n"));
    build.CommitDatabase();
  }
  EXPECT_EQ(MsiCloseAllHandles(), 0u);
  if (target) {
    DeleteFileA(target);
    ASSERT_TRUE(CopyFileA(path.c_str(), target, FALSE)) << target;
  }
}

}  // namespace
