#pragma once
// The merge-module object: merges a merge module (.msm) into an installer
// package (.msi or another module) through msi.dll's database API.
//
//   auto merge = CoMsmMerge::Create();
//   merge->OpenDatabase(package);           // transacted: nothing lands before
//   merge->OpenModule(module, 1033);        //   CloseDatabase(true)
//   merge->OpenLog(appDir + "msm.log");     // appended to
//   merge->Merge("Feature", "INSTALLDIR");  // feature, redirect directory
//   merge->ExtractCAB(tempDir + "temp.cab");
//   int conflicts = merge->Errors().Count();
//   merge->CloseDatabase(true); merge->CloseModule(); merge->CloseLog();
//
// What Merge does to the package:
// - Every table of the module except the module's own bookkeeping (the
//   ModuleSignature, ModuleComponents, ModuleDependency, ModuleExclusion,
//   ModuleIgnoreTable, ModuleConfiguration, ModuleSubstitution and Module*Sequence
//   tables, plus the tables ModuleIgnoreTable names, _Validation, Feature,
//   FeatureComponents and Media) is copied row by row, column by column by
//   name, through parameter records; stream columns travel as streams. A table
//   the package lacks is created from the module's column catalogue (names,
//   types, nullability, localizable flag, primary key).
// - A row whose primary key the package already holds with the same data is
//   left alone; with other data it is a merge error: counted in Errors(),
//   written to the log, and the package's row stays. Such errors never end the
//   merge.
// - The module's root: its TARGETDIR row is not copied; its directories whose
//   parent is TARGETDIR, and its components installed straight into TARGETDIR,
//   move under the redirect directory (a row that the package holds unchanged
//   under TARGETDIR, such as a shared system folder, keeps the package's row).
// - The module's File rows follow the package's own: they are renumbered from
//   the package's highest Sequence + 1 in the module's Sequence order, so that
//   a cabinet holding the package's files and then the module's in File
//   Sequence order agrees with the File table.
// - Each Module<X>Sequence row becomes a row (Action, Condition, Sequence) of the
//   package's <X>Sequence table: an explicit Sequence is kept, a row placed by
//   BaseAction/After goes one after or one before its base action. An action
//   the package already sequences is left as the package has it.
// - Every component of the module joins the feature in FeatureComponents.
//
// Failures of the object itself (a file that is no database or no module, a
// feature or redirect directory the package lacks, a call out of order, a
// failing installer call) raise EMsmError naming the call and the file.
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <windows.h>
#include <msi.h>
#include <msiquery.h>

#include "MsiHandle.h"
#include "SysUtils.h"

namespace tq {

TQ_EXCEPTION_CLASS(EMsmError, Exception);

// One merge error: a row of the module that the package holds with other data,
// or a sequence row whose base action is sequenced nowhere.
struct TMsmError {
  std::string Table;  // the package table
  std::string Keys;   // the row's primary key values, joined by "|"
  std::string Text;   // what went wrong, as the log has it
};

class TMsmErrors {
 public:
  int Count() const { return static_cast<int>(Items.size()); }
  const TMsmError& Item(int i) const { return Items.at(static_cast<size_t>(i)); }
  std::vector<TMsmError> Items;
};

class TMsmMerge {
 public:
  TMsmMerge() = default;
  TMsmMerge(const TMsmMerge&) = delete;
  TMsmMerge& operator=(const TMsmMerge&) = delete;
  ~TMsmMerge();

  // The package, opened transacted.
  void OpenDatabase(const std::string& path);
  // The module, read-only; its ModuleSignature must offer the language (an
  // exact match, a language-neutral module, or the same primary language).
  void OpenModule(const std::string& path, unsigned short language);
  // Commits the package when asked, then closes it.
  void CloseDatabase(bool commit);
  void CloseModule();
  // Appends what the object does to the file (created when missing).
  void OpenLog(const std::string& path);
  void CloseLog();
  // The merge errors collected so far.
  const TMsmErrors& Errors() const { return FErrors; }
  // Merges the open module into the open package (see above).
  void Merge(const std::string& feature, const std::string& redirectDirectory);
  // Writes the module's cabinet stream "MergeModule.CABinet" to the file;
  // false (and no file) when the module carries no cabinet.
  bool ExtractCAB(const std::string& cabinetPath);

 private:
  void Log(const std::string& line);
  void Conflict(const std::string& table, const std::string& keys, const std::string& text);
  void MergeTable(const std::string& table, const std::string& redirect,
                  const std::map<std::string, int>& fileSequence, std::vector<std::string>& components);
  void MergeSequence(const std::string& table);
  void JoinFeature(const std::string& feature, const std::vector<std::string>& components);
  void RequireOpen(const char* call) const;
  TMsiHandle FDatabase;
  TMsiHandle FModule;
  std::string FDatabasePath;
  std::string FModulePath;
  std::string FModuleId;
  int FModuleLanguage = 0;
  std::FILE* FLog = nullptr;
  TMsmErrors FErrors;
};

namespace CoMsmMerge {
std::unique_ptr<TMsmMerge> Create();
}

}  // namespace tq
