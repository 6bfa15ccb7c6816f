// The builder's access to the installer database: statements with parameter
// records, re-created tables, views, stream rows, summary information, commits.
#include "build.h"

#include <msidefs.h>
#include <wtypes.h>

namespace tq {

namespace {

std::wstring Wide(const std::string& s) {
  if (s.empty()) return {};
  int n = MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
  std::wstring w(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), w.data(), n);
  return w;
}

std::string Narrow(const std::wstring& w) {
  if (w.empty()) return {};
  int n = WideCharToMultiByte(CP_ACP, 0, w.data(), static_cast<int>(w.size()), nullptr, 0,
                              nullptr, nullptr);
  std::string s(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr,
                      nullptr);
  return s;
}

void Check(UINT result, const std::string& operation) {
  if (result != ERROR_SUCCESS) throw EInstallerError(result, operation);
}

// Fills field n of a record whose fields are all NULL with value n.
void SetFields(MSIHANDLE record, const TSqlValues& values, const std::string& sql) {
  UINT field = 1;
  for (const TSqlValue& v : values) {
    switch (v.Kind) {
      case TSqlValue::svNull:
        break;  // the field stays NULL
      case TSqlValue::svInteger:
        Check(MsiRecordSetInteger(record, field, v.Integer), sql);
        break;
      case TSqlValue::svString:
        Check(MsiRecordSetStringW(record, field, Wide(v.String).c_str()), sql);
        break;
    }
    ++field;
  }
}

// A record of the values, field n holding value n; no record for no values.
TMsiHandle ParameterRecord(const TSqlValues& values, const std::string& sql) {
  if (values.empty()) return {};
  TMsiHandle record(MsiCreateRecord(static_cast<UINT>(values.size())));
  if (!record) throw EInstallerError(ERROR_OUTOFMEMORY, sql);
  SetFields(record.Get(), values, sql);
  return record;
}

}  // namespace

EInstallerError::EInstallerError(unsigned errorCode, const std::string& operation)
    : Exception("Installer error " + std::to_string(errorCode) + " in: " + operation),
      ErrorCode(errorCode),
      Operation(operation) {}

TBuild::~TBuild() {
  FRecord.Close();
  FView.Close();
  FSummaryInfo.Close();
  FDatabase.Close();
}

void TBuild::CreateInstaller() {
  MsiSetInternalUI(INSTALLUILEVEL_NONE, nullptr);
  FInstaller = true;
}

void TBuild::OpenDatabaseIn(const std::string& path, const wchar_t* mode) {
  FRecord.Close();
  FView.Close();
  FSummaryInfo.Close();
  Check(MsiOpenDatabaseW(Wide(path).c_str(), mode, FDatabase.Receive()), "OpenDatabase " + path);
  FDatabasePath = path;
}

void TBuild::OpenDatabase(const std::string& path) {
  OpenDatabaseIn(path, reinterpret_cast<LPCWSTR>(MSIDBOPEN_TRANSACT));
}

void TBuild::OpenDatabaseDirect(const std::string& path) {
  OpenDatabaseIn(path, reinterpret_cast<LPCWSTR>(MSIDBOPEN_DIRECT));
}

void TBuild::CheckDatabase(const std::string& operation) const {
  if (!FDatabase) throw EInstallerError(ERROR_INVALID_HANDLE, operation);
}

void TBuild::OpenView(const std::string& sql, const TSqlValues& values) {
  CheckDatabase(sql);
  FRecord.Close();
  FView.Close();
  TMsiHandle params = ParameterRecord(values, sql);
  Check(MsiDatabaseOpenViewW(FDatabase.Get(), Wide(sql).c_str(), FView.Receive()), sql);
  UINT result = MsiViewExecute(FView.Get(), params.Get());
  if (result != ERROR_SUCCESS) {
    FView.Close();
    throw EInstallerError(result, sql);
  }
}

void TBuild::CloseView() {
  FRecord.Close();
  if (FView) MsiViewClose(FView.Get());
  FView.Close();
}

void TBuild::RunStatement(const std::string& sql, const TSqlValues& values) {
  OpenView(sql, values);
  CloseView();
}

void TBuild::PrepareRows(const std::string& sql, unsigned valueCount) {
  CheckDatabase(sql);
  FRecord.Close();
  FView.Close();
  Check(MsiDatabaseOpenViewW(FDatabase.Get(), Wide(sql).c_str(), FView.Receive()), sql);
  FRecord.Reset(MsiCreateRecord(valueCount));
  if (!FRecord) throw EInstallerError(ERROR_OUTOFMEMORY, sql);
  FPreparedSql = sql;
}

void TBuild::RunPrepared(const TSqlValues& values) {
  if (!FView || !FRecord || values.size() != MsiRecordGetFieldCount(FRecord.Get()))
    throw EInstallerError(ERROR_INVALID_HANDLE, FPreparedSql);
  // As a new record: no field keeps the row before's value.
  Check(MsiRecordClearData(FRecord.Get()), FPreparedSql);
  SetFields(FRecord.Get(), values, FPreparedSql);
  Check(MsiViewExecute(FView.Get(), FRecord.Get()), FPreparedSql);
  // A view runs again only once closed.
  Check(MsiViewClose(FView.Get()), FPreparedSql);
}

void TBuild::DropTable(const std::string& table) {
  try {
    RunStatement("DROP TABLE " + table);
  } catch (const EInstallerError&) {
    // the template need not hold the table
  }
}

