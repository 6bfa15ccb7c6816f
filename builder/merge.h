#pragma once
// Merging merge modules into the package during the cabinet phase.
//
// A module is merged through the merge-module object into the package file
// (closed at that time: the object opens, changes and commits it), with its
// components joining one feature and its root redirected to one directory of
// the package; its cabinet is then unpacked into the work folder
// TempPath + "tempcab\", where the cabinet phase picks the files up in the
// package's File order. What the object did goes to "msm.log" in the program
// directory; rows it could not merge (merge errors) do not end the build: they
// are counted in a message that refers to that log.
//
//   TMerge item ...;                       // a Modules page item: index = its tab
//   item.MergeIntoPackage(tab);            // or a built-in one: -1 the .NET
//                                          // run-time, -2/-3 the database engine
//
// The database-engine modules' locations are kept per machine under
// HKEY_LOCAL_MACHINE\Software\Quorvel\Tarnquill (BdeProPath, BdeEntPath) and
// asked for once through TBdePathDlg.
#include <functional>
#include <string>

namespace tq {

class TCabinetReader;
struct TBuildModule;

// One merge, with everything it needs of the project.
struct TModuleMergeJob {
  std::string PackageFile;
  // Empty when no module was obtained (the database-engine location could not
  // be read or stored): the package is opened and committed unchanged and no
  // cabinet is extracted.
  std::string ModuleFile;
  unsigned short Language = 1033;
  std::string Feature;
  std::string RedirectDirectory;
  std::string LogFile;  // appended to
  std::string WorkDir;  // the temporary folder, with a trailing "\"
  TCabinetReader* Reader = nullptr;
  std::function<void()> Drain;  // may be empty
  // What the merge-error message names: the item's module file.
  std::string ItemModule;
};

// Runs the merge and unpacks the module's cabinet into WorkDir + "tempcab\";
// the extracted "temp.cab" is removed again. Answers the number of merge
// errors. A failure of the merge-module object or of the extraction raises
// EBuildException with its message.
int MergeModuleInto(const TModuleMergeJob& job);

// "There were <n> merge errors merging <module>." + the reference to msm.log.
std::string MergeErrorsMessage(int count, const std::string& module);

// The registry key of the database-engine locations, under HKEY_LOCAL_MACHINE.
inline constexpr char BdeRegistryKey[] = "\\Software\\Quorvel\\Tarnquill";

// The location of a database-engine module: the registry value when it is
// set, else what the user enters in TBdePathDlg (lower-cased; a folder gets
// "\" + fileName), which is then stored. An empty entry raises
// EBuildException. Empty when the registry key cannot be opened.
std::string BdeModulePath(const std::string& valueName, const std::string& fileName);

// The cabinet phase's merge of one module of the built project: the Modules
// page item on module.Tab, or a new built-in item (module.BuiltIn -1, -2, -3)
// owned by the main window; TMerge::MergeIntoPackage does the merge.
void MergeBuildModule(const TBuildModule& module);

// The .NET run-time module below the common program files folder.
std::string ClrRuntimeModulePath();

}  // namespace tq
