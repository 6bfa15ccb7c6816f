#pragma once
// The package builder object: it carries the open installer database between the
// build steps and runs their SQL statements, stream rows and commits.
//
// Values never go into statement text: a statement marks each value with "?" and
// the values travel in a parameter record, so a product name, path or licence
// holding a single quote is stored as typed. Table and column texts stay in the
// statement.
//
//   RunStatement("UPDATE Property SET Value=? WHERE Property='ProductName'", {name});
//   RecreateTable("Directory", "CREATE TABLE `Directory` (...)");
//   ReplaceStream("Binary", "bannrbmp", workFile);
//   Commit();
//
// Windows Installer stores an empty string as NULL, and a number (literal or
// integer parameter) in a text column as NULL too, refusing it in a NOT NULL text
// column. Where a table's row puts a bare number into a text column (Version 0,
// DiskPrompt 0), pass nullptr: the package holds the same NULL.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Classes.h"
#include "MsiHandle.h"
#include "SysUtils.h"

namespace tq {

struct TBuildProject;

// The results the steps of one build hand on to later steps and to the
// distribution.
struct TBuildResults {
  // 1 until a visible choice becomes a feature: the custom install type then
  // has nothing to offer.
  int DisableCustomFlag = 1;
  // The source paths of the last choice files named "license.txt" and
  // "readme.txt" (empty: none).
  std::string FoundLicenseFile;
  std::string FoundReadmeFile;
};

// Invalid project data; the message names the Info page or the entry at fault.
TQ_EXCEPTION_CLASS(EBuildException, Exception);

// A failed installer call: "Installer error <code> in: <statement or operation>".
class EInstallerError : public Exception {
 public:
  EInstallerError(unsigned errorCode, const std::string& operation);
  unsigned ErrorCode = 0;
  std::string Operation;  // the statement, or the operation and its file
};

// One value of a statement's parameter record: NULL, an integer or a string.
class TSqlValue {
 public:
  enum TKind { svNull, svInteger, svString };
  TSqlValue(std::nullptr_t) {}
  TSqlValue(int value) : Kind(svInteger), Integer(value) {}
  TSqlValue(const std::string& value) : Kind(svString), String(value) {}
  TSqlValue(std::string_view value) : Kind(svString), String(value) {}
  TSqlValue(const char* value) : Kind(svString), String(value ? value : "") {}
  TKind Kind = svNull;
  int Integer = 0;
  std::string String;
};
using TSqlValues = std::vector<TSqlValue>;

// How the current view changes its current record.
enum TModifyMode { mmInsert = MSIMODIFY_INSERT, mmUpdate = MSIMODIFY_UPDATE, mmDelete = MSIMODIFY_DELETE };

class TBuild {
 public:
  TBuild() = default;
  TBuild(const TBuild&) = delete;
  TBuild& operator=(const TBuild&) = delete;
  ~TBuild();

  // ---- the installer and the open database ----
  // Sets up the installer service with no user interface of its own.
  void CreateInstaller();
  // Opens the package in transacted mode: nothing persists before Commit.
  void OpenDatabase(const std::string& path);
  // Opens the package in direct mode: streams go into the file as they are
  // stored, tables at Commit. For a work copy that replaces the package once
  // complete (a large stream is written once, not once more at Commit).
  void OpenDatabaseDirect(const std::string& path);

  // ---- statements ----
  // Opens a view on the statement, executes it with the values as parameter
  // record (none when empty) and closes it.
  void RunStatement(const std::string& sql, const TSqlValues& values = {});
  // "DROP TABLE " + table; a failure (the table may be missing) is ignored.
  void DropTable(const std::string& table);
  // DropTable, then the table's CREATE TABLE statement, which must succeed.
  void RecreateTable(const std::string& table, const std::string& createStatement);
  // Many rows through one statement (an INSERT with one "?" per value): the
  // statement is read once and its view executed once per row, with one
  // parameter record refilled for each row. PrepareRows replaces the current
  // view; RunPrepared runs the prepared view with the row's values (as many as
  // the statement's markers); CloseView ends it.
  void PrepareRows(const std::string& sql, unsigned valueCount);
  void RunPrepared(const TSqlValues& values);

  // ---- views over rows ----
  // Opens and executes a view, replacing (and releasing) the previous one.
  void OpenView(const std::string& sql, const TSqlValues& values = {});
  // The next record of the view into the current record; false after the last.
  bool Fetch();
  std::string FieldString(unsigned field) const;
  int FieldInteger(unsigned field) const;  // MSI_NULL_INTEGER for NULL
  void SetFieldString(unsigned field, const std::string& value);
  void SetFieldInteger(unsigned field, int value);
  // Writes the current record back through the view.
  void Modify(TModifyMode mode);
  void CloseView();
  // Field 1 of the first row the query returns; none when it returns no row.
  std::optional<std::string> FirstField(const std::string& sql, const TSqlValues& values = {});

  // ---- stream rows ----
  // Inserts the row (name, the file's bytes) through the view on viewStatement
  // ("Select * From Binary", "SELECT * FROM _Streams"); no row of that name may
  // exist. To put a new file under a name already stored, use ReplaceStream.
  void InsertStream(const std::string& viewStatement, const std::string& name,
                    const std::string& filePath);
  // Stores the file as the stream row `name` of the table ("Binary", keyed by
  // Name, or "_Streams" for the package's own streams such as the cabinet),
  // replacing a row of that name. The installer keeps a stream under its name
  // after its row is deleted (and a re-inserted row would get the old bytes), so
  // this deletes the row with SQL, for a table other than _Streams also the
  // table's stream "<table>.<name>" in _Streams, commits, reopens the package
  // and inserts the row.
  // Once per name and session: replacing a stream inserted in the same session
  // makes the commit fail.
  void ReplaceStream(const std::string& table, const std::string& name,
                     const std::string& filePath);

  // ---- summary information ----
  void OpenSummaryInformation(unsigned maxUpdatedProperties);
  void SetSummaryProperty(unsigned id, int value);
  void SetSummaryProperty(unsigned id, const std::string& value);
  void PersistSummaryInformation();

  // ---- commit ----
  void Commit();
  // The last table step: Commit, then the installer is released.
  void CommitDatabase();

  // The project being built (BuildProject.h): read once from the main window
  // when the build starts; the steps read nothing else of the project.
  std::shared_ptr<const TBuildProject> FProject;
  // What the steps hand on to later steps and to the distribution.
  TBuildResults FResults;

  // Builder state shared by the steps.
  bool FInstaller = false;  // the installer service has been set up
  TMsiHandle FView;
  TMsiHandle FDatabase;
  std::string FDatabasePath;  // the package OpenDatabase opened
  std::string FCabinetName;
  std::string FKeySuffix;
  std::string FModuleId;
  int32_t FCompression = 0;
  TStringList FTempCabFiles;  // files that merge modules left in the work folder
  int32_t FUninstallChoice = 0;
  bool FFtpDataWritten = false;

 private:
  void CheckDatabase(const std::string& operation) const;
  void OpenDatabaseIn(const std::string& path, const wchar_t* mode);
  TMsiHandle FRecord;       // the view's current record
  std::string FPreparedSql;  // the statement PrepareRows prepared
  TMsiHandle FSummaryInfo;  // open between OpenSummaryInformation and its Persist
};

}  // namespace tq
