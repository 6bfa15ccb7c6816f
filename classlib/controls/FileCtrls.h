#pragma once
// The file-choosing controls: a combo box of the machine's drives, a list box
// of a folder's path and sub-folders, and a list box of a folder's files that
// match a mask. Linked together they browse as one: the drive box drives the
// folder list, the folder list drives the file list.
#include <string>
#include <vector>

#include "StdCtrls.h"

namespace tq {

class TDirectoryListBox;

// The files of Directory whose names match Mask (wildcards "*" and "?"),
// listed by name, letter case ignored. OnChange fires whenever the list is
// read again. A FileEdit shows the mask, and the name of a file the user picks.
class TFileListBox : public TListBox {
 public:
  explicit TFileListBox(TComponent* owner);
  TQ_CLASS_NAME(TFileListBox)
  // The folder listed, without a trailing "\" except for a drive's root.
  const std::string& Directory() const { return FDirectory; }
  void SetDirectory(const std::string& dir);
  const std::string& Mask() const { return FMask; }
  void SetMask(const std::string& mask);
  TEdit* FileEdit() const { return FFileEdit; }
  void SetFileEdit(TEdit* edit);
  // Applies a typed path: a folder becomes the listed folder; otherwise its
  // folder part (when there is one) does, and its name part becomes the mask.
  // A folder that does not exist raises EInOutError and changes nothing.
  void ApplyFilePath(const std::string& path);
  // Reads the folder again.
  void Update();
  // The width of the columns of a multi-column list, in pixels.
  int ColumnWidth() const { return FColumnWidth; }
  void SetColumnWidth(int width);
  void SelectAll();
  TNotifyEvent OnChange;
  bool SetLayoutProperty(const TLayoutProperty& prop, TLayoutLoader& loader) override;

 protected:
  friend class TDirectoryListBox;
  void InitWindow() override;
  bool CNCommand(WORD code) override;
  void Loaded() override;
  void Notification(TComponent* component, TOperation operation) override;
  std::string FDirectory;
  std::string FMask = "*.*";
  TEdit* FFileEdit = nullptr;
  TDirectoryListBox* FDirList = nullptr;
  int FColumnWidth = 0;
};

// The levels of Directory's path, then its sub-folders, each indented by its
// depth. Double-clicking an entry opens that folder. The linked FileList
// lists the folder's files, the linked DirLabel shows its path.
class TDirectoryListBox : public TListBox {
 public:
  explicit TDirectoryListBox(TComponent* owner);
  ~TDirectoryListBox() override;
  TQ_CLASS_NAME(TDirectoryListBox)
  const std::string& Directory() const { return FDirectory; }
  // Opens dir (a folder that does not exist raises EInOutError).
  void SetDirectory(const std::string& dir);
  // The full path of an entry.
  std::string GetItemPath(int index) const;
  TFileListBox* FileList() const { return FFileList; }
  void SetFileList(TFileListBox* list);
  TLabel* DirLabel() const { return FDirLabel; }
  void SetDirLabel(TLabel* label);
  // Opens the folder of the selected entry, as a double click does.
  void OpenSelected();
  TNotifyEvent OnChange;
  bool SetLayoutProperty(const TLayoutProperty& prop, TLayoutLoader& loader) override;

 protected:
  bool CNCommand(WORD code) override;
  void Loaded() override;
  void Notification(TComponent* component, TOperation operation) override;
  void Fill();
  std::string FDirectory;
  std::vector<std::string> FPaths;  // position for position with the entries
  TFileListBox* FFileList = nullptr;
  TLabel* FDirLabel = nullptr;
};

// The drives of the machine ("c:"), the current one selected; choosing one
// opens its root in the linked DirList.
class TDriveComboBox : public TComboBox {
 public:
  explicit TDriveComboBox(TComponent* owner);
  TQ_CLASS_NAME(TDriveComboBox)
  // The selected drive letter, lower case.
  char Drive() const { return FDrive; }
  void SetDrive(char drive);
  TDirectoryListBox* DirList() const { return FDirList; }
  void SetDirList(TDirectoryListBox* list);
  bool SetLayoutProperty(const TLayoutProperty& prop, TLayoutLoader& loader) override;

 protected:
  bool CNCommand(WORD code) override;
  void Notification(TComponent* component, TOperation operation) override;
  void FillDrives();
  char FDrive = 0;
  TDirectoryListBox* FDirList = nullptr;
};

// True when name matches mask: "*" any run of characters, "?" any one
// character, letter case ignored; "*.*" matches every name.
bool FileNameMatchesMask(const std::string& name, const std::string& mask);

}  // namespace tq
