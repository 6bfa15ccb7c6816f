// The frame all item pages share: event installation, the tab change, the
// placeholder turn and the name-clash check.
#include "ItemPages.h"

#include <algorithm>

#include <windows.h>

#include "Prompts.h"
#include "SysUtils.h"
#include "choices.h"

namespace tq {

bool PlaceholderSelected(TTabControl* tabs) {
  int count = tabs->Tabs().Count();
  return count > 0 && tabs->TabIndex() == count - 1;
}

void TurnPlaceholder(TTabControl* tabs, TEdit* nameField, const std::string& displayName,
                     const std::string& placeholder, TObject* newItem) {
  int index = tabs->TabIndex();
  tabs->Tabs().Put(index, displayName);
  nameField->SetText(displayName);
  tabs->Tabs().AddObject(placeholder, newItem);
  tabs->SetTabIndex(index);
}

bool DeleteSelectedItemTab(TTabControl* tabs) {
  int index = tabs->TabIndex();
  int count = tabs->Tabs().Count();
  if (index < 0 || index >= count - 1) return false;
  TObject* item = tabs->Tabs().GetObjectAt(index);
  tabs->Tabs().PutObjectAt(index, nullptr);
  tabs->Tabs().Delete(index);
  delete item;
  tabs->SetTabIndex(0);
  return true;
}

void CheckNameClash(TTabControl* tabs, TEdit* nameField, char key, const std::string& message) {
  std::string text = nameField->Text() + key;
  TControlItems& items = tabs->Tabs();
  for (int i = 0; i < items.Count(); ++i)
    if (items[i] == text) {
      MessageDlg(message, mtError, mbOK);
      return;
    }
}

int TRWInstallForm::RealChoiceCount() const {
  const int count = tcChoices->Tabs().Count();
  return FProjectType == 0 ? std::max(count - 1, 0) : count;
}

void SelectComboText(TComboBox* box, const std::string& text) {
  box->SetItemIndex(box->Items().IndexOf(text));
}

int DirNodeIndex(TRWInstallForm& w, const std::string& name) {
  return w.FDirNodeNames ? w.FDirNodeNames->IndexOf(name) : -1;
}

std::string DirNodeName(TRWInstallForm& w, int index) {
  if (!w.FDirNodeNames || index < 0 || index >= w.FDirNodeNames->Count()) return "";
  return w.FDirNodeNames->Get(index);
}

int LongestEntryWidth(TListBox* list) {
  TControlItems& items = list->Items();
  if (items.Count() == 0) return -1;
  int longest = 0;
  for (int i = 1; i < items.Count(); ++i)
    if (items[i].size() > items[longest].size()) longest = i;
  std::string text = items[longest];
  HWND wnd = list->Handle();
  HDC dc = GetDC(wnd);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(wnd, WM_GETFONT, 0, 0)));
  SIZE size{};
  GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(wnd, dc);
  return size.cx;
}

void SetListExtent(TListBox* list) {
  int width = LongestEntryWidth(list);
  if (width < 0) return;
  SendMessageA(list->Handle(), LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(width + 100), 0);
}

bool FillChoiceFileList(TRWInstallForm& w, TListBox* list, const std::string& choiceName) {
  TControlItems& tabs = w.tcChoices->Tabs();
  for (int i = 0; i < tabs.Count(); ++i) {
    if (tabs[i] != choiceName) continue;
    auto* choice = dynamic_cast<TChoice*>(tabs.GetObjectAt(i));
    if (!choice) return false;
    list->Items().Clear();
    for (int k = 0; k < choice->Files->Count(); ++k) list->Items().Add(choice->Files->Get(k));
    list->SetItemIndex(-1);
    return true;
  }
  return false;
}

void TRWInstallForm::tcChoicesChange(TObject* sender) {
  // A nested change (a queued click during the choices page's message drain)
  // must not clear the outer change's flag.
  uint8_t wasUpdating = FUpdating;
  FUpdating = 1;
  try {
    if (sender == tcChoices) FillChoicesPage(*this);
    else if (sender == tcRegistry) FillRegistryPage(*this);
    else if (sender == tcShortcuts) FillShortcutsPage(*this);
    else if (sender == tcEVar) FillEnvironmentPage(*this);
    else if (sender == tcMergeModules) FillModulesPage(*this);
    else if (sender == tcAssociations) FillAssociationsPage(*this);
  } catch (...) {
    FUpdating = wasUpdating;
    throw;
  }
  FUpdating = wasUpdating;
}

