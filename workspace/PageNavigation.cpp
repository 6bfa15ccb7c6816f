// The main window's pages: the side bar picks one, and its show function brings
// the sheet forward (only its hidden tab made visible), refills the page's
// choice and directory lists, loads the item editors through the tab change
// and puts the focus on the page's first field.
#include <windows.h>

#include <algorithm>

#include "ItemPages.h"
#include "associations.h"
#include "evar.h"
#include "regentry.h"
#include "shortcut.h"

namespace tq {

namespace {

constexpr int BlanksPerLevel = 4;
constexpr int MostBlanks = 68;

struct TPageShow {
  const char* Caption;
  void (TRWInstallForm::*Show)();
};
const TPageShow PageShows[] = {
    {"Info", &TRWInstallForm::DoInfo},
    {"Directories", &TRWInstallForm::DoDirectories},
    {"Choices", &TRWInstallForm::DoChoices},
    {"Registry", &TRWInstallForm::DoRegistry},
    {"Shortcuts", &TRWInstallForm::DoShortcuts},
    {"Environment", &TRWInstallForm::DoEnvironment},
    {"Modules", &TRWInstallForm::DoModules},
    {"Build", &TRWInstallForm::DoBuild},
    {"Gui", &TRWInstallForm::DoGui},
    {"Msi", &TRWInstallForm::DoMsi},
    {"Associations", &TRWInstallForm::DoAssociations},
    {"Updates", &TRWInstallForm::DoUpdates},
};

// Only the shown sheet's tab is visible.
void ShowSheet(TRWInstallForm& w, TTabSheet* sheet) {
  if (TTabSheet* active = w.PageControl1->ActivePage()) active->SetTabVisible(false);
  w.PageControl1->SetActivePage(sheet);
  sheet->SetTabVisible(true);
}

// A disabled field, or one of a window not on the screen, is not focused.
void FocusField(TWinControl* field) {
  if (field->Enabled() && IsWindowVisible(field->Handle())) field->SetFocus();
}

// A merge module has one choice: the page's list selects it and the current
// item takes it (loading a page is no edit).
template <class TItem>
void UseSingleChoice(TRWInstallForm& w, TTabControl* tabs, TComboBox* box) {
  if (w.FProjectType != 1 || box->Items().Count() == 0) return;
  box->SetItemIndex(0);
  if (TItem* item = SelectedItem<TItem>(tabs)) item->Choice = box->Items()[0];
}

}  // namespace

void FillChoiceNames(TRWInstallForm& w, TComboBox* box) {
  box->Items().Clear();
  for (int i = 0; i < w.RealChoiceCount(); ++i) box->Items().Add(w.tcChoices->Tabs()[i]);
}

void FillDirectoryLists(TRWInstallForm& w, std::initializer_list<TControlItems*> lists) {
  w.FDirNodeNames->Clear();
  for (TControlItems* list : lists) list->Clear();
  for (TTreeNode* n = w.trTargetDir->Items().GetFirstNode(); n; n = n->GetNext()) {
    w.FDirNodeNames->Add(n->Text());
    const int blanks = std::min(BlanksPerLevel * n->Level(), MostBlanks);
    const std::string indented = std::string(static_cast<size_t>(blanks), ' ') + n->Text();
    for (TControlItems* list : lists) list->Add(indented);
  }
}

void TRWInstallForm::Outlook1ItemClick(TObject*, const std::string& caption) {
  for (const TPageShow& page : PageShows)
    if (caption == page.Caption) {
      (this->*page.Show)();
      return;
    }
}

void TRWInstallForm::ElasticForm1AfterResize(TObject*) { Outlook1->ArrangeItems(); }

void TRWInstallForm::DoInfo() {
  ShowSheet(*this, TabSheet1);
  FocusField(edProductName);
}

void TRWInstallForm::DoDirectories() {
  ShowSheet(*this, TabSheet2);
  trTargetDir->SetSelected(nullptr);
  FocusField(trTargetDir);
}

void TRWInstallForm::DoChoices() {
  ShowSheet(*this, TabSheet3);
  FillDirectoryLists(*this, {&lbDirectories->Items()});
  ClearFilesList();
  tcChoicesChange(tcChoices);
  if (FProjectType == 0) FocusField(edNameChoices);
}

void TRWInstallForm::DoRegistry() {
  ShowSheet(*this, TabSheet4);
  FillChoiceNames(*this, cbChoicesRegistry);
  if (!edProductName->Text().empty() && !edManufacturer->Text().empty()) {
    const std::string key = "Software\\" + edManufacturer->Text() + "\\" + GetCleanProductName();
    TControlItems& keys = cbKey->Items();
    if (keys.Count() == 0 || keys[0] != key) keys.Insert(0, key);
  }
  UseSingleChoice<TRegEntry>(*this, tcRegistry, cbChoicesRegistry);
  tcChoicesChange(tcRegistry);
  FocusField(edNameRegistry);
}

void TRWInstallForm::DoShortcuts() {
  ShowSheet(*this, TabSheet5);
  FillShortcutLists(*this);
  UseSingleChoice<TRwiShortcut>(*this, tcShortcuts, cbChoicesShortcuts);
  tcChoicesChange(tcShortcuts);
  FocusField(edNameShortcut);
}

void TRWInstallForm::DoEnvironment() {
  ShowSheet(*this, TabSheet6);
  FillChoiceNames(*this, cbChoicesEvar);
  UseSingleChoice<TEVar>(*this, tcEVar, cbChoicesEvar);
  tcChoicesChange(tcEVar);
  FocusField(edNameEvar);
}

void TRWInstallForm::DoModules() {
  ShowSheet(*this, TabSheet7);
  FillDirectoryLists(*this, {&cbDirectoryMergeModules->Items()});
  cbDirectoryMergeModules->SetItemIndex(-1);
  FillChoiceNames(*this, cbChoicesMergeModules);
  tcChoicesChange(tcMergeModules);
  FocusField(edNameMergeModules);
}

void TRWInstallForm::DoBuild() {
  ShowSheet(*this, TabSheet8);
  FocusField(gbBuildType);
}

void TRWInstallForm::DoGui() {
  ShowSheet(*this, TabSheet10);
  PageControl2->SetActivePage(TabSheet11);
  FocusField(ckbFlashUi);
}

void TRWInstallForm::DoMsi() {
  ShowSheet(*this, TabSheet14);
  FocusField(edWelcomeBitmap);
}

void TRWInstallForm::DoAssociations() {
  ShowSheet(*this, TabSheet15);
  FillChoiceNames(*this, cbChoicesAssociations);
  UseSingleChoice<TAssociation>(*this, tcAssociations, cbChoicesAssociations);
  tcChoicesChange(tcAssociations);
  FocusField(edNameAssociations);
}

void TRWInstallForm::DoUpdates() {
  ShowSheet(*this, TabSheet16);
  const bool fromVersion = !FUpdateFrom.empty();
  buCreateNewPatch->SetEnabled(fromVersion);
  buUploadToFtpSite->SetEnabled(fromVersion);
  FocusField(buCreateNewPatch);
}

}  // namespace tq