void TBuild::RecreateTable(const std::string& table, const std::string& createStatement) {
  DropTable(table);
  RunStatement(createStatement);
}

bool TBuild::Fetch() {
  if (!FView) throw EInstallerError(ERROR_INVALID_HANDLE, "Fetch");
  UINT result = MsiViewFetch(FView.Get(), FRecord.Receive());
  if (result == ERROR_NO_MORE_ITEMS) return false;
  Check(result, "Fetch");
  return true;
}

std::string TBuild::FieldString(unsigned field) const {
  if (!FRecord) throw EInstallerError(ERROR_INVALID_HANDLE, "StringData");
  std::wstring buffer(64, L'\0');
  DWORD size = static_cast<DWORD>(buffer.size());
  UINT result = MsiRecordGetStringW(FRecord.Get(), field, buffer.data(), &size);
  if (result == ERROR_MORE_DATA) {
    buffer.assign(size + 1, L'\0');
    size = static_cast<DWORD>(buffer.size());
    result = MsiRecordGetStringW(FRecord.Get(), field, buffer.data(), &size);
  }
  Check(result, "StringData");
  buffer.resize(size);
  return Narrow(buffer);
}

int TBuild::FieldInteger(unsigned field) const {
  if (!FRecord) throw EInstallerError(ERROR_INVALID_HANDLE, "IntegerData");
  return MsiRecordGetInteger(FRecord.Get(), field);
}

void TBuild::SetFieldString(unsigned field, const std::string& value) {
  if (!FRecord) throw EInstallerError(ERROR_INVALID_HANDLE, "StringData");
  Check(MsiRecordSetStringW(FRecord.Get(), field, Wide(value).c_str()), "StringData");
}

void TBuild::SetFieldInteger(unsigned field, int value) {
  if (!FRecord) throw EInstallerError(ERROR_INVALID_HANDLE, "IntegerData");
  Check(MsiRecordSetInteger(FRecord.Get(), field, value), "IntegerData");
}

void TBuild::Modify(TModifyMode mode) {
  if (!FView || !FRecord) throw EInstallerError(ERROR_INVALID_HANDLE, "Modify");
  Check(MsiViewModify(FView.Get(), static_cast<MSIMODIFY>(mode), FRecord.Get()), "Modify");
}

std::optional<std::string> TBuild::FirstField(const std::string& sql, const TSqlValues& values) {
  OpenView(sql, values);
  std::optional<std::string> answer;
  if (Fetch()) answer = FieldString(1);
  CloseView();
  return answer;
}

void TBuild::InsertStream(const std::string& viewStatement, const std::string& name,
                          const std::string& filePath) {
  OpenView(viewStatement);
  FRecord.Reset(MsiCreateRecord(2));
  if (!FRecord) throw EInstallerError(ERROR_OUTOFMEMORY, viewStatement);
  SetFieldString(1, name);
  Check(MsiRecordSetStreamW(FRecord.Get(), 2, Wide(filePath).c_str()), "SetStream " + filePath);
  Modify(mmInsert);
  CloseView();
}

void TBuild::ReplaceStream(const std::string& table, const std::string& name,
                           const std::string& filePath) {
  RunStatement("DELETE FROM `" + table + "` WHERE `Name`=?", {name});
  if (table != "_Streams") RunStatement("DELETE FROM _Streams WHERE Name=?", {table + "." + name});
  Commit();
  // The installer's list of open streams is left with a stale entry after a
  // delete, which the next insert of the same session would release: open the
  // committed package afresh before inserting.
  OpenDatabase(FDatabasePath);
  InsertStream("SELECT * FROM `" + table + "`", name, filePath);
}

void TBuild::OpenSummaryInformation(unsigned maxUpdatedProperties) {
  CheckDatabase("SummaryInformation");
  Check(MsiGetSummaryInformationW(FDatabase.Get(), nullptr, maxUpdatedProperties,
                                  FSummaryInfo.Receive()),
        "SummaryInformation");
}

void TBuild::SetSummaryProperty(unsigned id, int value) {
  const std::string op = "SummaryInformation property " + std::to_string(id);
  if (!FSummaryInfo) throw EInstallerError(ERROR_INVALID_HANDLE, op);
  // The code page is the one 2-byte property; the other numbers are 4-byte.
  UINT type = id == PID_CODEPAGE ? VT_I2 : VT_I4;
  Check(MsiSummaryInfoSetPropertyW(FSummaryInfo.Get(), id, type, value, nullptr, nullptr), op);
}

void TBuild::SetSummaryProperty(unsigned id, const std::string& value) {
  const std::string op = "SummaryInformation property " + std::to_string(id);
  if (!FSummaryInfo) throw EInstallerError(ERROR_INVALID_HANDLE, op);
  Check(MsiSummaryInfoSetPropertyW(FSummaryInfo.Get(), id, VT_LPSTR, 0, nullptr,
                                   Wide(value).c_str()),
        op);
}

void TBuild::PersistSummaryInformation() {
  if (!FSummaryInfo) throw EInstallerError(ERROR_INVALID_HANDLE, "Persist");
  Check(MsiSummaryInfoPersist(FSummaryInfo.Get()), "Persist");
  FSummaryInfo.Close();
}

void TBuild::Commit() {
  CheckDatabase("Commit");
  Check(MsiDatabaseCommit(FDatabase.Get()), "Commit");
}

void TBuild::CommitDatabase() {
  Commit();
  FInstaller = false;
}

}  // namespace tq
