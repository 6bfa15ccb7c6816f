#pragma once
// The cabinet phase, the last step of a build. On a fresh builder object (no
// state carries over from the table steps) it gathers every file of the
// package into one MSZIP cabinet -- the project's own files in file-number
// order, then the files the merged modules brought, in the File table's
// Sequence order --, stores the cabinet as a stream of the package, fixes the
// Media row (install package) or reshapes the tables (merge module), commits,
// and with update support keeps a copy of the finished cabinet for update
// creation:
//   <program dir>Patches\<product>\Version<major.minor>\Old\primary.cab
//
// The build driver calls it after the table steps were committed:
//   TBuild cabinetBuild;
//   cabinetBuild.FProject = project;   // the project the table steps built
//   BuildCabinet(cabinetBuild);
//
// Before the cabinet is stored, every File row is checked against the member
// the cabinet library placed: a member missing or of another size than the
// row's FileSize (a source that changed after the File step) ends the phase
// with a message naming the source file. A member that cannot be added
// (locked, vanished) ends it with a message naming the file too.
//
// The phase changes a work copy of the package beside it ("<package>.partial",
// opened in direct mode), which replaces the package once committed.
//
// The update copy is made only once the cabinet is stored in the package and
// the package committed, and during a build it is put in place only together
// with the package (StageUpdateCopy): a failed build -- its distribution too --
// never replaces the baseline that the next version's update is made against. A failed phase commits nothing of its
// own (the package stays as the table steps and any merge that ran left it)
// and leaves no work files behind.
#include <functional>
#include <string>
#include <vector>

#include "build.h"

namespace tq {

class TCabinetWriter;
struct TBuildModule;
struct TBuildProject;

inline constexpr char PackageCabinetName[] = "primary.cab";
inline constexpr char ModuleCabinetName[] = "MergeModule.CABinet";
// Below the temporary folder: receives the files of each merged module's cabinet.
inline constexpr char CabinetWorkFolder[] = "tempcab\\";

// One member of the package cabinet: its source file and its name inside the
// cabinet (the file key "FILE<n>S<name><suffix>").
struct TCabinetMember {
  std::string SourceFile;
  std::string Name;
};

// Everything the phase needs of the open project.
struct TCabinetJob {
  std::string PackageFile;  // the package the table steps committed
  std::string WorkDir;      // the temporary folder, with a trailing "\"
  bool MergeModule = false;
  std::string KeySuffix;    // empty for an install package
  // The project's own files, in file-number order.
  std::vector<TCabinetMember> ProjectFiles;
  // One call per merge module, in merge order. Each merges its module into the
  // package (closed at that time; the merge opens, changes and commits it) and
  // leaves the files of the module's cabinet in WorkDir + CabinetWorkFolder.
  std::vector<std::function<void()>> Merges;
  // Update support on an install package: the finished cabinet is copied into
  // AppDir + "Patches\" + ProductName + "\Version" + VersionFolder + "\Old\".
  bool KeepUpdateCopy = false;
  std::string AppDir;  // with a trailing "\"
  std::string ProductName;
  std::string VersionFolder;  // major.minor of the product version
  // When it names a work file for the copy's path (a build that puts the copy
  // in place together with the package), the copy is written there and left
  // to the build; empty or not set: the copy replaces the old one at once.
  // madeFolders: the copy's folders that are missing and made for it (they go
  // again with a build that fails).
  std::function<std::string(const std::string& target, const std::vector<std::string>& madeFolders)>
      StageUpdateCopy;
  // Drains the window message queue between sub-steps; may be empty.
  std::function<void()> Drain;
};

// ---- the entry point of the build driver ----
// The cabinet phase of the builder's project (ProjectOf(build)) with the
// project's cabinet writer.
void BuildCabinet(TBuild& build);

// The job for a project: cabinet files, merges and the update copy.
TCabinetJob ProjectCabinetJob(const TBuildProject& project);

// Merges one module of the project into the closed package: an entry of the
// Modules page (its Tab) or a built-in runtime module (BuiltIn -1, -2, -3).
// Set by the merge-module code; while it is empty a project with merge modules
// fails to build (its package would lack the modules' files).
using TModuleMerger = std::function<void(const TBuildModule& module)>;
TModuleMerger& ModuleMerger();

// ---- the phase itself ----
void RunCabinetPhase(TBuild& build, TCabinetWriter& writer, const TCabinetJob& job);

// The parts of the phase, in the order RunCabinetPhase runs them.
// Opens the cabinet WorkDir + build.FCabinetName, adds the project's files and
// runs the merges, listing the work folder after each.
void CollectCabinetFiles(TBuild& build, TCabinetWriter& writer, const TCabinetJob& job);
// Appends every file now in the work folder to build.FTempCabFiles (and takes
// a read-only attribute off it, so the folder can be emptied later).
void AddTempCabFiles(TBuild& build, const std::string& workDir);
// Adds the merged files in the File table's Sequence order and completes the
// cabinet (the package must be open in build.FDatabase).
void WriteCabinetInSequence(TBuild& build, TCabinetWriter& writer,
                            const std::function<void()>& drain);
// Stores cabinetFile as the package's stream build.FCabinetName (a row of that
// name is deleted first; the package, a fresh copy of the template, has none).
void EmbedCabinet(TBuild& build, const std::string& cabinetFile);
// Install package: Media.LastSequence covers every File row.
void FixMediaRow(TBuild& build);
// Merge module: Feature and Media go, FeatureComponents stays empty.
void ReshapeModuleTables(TBuild& build);
// Copies the finished cabinet into the version's "Old" folder (creating the
// Patches tree as needed), replacing an earlier copy in one step.
void KeepUpdateCopy(const TCabinetJob& job, const std::string& cabinetFile,
                    const std::string& cabinetName);
// The "Old" folder of the job's version, with a trailing "\".
std::string UpdateCopyFolder(const TCabinetJob& job);

// Deletes every file in WorkDir + CabinetWorkFolder (read-only ones too) and
// creates the folder when it is missing; false when a file stayed.
bool EmptyCabinetWorkFolder(const std::string& workDir);

}  // namespace tq
