#pragma once
// The "Add Files" dialog: browses drives and folders and adds the chosen files
// to the choice being edited on the Choices page, into the directory picked
// there. It stays open after each Add.
#include <string>

#include "ChoiceControls.h"
#include "ExtCtrls.h"
#include "FileCtrls.h"
#include "Forms.h"
#include "StdCtrls.h"

namespace tq {

class TOpenDlg : public TForm {
 public:
  explicit TOpenDlg(TComponent* owner);
  std::string ClassName() const override { return "TOpenDlg"; }

  TLabel* Label1 = nullptr;
  TEdit* Edit1 = nullptr;  // file name or mask
  TLabel* Label3 = nullptr;
  TDriveComboBox* DriveComboBox1 = nullptr;
  TDirectoryListBox* DirectoryListBox1 = nullptr;
  TLabel* Label4 = nullptr;  // the current folder
  TMultiColumnFileListBox* MultiColumnFileListBox1 = nullptr;
  TButton* buSortByExtension = nullptr;
  TButton* OKBtn = nullptr;      // "Add"
  TButton* CancelBtn = nullptr;  // "Close"
  TTimer* Timer1 = nullptr;      // the deferred select-all

  void FormCreate(TObject* sender);
  // Enter applies the typed folder or mask to the file list.
  void Edit1KeyDown(TObject* sender, uint16_t& key, TShiftState shift);
  // Fits the columns to the longest file name.
  void MultiColumnFileListBox1Change(TObject* sender);
  // Ctrl+A selects every file, once the timer fires.
  void MultiColumnFileListBox1KeyDown(TObject* sender, uint16_t& key, TShiftState shift);
  void Timer1Timer(TObject* sender);
  void buSortByExtensionClick(TObject* sender);
  // Adds the selected files to the main window's selected choice.
  void OKBtnClick(TObject* sender);
};

extern TOpenDlg* OpenDlg;

}  // namespace tq
