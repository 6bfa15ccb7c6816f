#pragma once
// Update creation: tracks the product version as the user edits it, and turns
// the old and the new build's package cabinet into update files, one per choice
// and target directory, in the Patches tree beside the program:
//   D = <program dir>Patches\<product>\Version<v>   the version folder of v
//   D\Old\primary.cab      the cabinet of the last build of v (after an update
//                          is made, the cabinet of the next version)
//   D\Old\Patch0.cab       the cabinet of v itself, kept when the first update is made
//   D\New\primary.cab      the cabinet of the following version
//   D\Old\Old\, D\New\New\ work folders for the extracted cabinets
//   D\Patch0.<choice>.<dirpath>.upd   the update files from v to the next
// The main window keeps the state (TUpdateState) and hands the project's data
// over (TUpdateProject); the cabinet reader is reached through a callback.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "UpdateProgress.h"
#include "Updprops.h"

namespace tq {

// The main window's update fields.
struct TUpdateState {
  uint8_t FVersionEdited = 0;    // an Info page field changed since the last version check
  std::string FUpdateVersion;    // major.minor of the version last accepted
  std::string FUpdateFrom;       // major.minor an update starts from
  uint8_t FAllowAutoUpdate = 1;  // the user allowed automatic updates at the last version change
  uint8_t FUpdatePending = 1;    // a version change not yet followed by a good build
  uint8_t FUpdateCreated = 0;    // the update FUpdateFrom to FUpdateVersion was made from the Updates page
  int FPatchCount = -1;          // number in the update file names; 0 once an update was made
  uint8_t FModified = 0;
};

// One choice of the project: entry k of Files is the source path of file k and
// entry k of Directories the text of its node in the target directory tree.
struct TUpdateChoice {
  std::string Name;
  std::vector<std::string> Files;
  std::vector<std::string> Directories;
};

// A node of the target directory tree; Parent is the index of its parent node,
// -1 for a root. The nodes are in the tree's item order (parents first).
struct TTargetDirNode {
  std::string Text;
  int Parent = -1;
};

extern const char HomeDirectoryNode[];  // "<Home Directory>"

struct TUpdateProject {
  std::string AppDir;          // program directory, with a trailing backslash
  std::string ProductName;     // as typed
  std::string ProductVersion;  // as typed
  bool IncludePatching = false;
  std::vector<TUpdateChoice> Choices;  // in tab order, without the placeholder
  std::vector<TTargetDirNode> TargetDirs;
};

// The version text up to, not including, its second "."; the whole text when it
// has none.
std::string GetMajorMinorVersion(const std::string& Version);

// The directory part of an update file's name for a node: "000TARGET" for
// "<Home Directory>", "000SYS" and the text for another root, the texts below
// "<Home Directory>" joined by "." (Bin.Data); below another root, "000SYS",
// the root's text and the texts below it joined by ".".
std::string UpdateDirPath(const std::vector<TTargetDirNode>& Nodes, int Index);

// Leaving the version edit: asks about automatic updates when the version
// changed with update support on.
void ProductVersionExit(TUpdateState& State, const TUpdateProject& Project);

// Renames every file "FILE<digits>S<name>" of Folder to <name>; a rename whose
// target exists leaves the file as it is.
void RenameExtractedCabFiles(const std::string& Folder);

class TUpdateCreator {
 public:
  TUpdateCreator(TUpdateState& State, TUpdateFileMaker& Builder) : FState(State), FBuilder(Builder) {}

  // Extracts every member of a cabinet into a folder under its member name.
  std::function<void(const std::string& Cabinet, const std::string& Folder)> ExtractCabinet;
  // Deletes the files of a folder (the recycle bin on Windows); when empty, the
  // files are deleted for good.
  std::function<void(const std::string& Folder)> OnDeleteFolderFiles;
  // The hourglass cursor.
  TUpdateProgressView* BusyView = nullptr;

  // The Create Update button of the Updates page.
  void CreateNewPatchClick(const TUpdateProject& Project);
  // Takes this build's cabinet (D(FUpdateVersion)\Old\primary.cab) as the next
  // version's (D(FUpdateFrom)\New\primary.cab), creates the update from
  // FUpdateFrom and records the pair in AllowedUpdates.ini; true when made.
  // A cabinet that cannot be copied raises EFOpenError or EFCreateError.
  bool CreateRecordedUpdate(const TUpdateProject& Project);
  // True when at least one update file exists afterwards.
  bool CreateUpdate(const TUpdateProject& Project, const std::string& FromVersion);
  void DeleteFolderFiles(const std::string& Folder);

  // Paths of version v's folders.
  static std::string VersionFolder(const TUpdateProject& Project, const std::string& Version);

 private:
  TUpdateState& FState;
  TUpdateFileMaker& FBuilder;
};

}  // namespace tq
