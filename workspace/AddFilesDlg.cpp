#include "AddFilesDlg.h"

#include "ElasticForm.h"
#include "ItemPages.h"
#include "SortedByExtension.h"
#include "SysUtils.h"
#include "choices.h"

namespace tq {

TOpenDlg* OpenDlg = nullptr;

TOpenDlg::TOpenDlg(TComponent* owner) : TForm(owner) {
  RegisterChoiceControlClasses();
  RegisterComponentClass<TElasticForm>("TElasticForm");
  TQ_FIELD(Label1);
  TQ_FIELD(Edit1);
  TQ_FIELD(Label3);
  TQ_FIELD(DriveComboBox1);
  TQ_FIELD(DirectoryListBox1);
  TQ_FIELD(Label4);
  TQ_FIELD(MultiColumnFileListBox1);
  TQ_FIELD(buSortByExtension);
  TQ_FIELD(OKBtn);
  TQ_FIELD(CancelBtn);
  TQ_FIELD(Timer1);
  TQ_HANDLER(TOpenDlg, FormCreate);
  TQ_HANDLER(TOpenDlg, Edit1KeyDown);
  TQ_HANDLER(TOpenDlg, MultiColumnFileListBox1Change);
  TQ_HANDLER(TOpenDlg, MultiColumnFileListBox1KeyDown);
  TQ_HANDLER(TOpenDlg, Timer1Timer);
  TQ_HANDLER(TOpenDlg, buSortByExtensionClick);
  TQ_HANDLER(TOpenDlg, OKBtnClick);
  LoadLayoutResource("ADDFILESDLG");
}

void TOpenDlg::FormCreate(TObject*) {
  MultiColumnFileListBox1->SetColumnWidth(200);
  // The dialog keys would take Enter from the edit.
  Edit1->MessageHooks.push_back([](TControl*, UINT msg, WPARAM w, LPARAM, LRESULT& result) {
    if (msg != WM_GETDLGCODE || w != VK_RETURN) return false;
    result = DLGC_WANTALLKEYS | DLGC_HASSETSEL | DLGC_WANTCHARS | DLGC_WANTARROWS;
    return true;
  });
}

void TOpenDlg::Edit1KeyDown(TObject*, uint16_t& key, TShiftState) {
  if (key != VK_RETURN) return;
  key = 0;
  MultiColumnFileListBox1->ApplyFilePath(Edit1->Text());
}

void TOpenDlg::MultiColumnFileListBox1Change(TObject*) {
  // The list reads its first folder while the layout loads, before the fields are set.
  if (!MultiColumnFileListBox1) return;
  int width = LongestEntryWidth(MultiColumnFileListBox1);
  if (width >= 0) MultiColumnFileListBox1->SetColumnWidth(width + 10);
}

void TOpenDlg::MultiColumnFileListBox1KeyDown(TObject*, uint16_t& key, TShiftState shift) {
  if (key == 'A' && (shift & ssCtrl)) Timer1->SetEnabled(true);
}

void TOpenDlg::Timer1Timer(TObject*) {
  Timer1->SetEnabled(false);
  MultiColumnFileListBox1->SelectAll();
}

void TOpenDlg::buSortByExtensionClick(TObject*) {
  TSortedByExtensionStringList files;
  files.Assign(MultiColumnFileListBox1->Items());
  files.Sort();
  MultiColumnFileListBox1->SetSorted(false);
  MultiColumnFileListBox1->Items().Assign(files);
}

void TOpenDlg::OKBtnClick(TObject*) {
  TRWInstallForm* w = RWInstallForm;
  if (!w) return;
  TChoice* choice = SelectedItem<TChoice>(w->tcChoices);
  std::string dir = DirNodeName(*w, w->lbDirectories->ItemIndex());
  // Files go into the directory picked on the Choices page; without a choice
  // and a directory there is nowhere to add them.
  if (choice && w->lbDirectories->ItemIndex() >= 0 && !dir.empty()) {
    std::string folder = IncludeTrailingPathDelimiter(MultiColumnFileListBox1->Directory());
    TControlItems& files = MultiColumnFileListBox1->Items();
    TControlItems& listed = w->lbFiles->Items();
    for (int i = 0; i < files.Count(); ++i) {
      if (!MultiColumnFileListBox1->Selected(i)) continue;
      std::string name = files[i];
      bool present = false;
      for (int k = 0; k < listed.Count() && !present; ++k) present = AnsiSameText(listed[k], name);
      if (present) continue;
      std::string path = folder + name;
      listed.AddObject(name, new TFilePathObject(path));
      w->FChoiceFilePaths->AddIntObject(path, 0);
      w->FChoiceFileDirs->Add(dir);
    }
    choice->Files->Assign(*w->FChoiceFilePaths);
    choice->Directories->Assign(*w->FChoiceFileDirs);
    w->SetFilesListExtent();
  }
  w->FModified = 1;
}

}  // namespace tq
