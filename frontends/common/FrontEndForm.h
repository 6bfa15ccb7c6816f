#pragma once
// What both front-ends' main windows share: the user's choices, the program
// folder and the package named by the first command-line argument, the hidden
// feature tree read from the package, and the package's Manufacturer.
//
// A front-end's main window derives from TFrontEndForm, names its hidden tree
// (SetFeatureTree) and fills the fields from its pages or its session.
#include <memory>
#include <string>
#include <vector>

#include "Feature.h"
#include "Forms.h"
#include "Installer.h"
#include "TreeView.h"

namespace tq {

// The install-type names, indexed by InstallType.
inline const char* const kInstallTypeNames[3] = {"Typical", "Custom", "Complete"};
std::string InstallTypeName(int installType);

// The user's choices, as the pages or the session collect them.
struct TUserChoices {
  std::string CustomerName;
  std::string CompanyName;      // starts as the package's Manufacturer
  std::string Key;              // kept and shown, never passed to the installer
  std::string DestinationPath;  // the install location
  std::string Group;            // the program group's name
  uint8_t InstallType = 0;      // 0 Typical, 1 Custom, 2 Complete
  std::string FeatureList;
  bool GroupCurrentUser = true;  // the group goes to the current user's Programs folder
};

class TFrontEndForm : public TForm, public TUserChoices {
 public:
  explicit TFrontEndForm(TComponent* owner);
  bool IsNT = false;

  // ---- the program ----
  // The program folder (with a trailing backslash) and the package argument,
  // taken from the command line unless set (tests set them).
  std::string ProgramFolder;
  std::string PackageArgument;
  std::string PackagePath() const { return ProgramFolder + PackageArgument; }
  void ReadCommandLine();

  // ---- the package ----
  // Rebuilds the feature tree from the package's Feature table with an
  // installer object of its own at UILevel 2. Raises when the package cannot
  // be opened or read. Returns the keys left out for a parent that never
  // appears.
  std::vector<std::string> LoadFeatureTree();
  TTreeNode* FindFeatureNode(const std::string& name) const;
  // The package argument's file name up to its last "."; empty without one
  // (or when its only "." is its first character).
  std::string GetPackageBaseName() const;
  // CompanyName := the package's Manufacturer; empty on any failure after the
  // package opened. A failure to open it raises when raiseOnOpen is set.
  void ReadManufacturer(TInstaller& installer, bool raiseOnOpen);

  TTreeView* FeatureTree() const { return FFeatureTree; }
  const std::vector<std::unique_ptr<TFeature>>& FeatureRecords() const { return FFeatureRecords; }

 protected:
  void SetFeatureTree(TTreeView* tree) { FFeatureTree = tree; }

 private:
  TTreeView* FFeatureTree = nullptr;
  std::vector<std::unique_ptr<TFeature>> FFeatureRecords;
};

// The Feature table's rows of a package, opened as a session of the installer.
std::vector<TFeatureRow> ReadFeatureRows(TInstaller& installer, const std::string& packagePath);
// Whether GetVersionExA reports Windows NT.
bool PlatformIsNT();

}  // namespace tq
