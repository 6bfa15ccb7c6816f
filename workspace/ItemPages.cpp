// The frame all item pages share: the table of the pages, their handlers'
// names for the layout, the tab change, the placeholder turn, the delete and
// the name-clash check.
#include "ItemPages.h"

#include <algorithm>

#include <windows.h>

#include "MergeItem.h"
#include "Prompts.h"
#include "SysUtils.h"
#include "associations.h"
#include "choices.h"
#include "evar.h"
#include "regentry.h"
#include "shortcut.h"

namespace tq {

namespace {

template <class TItem>
TComponent* NewItemOf(TComponent* owner) {
  return new TItem(owner);
}

template <class TItem, std::string TItem::*Field>
std::string* FieldOf(TObject* item) {
  auto* typed = dynamic_cast<TItem*>(item);
  return typed ? &(typed->*Field) : nullptr;
}

// Every item page, in the order of TItemPageId. Two pages differ on purpose:
// a project just read captions its environment variables with their first
// default names (EVar), not their edited names, and shows the associations'
// placeholder as "Add A File Association Entry" until it is next used.
const TItemPage ItemPages[] = {
    {&TRWInstallForm::tcChoices, &TRWInstallForm::edNameChoices, "Add A Sub-Choice", "Add A Sub-Choice",
     NewItemOf<TChoice>, FieldOf<TChoice, &TChoice::FName>, FieldOf<TChoice, &TChoice::FName>,
     "The name you have chosen for this choice is the same as another choice. Please make the name unique.",
     FillChoicesPage},
    {&TRWInstallForm::tcRegistry, &TRWInstallForm::edNameRegistry, "Add A Registry Entry", "Add A Registry Entry",
     NewItemOf<TRegEntry>, FieldOf<TRegEntry, &TRegEntry::FName>, FieldOf<TRegEntry, &TRegEntry::FName>,
     "The name you have chosen for this registry entry is the same as another entry. Please make the name "
     "unique.",
     FillRegistryPage},
    {&TRWInstallForm::tcShortcuts, &TRWInstallForm::edNameShortcut, "Add A Shortcut", "Add A Shortcut",
     NewItemOf<TRwiShortcut>, FieldOf<TRwiShortcut, &TRwiShortcut::Shortcut>,
     FieldOf<TRwiShortcut, &TRwiShortcut::Shortcut>,
     "The name you have chosen for this shortcut is the same as another entry. Please make the name unique.",
     FillShortcutsPage},
    {&TRWInstallForm::tcEVar, &TRWInstallForm::edNameEvar, "Add An Environment Variable",
     "Add An Environment Variable", NewItemOf<TEVar>, FieldOf<TEVar, &TEVar::FName>, FieldOf<TEVar, &TEVar::EVar>,
     "The name you have chosen for this environment entry is the same as another entry. Please make the name "
     "unique.",
     FillEnvironmentPage},
    {&TRWInstallForm::tcMergeModules, &TRWInstallForm::edNameMergeModules, "Add A Merge Module",
     "Add A Merge Module", NewItemOf<TMerge>, FieldOf<TMerge, &TMerge::FName>, FieldOf<TMerge, &TMerge::FName>,
     "The name you have chosen for this merge module entry is the same as another entry. Please make the name "
     "unique.",
     FillModulesPage},
    {&TRWInstallForm::tcAssociations, &TRWInstallForm::edNameAssociations, "Add A File Association",
     "Add A File Association Entry", NewItemOf<TAssociation>, FieldOf<TAssociation, &TAssociation::FName>,
     FieldOf<TAssociation, &TAssociation::FName>,
     "The name you have chosen for this file association entry is the same as another entry. Please make the "
     "name unique.",
     FillAssociationsPage},
};

}  // namespace

const TItemPage& ItemPage(TItemPageId page) { return ItemPages[page]; }

const TItemPage* ItemPageOf(TRWInstallForm& w, const TObject* tabs) {
  for (const TItemPage& page : ItemPages)
    if (w.*page.Tabs == tabs) return &page;
  return nullptr;
}

bool PlaceholderSelected(TTabControl* tabs) {
  int count = tabs->Tabs().Count();
  return count > 0 && tabs->TabIndex() == count - 1;
}

void ClearItemPage(TRWInstallForm& w, TItemPageId page) {
  TControlItems& items = (w.*ItemPage(page).Tabs)->Tabs();
  TUpdateBatch batch(items);
  for (int i = items.Count() - 1; i >= 0; --i) {
    TObject* item = items.GetObjectAt(i);
    items.PutObjectAt(i, nullptr);
    delete item;
  }
  items.Clear();  // the tabs all at once: one by one, each would lay out the rest again
}

bool TurnPlaceholder(TRWInstallForm& w, TItemPageId id, TObject* item) {
  const TItemPage& page = ItemPage(id);
  TTabControl* tabs = w.*page.Tabs;
  if (!PlaceholderSelected(tabs)) return false;
  const int index = tabs->TabIndex();
  const std::string name = *page.DisplayName(item);
  tabs->Tabs().Put(index, name);
  (w.*page.NameField)->SetText(name);
  tabs->Tabs().AddObject(page.Placeholder, page.NewItem(&w));
  tabs->SetTabIndex(index);
  return true;
}

bool DeleteSelectedItem(TRWInstallForm& w, TItemPageId page) {
  TTabControl* tabs = w.*ItemPage(page).Tabs;
  int index = tabs->TabIndex();
  int count = tabs->Tabs().Count();
  if (index < 0 || index >= count - 1) return false;
  TObject* item = tabs->Tabs().GetObjectAt(index);
  tabs->Tabs().PutObjectAt(index, nullptr);
  tabs->Tabs().Delete(index);
  delete item;
  tabs->SetTabIndex(0);
  w.tcChoicesChange(tabs);
  w.FModified = 1;
  return true;
}

void CheckNameClash(TRWInstallForm& w, TItemPageId id, char key) {
  const TItemPage& page = ItemPage(id);
  std::string text = (w.*page.NameField)->Text() + key;
  TControlItems& items = (w.*page.Tabs)->Tabs();
  for (int i = 0; i < items.Count(); ++i)
    if (items[i] == text) {
      MessageDlg(page.NameClash, mtError, mbOK);
      return;
    }
}

void RenameSelected(TRWInstallForm& w, TItemPageId id) {
  const TItemPage& page = ItemPage(id);
  TTabControl* tabs = w.*page.Tabs;
  EditSelected<TObject>(w, tabs, [&](TObject& item) {
    std::string* name = page.DisplayName(&item);
    if (!name) return false;
    *name = (w.*page.NameField)->Text();
    tabs->Tabs().Put(tabs->TabIndex(), *name);
    return true;
  });
}

std::optional<std::string> SelectedDirNode(TRWInstallForm& w, TComboBox* box) {
  const int index = box->ItemIndex();
  if (index < 0 || !w.FDirNodeNames || index >= w.FDirNodeNames->Count()) return std::nullopt;
  return w.FDirNodeNames->Get(index);
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
    if (const TItemPage* page = ItemPageOf(*this, sender)) page->Fill(*this);
  } catch (...) {
    FUpdating = wasUpdating;
    throw;
  }
  FUpdating = wasUpdating;
}

