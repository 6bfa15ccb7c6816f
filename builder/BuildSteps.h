#pragma once
// The table steps of a build. Each runs on the builder object that carries the
// open package between the steps and reads the open project from the main
// window RWInstallForm; the build command calls them in a fixed order.
//
//   TBuild build;
//   if (!PrepareDatabase(build)) return;   // missing source files were listed
//   WriteDirectoryTable(build);
//   WriteFeatureTable(build);
//   WriteComponentTables(build);
//   WriteFileTables(build);
//   ...
//
// Project data at fault raises EBuildException; a failed installer call raises
// EInstallerError; both end the build.
#include <string>

#include "build.h"

namespace tq {

class TChoice;
class TRWInstallForm;

// ---- results shared by the steps of one build ----
// 1 until a visible choice becomes a feature: the custom install type then has
// nothing to offer.
extern int DisableCustomFlag;
// The source paths of the last choice files named "license.txt" and
// "readme.txt" (empty: none).
extern std::string FoundLicenseFile;
extern std::string FoundReadmeFile;

// ---- the steps, in the order the build command runs them ----
// Copies the template to the output path, checks the Info page, writes the
// summary information, the product's properties and the dialog bitmaps. False
// when source files of the choices are missing (the list has been shown).
bool PrepareDatabase(TBuild& build);
// The Directory table from the target-directory tree; committed.
void WriteDirectoryTable(TBuild& build);
// The Feature table from the choices and the hidden features; committed.
void WriteFeatureTable(TBuild& build);
// Component, FeatureComponents and (merge modules) ModuleComponents; also picks
// the uninstaller's choice and writes Updates2.dat with update support.
void WriteComponentTables(TBuild& build);
// File, Media, SelfReg and Font; committed.
void WriteFileTables(TBuild& build);

// ---- what the steps share ----
// The choice on a walked tab; nullptr for a tab without one.
TChoice* BuiltChoice(const TRWInstallForm& form, int tab);

// The Directory key of a node of the target-directory tree: "TARGETDIR" for
// "<Home Directory>", "SystemFolder" for the system folder in any letter case,
// otherwise the node text followed by the key suffix.
std::string DirectoryKey(const TBuild& build, const std::string& nodeText);

// The installer's formatted path of the first node of the target-directory tree
// with this text: "[TARGETDIR]App\Data", "[ProgramFilesFolder]App"; empty when
// no node has it.
std::string FormatDirectoryPath(const std::string& nodeText);

// The key suffix of the open project: empty for an install package, "." and the
// module code without braces, every "-" as "_", for a merge module.
std::string ProjectKeySuffix(const TRWInstallForm& form);

// Drains the window message queue (between and inside the steps).
void DrainMessages();

}  // namespace tq
