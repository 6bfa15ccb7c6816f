// The merge-module object over msi.dll: tables copied by column name through
// parameter records, the module's root moved under the redirect directory,
// File rows renumbered after the package's, sequence rows turned into the
// package's, FeatureComponents for the feature.
#include "MsmMerge.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <set>

namespace tq {

namespace {

constexpr char ModuleCabinetStream[] = "MergeModule.CABinet";
constexpr char RootDirectory[] = "TARGETDIR";

using THandle = TMsiHandle;

std::string Quote(const std::string& name) { return "`" + name + "`"; }

void Check(UINT result, const std::string& operation) {
  if (result == ERROR_SUCCESS) return;
  std::string detail;
  THandle last(MsiGetLastErrorRecord());
  if (last.Get()) {
    char buf[1024];
    DWORD size = sizeof buf;
    if (MsiFormatRecordA(0, last.Get(), buf, &size) == ERROR_SUCCESS) detail = std::string(buf, size);
  }
  throw EMsmError("Merge module error " + std::to_string(result) + " in: " + operation +
                  (detail.empty() ? "" : " (" + detail + ")"));
}

std::string RecordString(MSIHANDLE rec, UINT field) {
  DWORD size = 0;
  char empty[1] = {};
  UINT r = MsiRecordGetStringA(rec, field, empty, &size);
  if (r != ERROR_MORE_DATA && r != ERROR_SUCCESS) return {};
  if (size == 0) return {};
  std::string s(size + 1, '\0');
  DWORD got = size + 1;
  MsiRecordGetStringA(rec, field, s.data(), &got);
  s.resize(got);
  return s;
}

// One column of a table: its name and its catalogue type ("s72", "I2", "v0",
// "L255": letter case tells nullable, l/L localizable text, v a stream).
struct TColumn {
  std::string Name;
  std::string Type;
  char Kind() const { return static_cast<char>(std::tolower(static_cast<unsigned char>(Type[0]))); }
  bool IsInteger() const { return Kind() == 'i' || Kind() == 'j'; }
  bool IsStream() const { return Kind() == 'v' || Kind() == 'o'; }
  bool Nullable() const { return std::isupper(static_cast<unsigned char>(Type[0])) != 0; }
  int Width() const { return std::atoi(Type.c_str() + 1); }
};

struct TTableInfo {
  std::vector<TColumn> Columns;
  std::vector<std::string> Keys;
  int Find(const std::string& name) const {
    for (size_t i = 0; i < Columns.size(); ++i)
      if (Columns[i].Name == name) return static_cast<int>(i);
    return -1;
  }
};

// One field value as the object carries it between the databases.
struct TValue {
  enum TKind { vNull, vInteger, vString, vStream } Kind = vNull;
  int Integer = 0;
  std::string Bytes;  // text or stream contents
  bool operator==(const TValue& o) const {
    if (Kind != o.Kind) return false;
    if (Kind == vInteger) return Integer == o.Integer;
    return Bytes == o.Bytes;
  }
  std::string Text() const {
    switch (Kind) {
      case vNull:
        return "";
      case vInteger:
        return std::to_string(Integer);
      case vString:
        return Bytes;
      case vStream:
        return "<stream of " + std::to_string(Bytes.size()) + " bytes>";
    }
    return "";
  }
  static TValue Str(const std::string& s) {
    TValue v;
    if (!s.empty()) {
      v.Kind = vString;
      v.Bytes = s;
    }
    return v;
  }
  static TValue Int(int i) {
    TValue v;
    v.Kind = vInteger;
    v.Integer = i;
    return v;
  }
};
using TRow = std::vector<TValue>;

bool TableExists(MSIHANDLE db, const std::string& table) {
  THandle view, params, rec;
  if (MsiDatabaseOpenViewA(db, "SELECT `Name` FROM `_Tables` WHERE `Name`=?", view.Receive()) != 0)
    return false;
  params.Reset(MsiCreateRecord(1));
  MsiRecordSetStringA(params.Get(), 1, table.c_str());
  if (MsiViewExecute(view.Get(), params.Get()) != 0) return false;
  bool found = MsiViewFetch(view.Get(), rec.Receive()) == ERROR_SUCCESS;
  MsiViewClose(view.Get());
  return found;
}

std::vector<std::string> TableNames(MSIHANDLE db) {
  std::vector<std::string> names;
  THandle view, rec;
  Check(MsiDatabaseOpenViewA(db, "SELECT `Name` FROM `_Tables`", view.Receive()), "listing the tables");
  Check(MsiViewExecute(view.Get(), 0), "listing the tables");
  while (MsiViewFetch(view.Get(), rec.Receive()) == ERROR_SUCCESS) names.push_back(RecordString(rec.Get(), 1));
  MsiViewClose(view.Get());
  return names;
}

TTableInfo TableInfo(MSIHANDLE db, const std::string& table) {
  TTableInfo info;
  THandle view, names, types, keys;
  const std::string sql = "SELECT * FROM " + Quote(table);
  Check(MsiDatabaseOpenViewA(db, sql.c_str(), view.Receive()), sql);
  Check(MsiViewGetColumnInfo(view.Get(), MSICOLINFO_NAMES, names.Receive()), "column names of " + table);
  Check(MsiViewGetColumnInfo(view.Get(), MSICOLINFO_TYPES, types.Receive()), "column types of " + table);
  const UINT n = MsiRecordGetFieldCount(names.Get());
  for (UINT i = 1; i <= n; ++i) info.Columns.push_back({RecordString(names.Get(), i), RecordString(types.Get(), i)});
  Check(MsiDatabaseGetPrimaryKeysA(db, table.c_str(), keys.Receive()), "primary key of " + table);
  const UINT k = MsiRecordGetFieldCount(keys.Get());
  for (UINT i = 1; i <= k; ++i) info.Keys.push_back(RecordString(keys.Get(), i));
  return info;
}

std::string ColumnList(const std::vector<TColumn>& columns) {
  std::string list;
  for (const TColumn& c : columns) list += (list.empty() ? "" : ",") + Quote(c.Name);
  return list;
}

// The CREATE TABLE statement for the catalogue.
std::string CreateStatement(const std::string& table, const TTableInfo& info) {
  std::string sql = "CREATE TABLE " + Quote(table) + " (";
  for (size_t i = 0; i < info.Columns.size(); ++i) {
    const TColumn& c = info.Columns[i];
    if (i) sql += ", ";
    sql += Quote(c.Name) + " ";
    if (c.IsStream())
      sql += "OBJECT";
    else if (c.IsInteger())
      sql += c.Width() == 4 ? "LONG" : "SHORT";
    else if (c.Width() == 0)
      sql += "LONGCHAR";
    else
      sql += "CHAR(" + std::to_string(c.Width()) + ")";
    if (!c.Nullable()) sql += " NOT NULL";
    if (c.Kind() == 'l') sql += " LOCALIZABLE";
  }
  sql += " PRIMARY KEY ";
  for (size_t i = 0; i < info.Keys.size(); ++i) sql += (i ? "," : "") + Quote(info.Keys[i]);
  return sql + ")";
}

TValue ReadValue(MSIHANDLE rec, UINT field, const TColumn& column) {
  TValue v;
  if (MsiRecordIsNull(rec, field)) return v;
  if (column.IsInteger()) return TValue::Int(MsiRecordGetInteger(rec, field));
  if (column.IsStream()) {
    v.Kind = TValue::vStream;
    for (;;) {
      char buf[65536];
      DWORD size = sizeof buf;
      if (MsiRecordReadStream(rec, field, buf, &size) != ERROR_SUCCESS || size == 0) break;
      v.Bytes.append(buf, size);
    }
    return v;
  }
  return TValue::Str(RecordString(rec, field));
}

std::vector<TRow> ReadRows(MSIHANDLE db, const std::string& table, const std::vector<TColumn>& columns) {
  std::vector<TRow> rows;
  THandle view, rec;
  const std::string sql = "SELECT " + ColumnList(columns) + " FROM " + Quote(table);
  Check(MsiDatabaseOpenViewA(db, sql.c_str(), view.Receive()), sql);
  Check(MsiViewExecute(view.Get(), 0), sql);
  while (MsiViewFetch(view.Get(), rec.Receive()) == ERROR_SUCCESS) {
    TRow row;
    for (size_t i = 0; i < columns.size(); ++i) row.push_back(ReadValue(rec.Get(), static_cast<UINT>(i + 1), columns[i]));
    rows.push_back(std::move(row));
  }
  MsiViewClose(view.Get());
  return rows;
}

// Stream values reach a record through a file; the record reads it at once.
class TStreamFiles {
 public:
  ~TStreamFiles() {
    for (const std::string& f : Files) DeleteFileA(f.c_str());
  }
  std::string Write(const std::string& bytes) {
    char dir[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH, dir);
    char name[MAX_PATH + 1] = {};
    if (!GetTempFileNameA(dir, "msm", 0, name)) throw EMsmError("Cannot create a work file in " + std::string(dir));
    Files.push_back(name);
    HANDLE h = CreateFileA(name, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    bool ok = h != INVALID_HANDLE_VALUE &&
              WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
              written == bytes.size();
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    if (!ok) throw EMsmError("Cannot write the work file " + std::string(name));
    return name;
  }
  std::vector<std::string> Files;
};

void SetValue(MSIHANDLE rec, UINT field, const TValue& v, TStreamFiles& files) {
  switch (v.Kind) {
    case TValue::vNull:
      break;
    case TValue::vInteger:
      MsiRecordSetInteger(rec, field, v.Integer);
      break;
    case TValue::vString:
      MsiRecordSetStringA(rec, field, v.Bytes.c_str());
      break;
    case TValue::vStream:
      Check(MsiRecordSetStreamA(rec, field, files.Write(v.Bytes).c_str()), "setting a stream field");
      break;
  }
}

// The package's row under the key, or none.
bool FindRow(MSIHANDLE db, const std::string& table, const TTableInfo& info, const std::vector<TValue>& key,
             TRow& found) {
  std::string sql = "SELECT " + ColumnList(info.Columns) + " FROM " + Quote(table) + " WHERE ";
  for (size_t i = 0; i < info.Keys.size(); ++i) sql += (i ? " AND " : "") + Quote(info.Keys[i]) + "=?";
  THandle view, params, rec;
  TStreamFiles files;
  Check(MsiDatabaseOpenViewA(db, sql.c_str(), view.Receive()), sql);
  params.Reset(MsiCreateRecord(static_cast<UINT>(key.size())));
  for (size_t i = 0; i < key.size(); ++i) SetValue(params.Get(), static_cast<UINT>(i + 1), key[i], files);
  Check(MsiViewExecute(view.Get(), params.Get()), sql);
  const bool hit = MsiViewFetch(view.Get(), rec.Receive()) == ERROR_SUCCESS;
  if (hit) {
    found.clear();
    for (size_t i = 0; i < info.Columns.size(); ++i)
      found.push_back(ReadValue(rec.Get(), static_cast<UINT>(i + 1), info.Columns[i]));
  }
  MsiViewClose(view.Get());
  return hit;
}

void InsertRow(MSIHANDLE db, const std::string& table, const TTableInfo& info, const TRow& row) {
  const std::string sql = "SELECT " + ColumnList(info.Columns) + " FROM " + Quote(table);
  THandle view, rec;
  TStreamFiles files;
  Check(MsiDatabaseOpenViewA(db, sql.c_str(), view.Receive()), sql);
  Check(MsiViewExecute(view.Get(), 0), sql);
  rec.Reset(MsiCreateRecord(static_cast<UINT>(row.size())));
  for (size_t i = 0; i < row.size(); ++i) SetValue(rec.Get(), static_cast<UINT>(i + 1), row[i], files);
  Check(MsiViewModify(view.Get(), MSIMODIFY_INSERT, rec.Get()), "inserting a row into " + table);
  MsiViewClose(view.Get());
}

void RunStatement(MSIHANDLE db, const std::string& sql) {
  THandle view;
  Check(MsiDatabaseOpenViewA(db, sql.c_str(), view.Receive()), sql);
  Check(MsiViewExecute(view.Get(), 0), sql);
  MsiViewClose(view.Get());
}

// "Value is 'a' in the database, 'b' in the module, ..." for the differing columns.
std::string Differences(const TTableInfo& info, const TRow& existing, const TRow& row) {
  std::string differs;
  for (size_t i = 0; i < info.Columns.size(); ++i)
    if (!(existing[i] == row[i]))
      differs += (differs.empty() ? "" : ", ") + info.Columns[i].Name + " is '" + existing[i].Text() +
                 "' in the database, '" + row[i].Text() + "' in the module";
  return differs;
}

std::string JoinKeys(const std::vector<TValue>& key) {
  std::string s;
  for (size_t i = 0; i < key.size(); ++i) s += (i ? "|" : "") + key[i].Text();
  return s;
}

// The module's bookkeeping and the tables that describe the package itself.
bool IsModuleOnlyTable(const std::string& table) {
  static const std::set<std::string> skipped = {
      "ModuleSignature", "ModuleComponents", "ModuleDependency", "ModuleExclusion", "ModuleIgnoreTable",
      "ModuleConfiguration", "ModuleSubstitution", "_Validation", "Feature", "FeatureComponents", "Media"};
  return skipped.count(table) != 0 || (table.rfind("Module", 0) == 0 && table.size() > 14 &&
                                       table.compare(table.size() - 8, 8, "Sequence") == 0);
}

// The package table a module sequence table feeds: ModuleInstallExecuteSequence
// -> InstallExecuteSequence; empty for other tables.
std::string PackageSequenceTable(const std::string& table) {
  static const char* const tables[] = {"InstallExecuteSequence", "InstallUISequence", "AdminExecuteSequence",
                                       "AdminUISequence", "AdvtExecuteSequence", "AdvtUISequence"};
  for (const char* t : tables)
    if (table == std::string("Module") + t) return t;
  return {};
}

const char* const CreateSequenceTable =
    " (`Action` CHAR(72) NOT NULL, `Condition` CHAR(255), `Sequence` SHORT PRIMARY KEY `Action`)";

}  // namespace

TMsmMerge::~TMsmMerge() {
  if (FLog) std::fclose(FLog);
}

void TMsmMerge::Log(const std::string& line) {
  if (!FLog) return;
  std::fputs((line + "\r\n").c_str(), FLog);
  std::fflush(FLog);
}

void TMsmMerge::RequireOpen(const char* call) const {
  if (!FDatabase) throw EMsmError(std::string(call) + ": no database is open");
  if (!FModule) throw EMsmError(std::string(call) + ": no merge module is open");
}

void TMsmMerge::OpenDatabase(const std::string& path) {
  if (FDatabase.Get()) throw EMsmError("OpenDatabase: a database is open already");
  Check(MsiOpenDatabaseA(path.c_str(), MSIDBOPEN_TRANSACT, FDatabase.Receive()), "opening the database " + path);
  FDatabasePath = path;
  Log("Opened the database " + path);
}

void TMsmMerge::OpenModule(const std::string& path, unsigned short language) {
  if (FModule.Get()) throw EMsmError("OpenModule: a merge module is open already");
  THandle owner;
  Check(MsiOpenDatabaseA(path.c_str(), MSIDBOPEN_READONLY, owner.Receive()), "opening the merge module " + path);
  const MSIHANDLE module = owner.Get();
  if (!TableExists(module, "ModuleSignature"))
    throw EMsmError(path + " is not a merge module: it has no ModuleSignature table");
  THandle view, rec;
  Check(MsiDatabaseOpenViewA(module, "SELECT `ModuleID`,`Language` FROM `ModuleSignature`", view.Receive()),
        "reading the signature of " + path);
  Check(MsiViewExecute(view.Get(), 0), "reading the signature of " + path);
  if (MsiViewFetch(view.Get(), rec.Receive()) != ERROR_SUCCESS)
    throw EMsmError(path + " is not a merge module: its ModuleSignature table is empty");
  const std::string id = RecordString(rec.Get(), 1);
  const int moduleLanguage = MsiRecordGetInteger(rec.Get(), 2);
  MsiViewClose(view.Get());
  const bool offered = moduleLanguage == language || moduleLanguage == 0 ||
                       (moduleLanguage & 0x3FF) == (language & 0x3FF);
  if (!offered)
    throw EMsmError("The merge module " + path + " is for language " + std::to_string(moduleLanguage) +
                    ", not " + std::to_string(language));
  FModule = std::move(owner);
  FModulePath = path;
  FModuleId = id;
  FModuleLanguage = moduleLanguage;
  Log("Opened the merge module " + path + " (" + id + ", language " + std::to_string(moduleLanguage) + ")");
}

void TMsmMerge::CloseDatabase(bool commit) {
  if (!FDatabase) throw EMsmError("CloseDatabase: no database is open");
  THandle db = std::move(FDatabase);
  if (commit) Check(MsiDatabaseCommit(db.Get()), "committing the database " + FDatabasePath);
  Log(std::string(commit ? "Committed and closed" : "Closed") + " the database " + FDatabasePath);
}

void TMsmMerge::CloseModule() {
  if (!FModule) throw EMsmError("CloseModule: no merge module is open");
  FModule.Close();
  Log("Closed the merge module " + FModulePath);
}

void TMsmMerge::OpenLog(const std::string& path) {
  if (FLog) std::fclose(FLog);
  FLog = std::fopen(path.c_str(), "ab");
  if (!FLog) throw EMsmError("Cannot open the merge log " + path);
}

void TMsmMerge::CloseLog() {
  if (FLog) std::fclose(FLog);
  FLog = nullptr;
}

void TMsmMerge::Merge(const std::string& feature, const std::string& redirectDirectory) {
  RequireOpen("Merge");
  Log("Merging " + FModulePath + " into feature " + feature + ", its root redirected to " + redirectDirectory);
  TRow found;
  if (!TableExists(FDatabase.Get(), "Feature") ||
      !FindRow(FDatabase.Get(), "Feature", TableInfo(FDatabase.Get(), "Feature"), {TValue::Str(feature)}, found))
    throw EMsmError("Merge: the database " + FDatabasePath + " has no feature " + feature);
  if (redirectDirectory != RootDirectory &&
      (!TableExists(FDatabase.Get(), "Directory") ||
       !FindRow(FDatabase.Get(), "Directory", TableInfo(FDatabase.Get(), "Directory"), {TValue::Str(redirectDirectory)}, found)))
    throw EMsmError("Merge: the database " + FDatabasePath + " has no directory " + redirectDirectory);
  const int errorsBefore = FErrors.Count();

  std::set<std::string> ignored;
  if (TableExists(FModule.Get(), "ModuleIgnoreTable")) {
    TTableInfo info = TableInfo(FModule.Get(), "ModuleIgnoreTable");
    for (const TRow& row : ReadRows(FModule.Get(), "ModuleIgnoreTable", info.Columns)) ignored.insert(row[0].Text());
  }

  // The module's File rows, renumbered after the package's highest Sequence.
  std::map<std::string, int> fileSequence;
  if (TableExists(FModule.Get(), "File")) {
    int highest = 0;
    if (TableExists(FDatabase.Get(), "File")) {
      const std::vector<TColumn> seq = {{"Sequence", "i2"}};
      for (const TRow& row : ReadRows(FDatabase.Get(), "File", seq))
        if (row[0].Kind == TValue::vInteger) highest = std::max(highest, row[0].Integer);
    }
    std::vector<std::pair<int, std::string>> order;
    const std::vector<TColumn> cols = {{"File", "s72"}, {"Sequence", "i2"}};
    for (const TRow& row : ReadRows(FModule.Get(), "File", cols)) order.emplace_back(row[1].Integer, row[0].Text());
    std::stable_sort(order.begin(), order.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [sequence, key] : order) fileSequence[key] = ++highest;
  }

  std::vector<std::string> components;
  std::vector<std::string> sequenceTables;
  for (const std::string& table : TableNames(FModule.Get())) {
    if (!PackageSequenceTable(table).empty()) sequenceTables.push_back(table);
    if (IsModuleOnlyTable(table) || ignored.count(table)) continue;
    MergeTable(table, redirectDirectory, fileSequence, components);
  }
  for (const std::string& table : sequenceTables)
    if (!ignored.count(table)) MergeSequence(table);
  JoinFeature(feature, components);
  Log("Merged " + FModulePath + " with " + std::to_string(FErrors.Count() - errorsBefore) + " merge errors");
}

void TMsmMerge::Conflict(const std::string& table, const std::string& keys, const std::string& text) {
  FErrors.Items.push_back({table, keys, text});
  Log("Merge error in table " + table + ", row " + keys + ": " + text);
}

void TMsmMerge::MergeTable(const std::string& table, const std::string& redirect,
                           const std::map<std::string, int>& fileSequence, std::vector<std::string>& components) {
  const TTableInfo moduleInfo = TableInfo(FModule.Get(), table);
  if (!TableExists(FDatabase.Get(), table)) {
    RunStatement(FDatabase.Get(), CreateStatement(table, moduleInfo));
    Log("Created the table " + table);
  }
  const TTableInfo info = TableInfo(FDatabase.Get(), table);
  std::vector<int> from;  // module column of each package column, -1 when it has none
  for (const TColumn& c : info.Columns) from.push_back(moduleInfo.Find(c.Name));
  std::vector<int> keyAt;
  for (const std::string& k : info.Keys) keyAt.push_back(info.Find(k));
  const int parentAt = table == "Directory" ? info.Find("Directory_Parent") : -1;
  const int directoryAt = table == "Component" ? info.Find("Directory_") : -1;
  const int sequenceAt = table == "File" ? info.Find("Sequence") : -1;
  const auto redirected = [&](TValue& v) {
    if (v.Kind == TValue::vString && v.Bytes == RootDirectory) v = TValue::Str(redirect);
  };

  int added = 0, kept = 0, conflicts = 0;
  for (const TRow& moduleRow : ReadRows(FModule.Get(), table, moduleInfo.Columns)) {
    TRow original;
    for (int f : from) original.push_back(f >= 0 ? moduleRow[static_cast<size_t>(f)] : TValue());
    std::vector<TValue> key;
    for (int k : keyAt) key.push_back(k >= 0 ? original[static_cast<size_t>(k)] : TValue());
    const std::string keyText = JoinKeys(key);
    if (table == "Directory" && keyText == RootDirectory) continue;  // the redirect directory takes its place
    if (table == "Component") components.push_back(keyText);
    TRow row = original;
    if (parentAt >= 0) redirected(row[static_cast<size_t>(parentAt)]);
    if (directoryAt >= 0) redirected(row[static_cast<size_t>(directoryAt)]);
    if (sequenceAt >= 0) {
      auto it = fileSequence.find(keyText);
      if (it != fileSequence.end()) row[static_cast<size_t>(sequenceAt)] = TValue::Int(it->second);
    }
    TRow existing;
    if (!FindRow(FDatabase.Get(), table, info, key, existing)) {
      InsertRow(FDatabase.Get(), table, info, row);
      ++added;
    } else if (sequenceAt >= 0) {
      // A File row the package holds already: its place in the sequence is the
      // package's, the rest must agree.
      row[static_cast<size_t>(sequenceAt)] = existing[static_cast<size_t>(sequenceAt)];
      if (existing == row) {
        ++kept;
      } else {
        ++conflicts;
        Conflict(table, keyText, "the database holds this row with other data (" + Differences(info, existing, row) + ")");
      }
    } else if (existing == row || existing == original) {
      ++kept;
    } else {
      ++conflicts;
      Conflict(table, keyText, "the database holds this row with other data (" + Differences(info, existing, row) + ")");
    }
  }
  Log("Table " + table + ": " + std::to_string(added) + " rows added, " + std::to_string(kept) +
      " already there, " + std::to_string(conflicts) + " in conflict");
}

void TMsmMerge::MergeSequence(const std::string& table) {
  const std::string target = PackageSequenceTable(table);
  if (!TableExists(FDatabase.Get(), target)) {
    RunStatement(FDatabase.Get(), "CREATE TABLE " + Quote(target) + CreateSequenceTable);
    Log("Created the table " + target);
  }
  const TTableInfo info = TableInfo(FDatabase.Get(), target);
  std::map<std::string, int> sequenced;
  for (const TRow& row : ReadRows(FDatabase.Get(), target, {{"Action", "s72"}, {"Sequence", "I2"}}))
    sequenced[row[0].Text()] = row[1].Kind == TValue::vInteger ? row[1].Integer : 0;

  const TTableInfo moduleInfo = TableInfo(FModule.Get(), table);
  std::vector<TColumn> wanted;
  for (const char* name : {"Action", "Sequence", "BaseAction", "After", "Condition"}) {
    int at = moduleInfo.Find(name);
    wanted.push_back(at >= 0 ? moduleInfo.Columns[static_cast<size_t>(at)] : TColumn{"", "S0"});
  }
  std::vector<TRow> pending;
  std::vector<TColumn> present;
  for (const TColumn& c : wanted)
    if (!c.Name.empty()) present.push_back(c);
  for (const TRow& read : ReadRows(FModule.Get(), table, present)) {
    TRow row;
    size_t next = 0;
    for (const TColumn& c : wanted) row.push_back(c.Name.empty() ? TValue() : read[next++]);
    if (sequenced.count(row[0].Text())) {
      Log("Table " + target + ": " + row[0].Text() + " is sequenced by the database already");
      continue;
    }
    pending.push_back(std::move(row));
  }
  // Rows placed relative to another action wait until that action has its place.
  int added = 0;
  for (bool progress = true; progress && !pending.empty();) {
    progress = false;
    for (auto it = pending.begin(); it != pending.end();) {
      const TRow& row = *it;
      int sequence = 0;
      if (row[1].Kind == TValue::vInteger) {
        sequence = row[1].Integer;
      } else if (row[2].Kind == TValue::vString && sequenced.count(row[2].Bytes)) {
        const bool after = row[3].Kind == TValue::vInteger && row[3].Integer == 1;
        sequence = sequenced[row[2].Bytes] + (after ? 1 : -1);
      } else {
        ++it;
        continue;
      }
      TRow out;
      for (const TColumn& c : info.Columns)
        out.push_back(c.Name == "Action" ? row[0]
                      : c.Name == "Condition" ? row[4]
                      : c.Name == "Sequence" ? TValue::Int(sequence)
                                             : TValue());
      InsertRow(FDatabase.Get(), target, info, out);
      sequenced[row[0].Text()] = sequence;
      ++added;
      progress = true;
      it = pending.erase(it);
    }
  }
  for (const TRow& row : pending)
    Conflict(target, row[0].Text(),
             row[2].Kind == TValue::vString ? "its base action " + row[2].Bytes + " is sequenced nowhere"
                                            : "it has neither a sequence number nor a base action");
  Log("Table " + target + ": " + std::to_string(added) + " actions added from " + table);
}

void TMsmMerge::JoinFeature(const std::string& feature, const std::vector<std::string>& components) {
  if (!TableExists(FDatabase.Get(), "FeatureComponents"))
    RunStatement(FDatabase.Get(),
                 "CREATE TABLE `FeatureComponents` (`Feature_` CHAR(38) NOT NULL, `Component_` CHAR(72) NOT NULL "
                 "PRIMARY KEY `Feature_`,`Component_`)");
  const TTableInfo info = TableInfo(FDatabase.Get(), "FeatureComponents");
  int added = 0;
  for (const std::string& component : components) {
    TRow row;
    for (const TColumn& c : info.Columns)
      row.push_back(c.Name == "Feature_" ? TValue::Str(feature)
                    : c.Name == "Component_" ? TValue::Str(component)
                                             : TValue());
    std::vector<TValue> key;
    for (const std::string& k : info.Keys) key.push_back(row[static_cast<size_t>(info.Find(k))]);
    TRow existing;
    if (FindRow(FDatabase.Get(), "FeatureComponents", info, key, existing)) continue;
    InsertRow(FDatabase.Get(), "FeatureComponents", info, row);
    ++added;
  }
  Log("Table FeatureComponents: " + std::to_string(added) + " components joined feature " + feature);
}

bool TMsmMerge::ExtractCAB(const std::string& cabinetPath) {
  if (!FModule) throw EMsmError("ExtractCAB: no merge module is open");
  THandle view, rec;
  Check(MsiDatabaseOpenViewA(FModule.Get(), "SELECT `Name`,`Data` FROM `_Streams`", view.Receive()),
        "reading the streams of " + FModulePath);
  Check(MsiViewExecute(view.Get(), 0), "reading the streams of " + FModulePath);
  bool found = false;
  std::string bytes;
  while (!found && MsiViewFetch(view.Get(), rec.Receive()) == ERROR_SUCCESS) {
    if (RecordString(rec.Get(), 1) != ModuleCabinetStream) continue;
    found = true;
    bytes = ReadValue(rec.Get(), 2, {"Data", "v0"}).Bytes;
  }
  MsiViewClose(view.Get());
  if (!found) {
    Log("The merge module " + FModulePath + " carries no cabinet");
    return false;
  }
  HANDLE h = CreateFileA(cabinetPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) throw EMsmError("ExtractCAB: cannot create " + cabinetPath);
  DWORD written = 0;
  const bool ok = WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                  written == bytes.size();
  CloseHandle(h);
  if (!ok) {
    DeleteFileA(cabinetPath.c_str());
    throw EMsmError("ExtractCAB: cannot write " + cabinetPath);
  }
  Log("Extracted the cabinet of " + FModulePath + " to " + cabinetPath + " (" + std::to_string(bytes.size()) +
      " bytes)");
  return true;
}

namespace CoMsmMerge {
std::unique_ptr<TMsmMerge> Create() { return std::make_unique<TMsmMerge>(); }
}  // namespace CoMsmMerge

}  // namespace tq
