#pragma once
// The project as a build reads it: one TBuildProject, filled once from the main
// window when a build starts (ReadBuildProject, the builder's one reader of the
// window) and held by the builder object, so that no build step touches the
// window. A test may fill one by hand and hand it to a TBuild.
//
//   TBuild build;
//   build.FProject = std::make_shared<TBuildProject>(ReadBuildProject(*RWInstallForm));
//   PrepareDatabase(build);                       // reads ProjectOf(build)
//   ...
//   for (const TPackageFile& f : PackageFiles(ProjectOf(build), withFtpData)) ...
//
// A step that finds no project on its builder fills it from RWInstallForm
// (ProjectOf), so the steps can be called one by one on a fresh builder too.
//
// Items keep the position of their tab on their page (Tab, from 0): messages
// and keys number entries by it, and a tab without an item is left out.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Distribution.h"
#include "UpdateCreation.h"
#include "build.h"

namespace tq {

class TBuild;
class TCabinetWriter;
class TFtpData;
class TRWInstallForm;

enum class TProjectType { ptPackage, ptMergeModule };

// The root of the target-directory tree is HomeDirectoryNode ("<Home
// Directory>", UpdateCreation.h).
// A shortcut's directory that stands for the program group.
inline constexpr char ProgramGroupNode[] = "Program Group";

// One node of the target-directory tree, in tree order; the first is the root
// "<Home Directory>".
struct TBuildDirectory {
  std::string Text;
  int Parent = -1;  // index of the parent node; -1 for a top-level node
};

// One file of a choice.
struct TBuildFile {
  std::string Source;     // full source path
  std::string Directory;  // the directory node's text ("<Home Directory>" when the choice names none)
  bool Marked = false;    // self-registering, or for a font file: registered as a font
};

struct TBuildChoice {
  int Tab = 0;
  std::string Name;        // the feature's key
  std::string Parent;      // the parent choice's name in the choices tree; empty under "Choices"
  std::string Title, Description;
  bool Required = false, Typical = false, Visible = true;
  std::vector<TBuildFile> Files;
  std::vector<std::string> Directories;  // as the choice holds them (may be fewer than Files)
};

struct TBuildRegEntry {
  int Tab = 0;
  std::string Name;
  int Root = -1;
  std::string Key, ValName, ValValue, Choice;
};

struct TBuildShortcut {
  int Tab = 0;
  std::string Shortcut;   // the key
  std::string Directory;  // a node's text, or "Program Group"
  std::string Name;       // the target's file name; empty until a target is picked
  std::string Choice;
  std::string Target;     // full source path of one of the choice's files
  std::string Arguments, Description;
  int ShowCmd = 0;        // 0 normal, 1 maximized, 2 minimized
  std::string WkDir;      // a node's text; empty for none
};

struct TBuildEVar {
  int Tab = 0;
  std::string EVar;  // the key
  std::string Name, Value, Choice;
  bool NoAction = false;
  bool Delete = true;
  int HowToInstall = 1;  // 0 prefix, 1 append
  int TheType = 0;       // 0 user, 1 system
};

struct TBuildAssociation {
  int Tab = 0;
  std::string Name;  // also the file type's programmatic identifier
  std::string Extension, Choice, IconIndex;
  std::string FileName;  // full source path of one of the choice's files
};

// A merge module to merge into the package: an entry of the Modules page, or
// one of the built-in run-time modules (BuiltIn -1 CLR, -2 BDE Pro, -3 BDE
// Enterprise; 0 for a page entry).
struct TBuildModule {
  int Tab = 0;
  int BuiltIn = 0;
  std::string Name;
  std::string MergeModule;  // full path of the module file
  int Language = 1033;
  std::string Directory, Choice;
};

struct TBuildProject {
  TProjectType Type = TProjectType::ptPackage;
  bool MergeModule() const { return Type == TProjectType::ptMergeModule; }

  // ---- where ----
  std::string AppDir;       // the program folder, with a trailing "\"
  std::string OutputFile;   // the package to build
  std::string ProjectFile;  // the project file (its folder receives Updates2.dat)
  std::string TempPath;     // the temporary folder, with a trailing "\"