void TRWInstallForm::RegisterItemPageHandlers() {
  TQ_HANDLER(TRWInstallForm, tcChoicesChange);  // all six tab controls
  // Choices.
  TQ_HANDLER(TRWInstallForm, trChoicesClick);
  TQ_HANDLER(TRWInstallForm, edNameChoicesChange);
  TQ_HANDLER(TRWInstallForm, edNameChoicesKeyPress);
  TQ_HANDLER(TRWInstallForm, edDescriptionChoicesChange);
  TQ_HANDLER(TRWInstallForm, ckbRequiredClick);
  TQ_HANDLER(TRWInstallForm, ckbTypicalClick);
  TQ_HANDLER(TRWInstallForm, ckbVisibleClick);
  TQ_HANDLER(TRWInstallForm, buDeleteChoicesClick);
  TQ_HANDLER(TRWInstallForm, lbDirectoriesClick);
  TQ_HANDLER(TRWInstallForm, buDeleteSelectedFilesClick);
  // Registry.
  TQ_HANDLER(TRWInstallForm, edNameRegistryChange);
  TQ_HANDLER(TRWInstallForm, edNameRegistryKeyPress);
  TQ_HANDLER(TRWInstallForm, cbRootClick);
  TQ_HANDLER(TRWInstallForm, cbKeyChange);
  TQ_HANDLER(TRWInstallForm, edValNameChange);
  TQ_HANDLER(TRWInstallForm, edValValueChange);
  TQ_HANDLER(TRWInstallForm, cbChoicesRegistryClick);
  TQ_HANDLER(TRWInstallForm, buDeleteRegistryClick);
  // Shortcuts.
  TQ_HANDLER(TRWInstallForm, edNameShortcutChange);
  TQ_HANDLER(TRWInstallForm, edNameShortcutKeyPress);
  TQ_HANDLER(TRWInstallForm, cbChoicesShortcutsClick);
  TQ_HANDLER(TRWInstallForm, cbDirectoryShortcutsClick);
  TQ_HANDLER(TRWInstallForm, edArgumentsChange);
  TQ_HANDLER(TRWInstallForm, edDescriptionShortcutsChange);
  TQ_HANDLER(TRWInstallForm, cbShowCmdClick);
  TQ_HANDLER(TRWInstallForm, cbWkDirClick);
  TQ_HANDLER(TRWInstallForm, lbFilesShortcutsClick);
  TQ_HANDLER(TRWInstallForm, buShortcutsDeleteClick);
  // Environment.
  TQ_HANDLER(TRWInstallForm, edNameEvarChange);
  TQ_HANDLER(TRWInstallForm, edNameEvarKeyPress);
  TQ_HANDLER(TRWInstallForm, cbValueEVarChange);
  TQ_HANDLER(TRWInstallForm, cbChoicesEvarClick);
  TQ_HANDLER(TRWInstallForm, ckbNoActionClick);
  TQ_HANDLER(TRWInstallForm, ckbDeleteClick);
  TQ_HANDLER(TRWInstallForm, rgHowToInstallClick);
  TQ_HANDLER(TRWInstallForm, rgTypeClick);
  TQ_HANDLER(TRWInstallForm, buEVarDeleteClick);
  // Modules.
  TQ_HANDLER(TRWInstallForm, edNameMergeModulesChange);
  TQ_HANDLER(TRWInstallForm, edNameMergeModulesKeyPress);
  TQ_HANDLER(TRWInstallForm, edMergeModuleChange);
  TQ_HANDLER(TRWInstallForm, buBrowseMergeModulesClick);
  TQ_HANDLER(TRWInstallForm, cbDirectoryMergeModulesClick);
  TQ_HANDLER(TRWInstallForm, cbChoicesMergeModulesClick);
  TQ_HANDLER(TRWInstallForm, cbLanguageMergeModulesClick);
  TQ_HANDLER(TRWInstallForm, buDeleteMergeModulesClick);
  // Associations.
  TQ_HANDLER(TRWInstallForm, edNameAssociationsChange);
  TQ_HANDLER(TRWInstallForm, edNameAssociationsKeyPress);
  TQ_HANDLER(TRWInstallForm, edExtensionAssociationsChange);
  TQ_HANDLER(TRWInstallForm, edDescriptionAssociationsChange);
  TQ_HANDLER(TRWInstallForm, edIconIndexAssociationsChange);
  TQ_HANDLER(TRWInstallForm, cbChoicesAssociationsClick);
  TQ_HANDLER(TRWInstallForm, lbFilesAssociationsClick);
  TQ_HANDLER(TRWInstallForm, buDeleteAssociationsClick);
  // Directories.
  TQ_HANDLER(TRWInstallForm, AddChildNode1Click);
  TQ_HANDLER(TRWInstallForm, RemoveNode1Click);
  TQ_HANDLER(TRWInstallForm, buTargetDirectoriesAddClick);
  TQ_HANDLER(TRWInstallForm, buTargetDirectoriesDeleteClick);
  TQ_HANDLER(TRWInstallForm, buTargetDirectoriesRenameClick);
  TQ_HANDLER(TRWInstallForm, trTargetDirEdited);
}

}  // namespace tq
