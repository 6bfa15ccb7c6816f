#pragma once
// The item pages: one table that says what each page is made of (its tab
// control, name field, placeholder, item class and display name), and the
// pieces every page shares: the selected item, the placeholder turn, the
// delete, the editors' convention, the name-clash check and the per-page
// editor fills.
#include <initializer_list>
#include <optional>
#include <string>
#include <type_traits>

#include "main.h"

namespace tq {

// ---- the pages -----------------------------------------------------------

enum TItemPageId { ipChoices, ipRegistry, ipShortcuts, ipEnvironment, ipModules, ipAssociations };

// One item page. Its items are the objects of its tab control's tabs, each
// tab captioned with its item's display name; the last tab is the
// placeholder, a fresh default item not yet part of the project (except on
// the Choices page of a merge module, which has none).
struct TItemPage {
  TTabControl* TRWInstallForm::*Tabs;
  TEdit* TRWInstallForm::*NameField;  // shows and edits the display name
  const char* Placeholder;            // the placeholder tab's caption
  const char* LoadedPlaceholder;      // its caption in a project just read
  // A fresh default item of the page's class (its constructor advances the
  // class's default-name counter).
  TComponent* (*NewItem)(TComponent* owner);
  // The item's display name, its tab's caption; nullptr for an object of
  // another class.
  std::string* (*DisplayName)(TObject* item);
  // The field that captions the item's tab in a project just read.
  std::string* (*LoadedCaption)(TObject* item);
  const char* NameClash;  // the message of the name check
  // The tab change's fill of the page's editors (run with FUpdating set).
  void (*Fill)(TRWInstallForm& w);
};

const TItemPage& ItemPage(TItemPageId page);

// The page whose tab control is tabs; nullptr when it is none.
const TItemPage* ItemPageOf(TRWInstallForm& w, const TObject* tabs);

// The item of a page's selected tab, or nullptr (no tab, or another class).
template <class TItem>
TItem* SelectedItem(TTabControl* tabs) {
  int index = tabs->TabIndex();
  if (index < 0 || index >= tabs->Tabs().Count()) return nullptr;
  return dynamic_cast<TItem*>(tabs->Tabs().GetObjectAt(index));
}

// True when the selected tab is the page's last one (the placeholder).
bool PlaceholderSelected(TTabControl* tabs);

// Frees every item of the page and deletes its tabs, last to first.
void ClearItemPage(TRWInstallForm& w, TItemPageId page);

// When the page's selected tab is its placeholder, whose item is item: the
// tab is captioned with the item's display name, the name field shows it, and
// a fresh placeholder follows. False when the placeholder is not selected.
bool TurnPlaceholder(TRWInstallForm& w, TItemPageId page, TObject* item);

// The delete button of a page: frees the selected tab's item and deletes the
// tab (the placeholder never), selects tab 0, fills the editors from it and
// marks the project modified. False when there was nothing to delete.
bool DeleteSelectedItem(TRWInstallForm& w, TItemPageId page);

// The name check of a page's name field: shows the page's message when the
// field's text with key appended equals a tab caption. The key is taken anyway.
void CheckNameClash(TRWInstallForm& w, TItemPageId page, char key);

// ---- the editors ---------------------------------------------------------

// The editors' one convention: while a page's editors are being filled
// (FUpdating) nothing is an edit; otherwise, when the page's selected tab
// holds an item, edit writes into it and the project is marked modified. An
// edit that returns false wrote nothing and marks nothing.
template <class TItem, class TEditFn>
void EditSelected(TRWInstallForm& w, TTabControl* tabs, TEditFn&& edit) {
  if (w.FUpdating) return;
  TItem* item = SelectedItem<TItem>(tabs);
  if (!item) return;
  if constexpr (std::is_same_v<decltype(edit(*item)), bool>) {
    if (!edit(*item)) return;
  } else {
    edit(*item);
  }
  w.FModified = 1;
}

template <class T>
struct TIsOptional : std::false_type {};
template <class T>
struct TIsOptional<std::optional<T>> : std::true_type {};

// The common edit: one field of the selected item takes a control's value; an
// empty optional (no entry selected) writes nothing.
template <class TItem, class T, class TValue>
void EditField(TRWInstallForm& w, TTabControl* tabs, T TItem::*field, const TValue& value) {
  if constexpr (TIsOptional<TValue>::value) {
    if (!value) return;
    EditSelected<TItem>(w, tabs, [&](TItem& item) { item.*field = *value; });
  } else {
    EditSelected<TItem>(w, tabs, [&](TItem& item) { item.*field = value; });
  }
}

// The name field's change: the selected item's display name and its tab's
// caption take the field's text.
void RenameSelected(TRWInstallForm& w, TItemPageId page);

// The selected position of a list, a combo box or a radio group; none when
// nothing is selected.
template <class TList>
std::optional<int> SelectedIndex(TList* list) {
  const int index = list->ItemIndex();
  return index >= 0 ? std::optional<int>(index) : std::nullopt;
}

// The selected entry's text of a list or a combo box; none when nothing is selected.
template <class TList>
std::optional<std::string> SelectedText(TList* list) {
  const int index = list->ItemIndex();
  return index >= 0 ? std::optional<std::string>(list->Items()[index]) : std::nullopt;
}

// The directory-node name at the selected position of a directory list; none
// when nothing is selected or the position is past the names.
std::optional<std::string> SelectedDirNode(TRWInstallForm& w, TComboBox* box);

// ---- page contents -------------------------------------------------------

// Selects the first combo box entry equal to text, letter case ignored (none when absent).
void SelectComboText(TComboBox* box, const std::string& text);

// The position of name in the window's directory-node names (case ignored), or -1.
int DirNodeIndex(TRWInstallForm& w, const std::string& name);

// The name at a position of the directory-node names; empty when out of range.
std::string DirNodeName(TRWInstallForm& w, int index);

// The first node of the target directory tree whose text is text (exact
// compare), or nullptr.
TTreeNode* FindDirNode(TRWInstallForm& w, const std::string& text);

// The pixel width, in the list's font, of its longest entry by characters
// (the first of equal length); -1 for an empty list.
int LongestEntryWidth(TListBox* list);

// Sets a list box's horizontal extent from its longest entry by characters.
void SetListExtent(TListBox* list);

// Refills a page's choice list with the real choices' captions, in tab order.
void FillChoiceNames(TRWInstallForm& w, TComboBox* box);

// Refills the window's directory-node names with the target tree's node texts
// (depth first) and each list with the same nodes indented by level.
void FillDirectoryLists(TRWInstallForm& w, std::initializer_list<TControlItems*> lists);

// Refills the Shortcuts page's choice list and its two directory lists; the
// directory list ends with "Program Group" (also a directory-node name) and the
// system-directory entry.
void FillShortcutLists(TRWInstallForm& w);

// The per-page tab-change fills (run with FUpdating set).
void FillChoicesPage(TRWInstallForm& w);
void FillRegistryPage(TRWInstallForm& w);
void FillShortcutsPage(TRWInstallForm& w);
void FillEnvironmentPage(TRWInstallForm& w);
void FillModulesPage(TRWInstallForm& w);
void FillAssociationsPage(TRWInstallForm& w);

// Fills a file list with the Files of the first choice tab captioned choiceName
// (exact compare); false when there is no such tab.
bool FillChoiceFileList(TRWInstallForm& w, TListBox* list, const std::string& choiceName);

}  // namespace tq
