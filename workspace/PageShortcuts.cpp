// The Shortcuts page: its tab change, editors, file list, delete button and
// name check.
#include "ItemPages.h"

#include "SysUtils.h"
#include "SystemFoldersDlg.h"
#include "choices.h"
#include "shortcut.h"

namespace tq {

namespace {

// Selects the entry whose file name equals the shortcut's Name; with none and
// a single entry, picks that one as a click does.
void SelectShortcutFile(TRWInstallForm& w, TRwiShortcut& shortcut) {
  TControlItems& items = w.lbFilesShortcuts->Items();
  for (int i = 0; i < items.Count(); ++i)
    if (ExtractFileName(items[i]) == shortcut.FName) {
      w.lbFilesShortcuts->SetItemIndex(i);
      return;
    }
  if (items.Count() == 1) {
    w.lbFilesShortcuts->SetItemIndex(0);
    w.lbFilesShortcutsClick(w.lbFilesShortcuts);
  }
}

const char* const SystemDirectoryEntry = "Select A System Directory...";

// The directory list's last entry: a system folder picked in the system-folder
// dialog becomes the shortcut's directory and a new top-level directory node.
void ChooseShortcutSystemFolder(TRWInstallForm& w) {
  TRwiShortcut* shortcut = SelectedItem<TRwiShortcut>(w.tcShortcuts);
  if (!shortcut || !SystemFoldersDlg) {
    w.cbDirectoryShortcuts->SetItemIndex(-1);
    return;
  }
  auto restore = [] { SystemFoldersDlg->SetSelectionMode(true, "Select one or more folders from the list below"); };
  SystemFoldersDlg->SetSelectionMode(false, "Select a folder from the list below");
  try {
    TListBox* folders = SystemFoldersDlg->lbSystemFolders;
    int chosen = SystemFoldersDlg->ShowModal() == mrOk ? folders->ItemIndex() : -1;
    if (chosen < 0) {
      w.cbDirectoryShortcuts->SetItemIndex(-1);
    } else if (std::string name = folders->Items()[chosen]; DirNodeIndex(w, name) >= 0) {
      ShowMessage("That directory is in the list presently. Select it from there");
      w.cbDirectoryShortcuts->SetItemIndex(DirNodeIndex(w, shortcut->Directory));
    } else {
      int at = w.cbDirectoryShortcuts->Items().Count() - 1;
      w.cbDirectoryShortcuts->Items().Insert(at, name);
      w.cbDirectoryShortcuts->SetItemIndex(at);
      w.trTargetDir->Items().Add(nullptr, name);
      w.FDirNodeNames->Add(name);
      shortcut->Directory = name;
      w.FModified = 1;
    }
  } catch (...) {
    restore();
    throw;
  }
  restore();
}

}  // namespace

void FillShortcutLists(TRWInstallForm& w) {
  FillChoiceNames(w, w.cbChoicesShortcuts);
  FillDirectoryLists(w, {&w.cbDirectoryShortcuts->Items(), &w.cbWkDir->Items()});
  w.cbDirectoryShortcuts->Items().Add("Program Group");
  w.FDirNodeNames->Add("Program Group");
  w.cbDirectoryShortcuts->Items().Add(SystemDirectoryEntry);
}

void FillShortcutsPage(TRWInstallForm& w) {
  TRwiShortcut* shortcut = SelectedItem<TRwiShortcut>(w.tcShortcuts);
  if (!shortcut) return;
  w.edNameShortcut->SetText(shortcut->Shortcut);
  w.cbDirectoryShortcuts->SetItemIndex(DirNodeIndex(w, shortcut->Directory));
  w.edArguments->SetText(shortcut->Arguments);
  w.edDescriptionShortcuts->SetText(shortcut->Description);
  w.cbShowCmd->SetItemIndex(shortcut->ShowCmd >= 0 && shortcut->ShowCmd < w.cbShowCmd->Items().Count()
                                ? shortcut->ShowCmd
                                : -1);
  w.cbWkDir->SetItemIndex(DirNodeIndex(w, shortcut->WkDir));
  SelectComboText(w.cbChoicesShortcuts, shortcut->Choice);
  if (w.cbChoicesShortcuts->ItemIndex() >= 0 && FillChoiceFileList(w, w.lbFilesShortcuts, shortcut->Choice))
    SelectShortcutFile(w, *shortcut);
  if (TurnPlaceholder(w, ipShortcuts, shortcut)) {
    w.cbChoicesShortcuts->SetItemIndex(-1);
    w.lbFilesShortcuts->Items().Clear();
  }
}

void TRWInstallForm::SetShortcutFilesListExtent() { SetListExtent(lbFilesShortcuts); }

void TRWInstallForm::edNameShortcutChange(TObject*) { RenameSelected(*this, ipShortcuts); }

void TRWInstallForm::cbChoicesShortcutsClick(TObject*) {
  EditSelected<TRwiShortcut>(*this, tcShortcuts, [this](TRwiShortcut& shortcut) {
    int index = cbChoicesShortcuts->ItemIndex();
    shortcut.Choice = index >= 0 ? cbChoicesShortcuts->Items()[index] : "";
    // The choice list lists the choice tabs in order.
    if (index >= 0 && index < tcChoices->Tabs().Count())
      if (auto* choice = dynamic_cast<TChoice*>(tcChoices->Tabs().GetObjectAt(index))) {
        lbFilesShortcuts->Items().Clear();
        for (int k = 0; k < choice->Files->Count(); ++k) lbFilesShortcuts->Items().Add(choice->Files->Get(k));
        lbFilesShortcuts->SetItemIndex(-1);
        SelectShortcutFile(*this, shortcut);
        SetShortcutFilesListExtent();
      }
  });
}

void TRWInstallForm::cbDirectoryShortcutsClick(TObject*) {
  int index = cbDirectoryShortcuts->ItemIndex();
  int last = cbDirectoryShortcuts->Items().Count() - 1;
  if (index >= 0 && index == last && cbDirectoryShortcuts->Items()[last] == SystemDirectoryEntry) {
    ChooseShortcutSystemFolder(*this);
    return;
  }
  EditField(*this, tcShortcuts, &TRwiShortcut::Directory, SelectedDirNode(*this, cbDirectoryShortcuts));
}

void TRWInstallForm::edArgumentsChange(TObject*) {
  EditField(*this, tcShortcuts, &TRwiShortcut::Arguments, edArguments->Text());
}

void TRWInstallForm::edDescriptionShortcutsChange(TObject*) {
  EditField(*this, tcShortcuts, &TRwiShortcut::Description, edDescriptionShortcuts->Text());
}

void TRWInstallForm::cbShowCmdClick(TObject*) {
  EditField(*this, tcShortcuts, &TRwiShortcut::ShowCmd, SelectedIndex(cbShowCmd));
}

void TRWInstallForm::cbWkDirClick(TObject*) {
  EditField(*this, tcShortcuts, &TRwiShortcut::WkDir, SelectedDirNode(*this, cbWkDir));
}

// Runs whatever FUpdating holds: the tab change picks a choice's only file
// through it.
void TRWInstallForm::lbFilesShortcutsClick(TObject*) {
  TRwiShortcut* shortcut = SelectedItem<TRwiShortcut>(tcShortcuts);
  int index = lbFilesShortcuts->ItemIndex();
  if (!shortcut || index < 0) return;
  shortcut->Target = lbFilesShortcuts->Items()[index];
  shortcut->FName = ExtractFileName(shortcut->Target);
  FModified = 1;
}

void TRWInstallForm::buShortcutsDeleteClick(TObject*) { DeleteSelectedItem(*this, ipShortcuts); }

void TRWInstallForm::edNameShortcutKeyPress(TObject*, char& key) { CheckNameClash(*this, ipShortcuts, key); }

}  // namespace tq
