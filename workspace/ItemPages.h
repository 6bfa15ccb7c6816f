#pragma once
// Pieces the item pages' editors share: the selected item of a page, the
// placeholder test, the name-clash check and the per-page editor fills.
#include <initializer_list>
#include <string>

#include "main.h"

namespace tq {

// The item of a page's selected tab, or nullptr (no tab, or another class).
template <class TItem>
TItem* SelectedItem(TTabControl* tabs) {
  int index = tabs->TabIndex();
  if (index < 0 || index >= tabs->Tabs().Count()) return nullptr;
  return dynamic_cast<TItem*>(tabs->Tabs().GetObjectAt(index));
}

// True when the selected tab is the page's last one (the placeholder).
bool PlaceholderSelected(TTabControl* tabs);

// Turns the selected placeholder tab into an item named displayName and
// appends a fresh placeholder holding newItem.
void TurnPlaceholder(TTabControl* tabs, TEdit* nameField, const std::string& displayName,
                     const std::string& placeholder, TObject* newItem);

// Frees the selected tab's item and deletes the tab, then selects tab 0; the
// placeholder is never deleted. False when there was nothing to delete.
bool DeleteSelectedItemTab(TTabControl* tabs);

// Shows message when the field's text with key appended equals a tab caption.
void CheckNameClash(TTabControl* tabs, TEdit* nameField, char key, const std::string& message);

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