void TRWInstallForm::BindItemPageEvents() {
  auto change = [this](TObject* s) { tcChoicesChange(s); };
  for (TTabControl* t : {tcChoices, tcRegistry, tcShortcuts, tcEVar, tcMergeModules, tcAssociations})
    t->OnChange = change;
  auto bind = [this](void (TRWInstallForm::*m)(TObject*)) { return [this, m](TObject* s) { (this->*m)(s); }; };
  auto key = [this](void (TRWInstallForm::*m)(TObject*, char&)) {
    return [this, m](TObject* s, char& k) { (this->*m)(s, k); };
  };
  // Choices.
  trChoices->OnClick = bind(&TRWInstallForm::trChoicesClick);
  edNameChoices->OnChange = bind(&TRWInstallForm::edNameChoicesChange);
  edNameChoices->OnKeyPress = key(&TRWInstallForm::edNameChoicesKeyPress);
  edDescriptionChoices->OnChange = bind(&TRWInstallForm::edDescriptionChoicesChange);
  ckbRequired->OnClick = bind(&TRWInstallForm::ckbRequiredClick);
  ckbTypical->OnClick = bind(&TRWInstallForm::ckbTypicalClick);
  ckbVisible->OnClick = bind(&TRWInstallForm::ckbVisibleClick);
  buDeleteChoices->OnClick = bind(&TRWInstallForm::buDeleteChoicesClick);
  lbDirectories->OnClick = bind(&TRWInstallForm::lbDirectoriesClick);
  buDeleteSelectedFiles->OnClick = bind(&TRWInstallForm::buDeleteSelectedFilesClick);
  // Registry.
  edNameRegistry->OnChange = bind(&TRWInstallForm::edNameRegistryChange);
  edNameRegistry->OnKeyPress = key(&TRWInstallForm::edNameRegistryKeyPress);
  cbRoot->OnClick = bind(&TRWInstallForm::cbRootClick);
  cbKey->OnChange = bind(&TRWInstallForm::cbKeyChange);
  edValName->OnChange = bind(&TRWInstallForm::edValNameChange);
  edValValue->OnChange = bind(&TRWInstallForm::edValValueChange);
  cbChoicesRegistry->OnClick = bind(&TRWInstallForm::cbChoicesRegistryClick);
  buDeleteRegistry->OnClick = bind(&TRWInstallForm::buDeleteRegistryClick);
  // Shortcuts.
  edNameShortcut->OnChange = bind(&TRWInstallForm::edNameShortcutChange);
  edNameShortcut->OnKeyPress = key(&TRWInstallForm::edNameShortcutKeyPress);
  cbChoicesShortcuts->OnClick = bind(&TRWInstallForm::cbChoicesShortcutsClick);
  cbDirectoryShortcuts->OnClick = bind(&TRWInstallForm::cbDirectoryShortcutsClick);
  edArguments->OnChange = bind(&TRWInstallForm::edArgumentsChange);
  edDescriptionShortcuts->OnChange = bind(&TRWInstallForm::edDescriptionShortcutsChange);
  cbShowCmd->OnClick = bind(&TRWInstallForm::cbShowCmdClick);
  cbWkDir->OnClick = bind(&TRWInstallForm::cbWkDirClick);
  lbFilesShortcuts->OnClick = bind(&TRWInstallForm::lbFilesShortcutsClick);
  buShortcutsDelete->OnClick = bind(&TRWInstallForm::buShortcutsDeleteClick);
  // Environment.
  edNameEvar->OnChange = bind(&TRWInstallForm::edNameEvarChange);
  edNameEvar->OnKeyPress = key(&TRWInstallForm::edNameEvarKeyPress);
  cbValueEVar->OnChange = bind(&TRWInstallForm::cbValueEVarChange);
  cbChoicesEvar->OnClick = bind(&TRWInstallForm::cbChoicesEvarClick);
  ckbNoAction->OnClick = bind(&TRWInstallForm::ckbNoActionClick);
  ckbDelete->OnClick = bind(&TRWInstallForm::ckbDeleteClick);
  rgHowToInstall->OnClick = bind(&TRWInstallForm::rgHowToInstallClick);
  rgType->OnClick = bind(&TRWInstallForm::rgTypeClick);
  buEVarDelete->OnClick = bind(&TRWInstallForm::buEVarDeleteClick);
  // Modules.
  edNameMergeModules->OnChange = bind(&TRWInstallForm::edNameMergeModulesChange);
  edNameMergeModules->OnKeyPress = key(&TRWInstallForm::edNameMergeModulesKeyPress);
  edMergeModule->OnChange = bind(&TRWInstallForm::edMergeModuleChange);
  buBrowseMergeModules->OnClick = bind(&TRWInstallForm::buBrowseMergeModulesClick);
  cbDirectoryMergeModules->OnClick = bind(&TRWInstallForm::cbDirectoryMergeModulesClick);
  cbChoicesMergeModules->OnClick = bind(&TRWInstallForm::cbChoicesMergeModulesClick);
  cbLanguageMergeModules->OnClick = bind(&TRWInstallForm::cbLanguageMergeModulesClick);
  buDeleteMergeModules->OnClick = bind(&TRWInstallForm::buDeleteMergeModulesClick);
  OpenDialog3->DefaultExt = "msm";
  OpenDialog3->Filter = "Merge Modules (*.msm)|*.msm";
  // Associations.
  edNameAssociations->OnChange = bind(&TRWInstallForm::edNameAssociationsChange);
  edNameAssociations->OnKeyPress = key(&TRWInstallForm::edNameAssociationsKeyPress);
  edExtensionAssociations->OnChange = bind(&TRWInstallForm::edExtensionAssociationsChange);
  edDescriptionAssociations->OnChange = bind(&TRWInstallForm::edDescriptionAssociationsChange);
  edIconIndexAssociations->OnChange = bind(&TRWInstallForm::edIconIndexAssociationsChange);
  cbChoicesAssociations->OnClick = bind(&TRWInstallForm::cbChoicesAssociationsClick);
  lbFilesAssociations->OnClick = bind(&TRWInstallForm::lbFilesAssociationsClick);
  buDeleteAssociations->OnClick = bind(&TRWInstallForm::buDeleteAssociationsClick);
  // Directories.
  AddChildNode1->OnClick = bind(&TRWInstallForm::AddChildNode1Click);
  RemoveNode1->OnClick = bind(&TRWInstallForm::RemoveNode1Click);
  buTargetDirectoriesAdd->OnClick = bind(&TRWInstallForm::buTargetDirectoriesAddClick);
  buTargetDirectoriesDelete->OnClick = bind(&TRWInstallForm::buTargetDirectoriesDeleteClick);
  buTargetDirectoriesRename->OnClick = bind(&TRWInstallForm::buTargetDirectoriesRenameClick);
  trTargetDir->OnEdited = [this](TObject* s, TTreeNode* n, std::string& t) { trTargetDirEdited(s, n, t); };
}

}  // namespace tq