  // ---- the Info page ----
  std::string ProductName;       // as typed
  std::string CleanProductName;  // letters, digits and blanks only
  std::string ProductVersion, Manufacturer, ProductCode, PackageCode;
  std::string SupportUrl, HomepageUrl;
  int LanguageIndex = -1;  // the merge module's language entry; -1 none chosen
  int Language = 0;        // its language id
  bool PerMachine = false;
  // The key suffix: empty for an install package, "." and the module code
  // without braces, every "-" as "_", for a merge module.
  std::string KeySuffix;

  // ---- the Build, Msi and Gui pages, the run-time menu ----
  bool IncludePatching = false;  // update support
  std::string VersionComparison;
  std::string BannerBitmap, WelcomeBitmap;  // empty: the program folder's own
  bool ClrRuntime = false, BdePro = false, BdeEnterprise = false;
  bool CdImage = true;
  bool IncludeMsi = false, HtmlUi = false, FlashUi = false;
  bool LicenseHtml = false, ReadmeHtml = false, CustInfoHtml = false, GroupHtml = false;
  bool DisableComplete = false;
  std::string LicenseFile, ReadmeFile;
  std::vector<TDistributionPage> SetupPages;  // the eleven pages in order
  std::string FlashMovie;
  std::vector<std::string> FlashSupportFiles;

  // ---- the item pages ----
  std::vector<TBuildDirectory> Directories;
  std::vector<TBuildChoice> Choices;  // the real choices, in tab order
  std::vector<TBuildRegEntry> RegEntries;
  std::vector<TBuildShortcut> Shortcuts;
  std::vector<TBuildEVar> EVars;
  std::vector<TBuildAssociation> Associations;
  std::vector<TBuildModule> Modules;  // the page's entries with a file, then the ticked built-ins

  // ---- what the build uses of the program ----
  const TFtpData* FtpData = nullptr;  // the project's FTP settings
  // The FTP settings dialog's answer (mrOk goes on); empty: OK.
  std::function<int()> AskFtpSettings;
  TCabinetWriter* CabinetWriter = nullptr;
  // The build's log (the program log); empty: nothing is logged.
  std::function<void(const std::string&)> Log;
};

// ---- the one reader of the main window ----
TBuildProject ReadBuildProject(const TRWInstallForm& form);
// The project the builder holds; when it holds none, read from RWInstallForm.
const TBuildProject& ProjectOf(TBuild& build);

// ---- names ----
std::string ProjectKeySuffix(TProjectType type, const std::string& packageCode);
// The Directory key of a node of the target-directory tree: "TARGETDIR" for
// "<Home Directory>", "SystemFolder" for the system folder in any letter case,
// otherwise the node text followed by the key suffix.
std::string DirectoryKey(const std::string& keySuffix, const std::string& nodeText);
// The installer's formatted path of the first node of the target-directory
// tree with this text: "[TARGETDIR]App\Data", "[ProgramFilesFolder]App";
// empty when no node has it.
std::string FormatDirectoryPath(const TBuildProject& project, const std::string& nodeText);
// The project's choice of this name; nullptr when none.
const TBuildChoice* FindChoice(const TBuildProject& project, const std::string& name);

// ---- the project's files in file-number order ----
enum TPackageFileGroup { pgChoiceFile, pgHelper, pgUninstaller, pgUpdateSupport, pgFtpData };

// One file of the package. Its number n ties the File row "FILE<n>S<name>",
// the Component row "COMP<n>S<name>" and the cabinet member together.
struct TPackageFile {
  int Number = 0;
  TPackageFileGroup Group = pgChoiceFile;
  std::string Name;          // the file name
  std::string Source;        // full source path
  std::string DirectoryKey;  // the Directory key it installs into
  std::string Feature;       // the feature of its component
  int Attributes = 0;        // the Component row's
  bool Marked = false;       // a choice file's self-register or font mark
  const TBuildChoice* Choice = nullptr;  // choice files only
  std::string FileKey(const std::string& keySuffix) const;
  std::string ComponentKey(const std::string& keySuffix) const;
};

// The choice (index into Choices) the uninstaller goes with: the first
// required one, else the first typical one; -1: no uninstaller.
int UninstallerChoice(const TBuildProject& project);

// Every file of the package in file-number order: the choices' files in tab
// and list order, the helper programs, the uninstaller (with an uninstaller
// choice), and with update support the update-support files and, when
// withFtpData, the FTP settings file.
std::vector<TPackageFile> PackageFiles(const TBuildProject& project, bool withFtpData);

}  // namespace tq
