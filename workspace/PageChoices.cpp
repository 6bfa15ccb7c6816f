// The Choices page: its tab change, the choice tree, the choice's fields, the
// delete button and the name check.
#include "ItemPages.h"

#include "Forms.h"
#include "SysUtils.h"
#include "choices.h"

namespace tq {

namespace {

TTreeNode* FirstNodeWithText(TTreeView* tree, const std::string& text, bool ignoreCase) {
  TTreeNodes& nodes = tree->Items();
  for (int i = 0; i < nodes.Count(); ++i) {
    TTreeNode* node = nodes.Item(i);
    if (ignoreCase ? SameText(node->Text(), text) : node->Text() == text) return node;
  }
  return nullptr;
}

void EnableChoiceEditors(TRWInstallForm& w, bool enabled) {
  for (TControl* c : std::initializer_list<TControl*>{w.edNameChoices, w.edDescriptionChoices, w.lbDirectories,
                                                      w.lbFiles, w.buDeleteChoices})
    c->SetEnabled(enabled);
  w.buAddFiles->SetEnabled(false);
  w.buDeleteSelectedFiles->SetEnabled(false);
}

}  // namespace

void FillChoicesPage(TRWInstallForm& w) {
  TChoice* choice = SelectedItem<TChoice>(w.tcChoices);
  if (choice) {
    w.edNameChoices->SetText(choice->FName);
    w.edDescriptionChoices->SetText(choice->Description);
    // Both working copies are taken before pending messages run, so a click
    // handled meanwhile sees the two lists in step.
    w.FChoiceFilePaths->Assign(*choice->Files);
    w.FChoiceFileDirs->Assign(*choice->Directories);
    Application->ProcessMessages();
    // A queued click may have picked another tab, whose change has filled
    // the page already.
    if (SelectedItem<TChoice>(w.tcChoices) != choice) return;
    EnableChoiceEditors(w, true);
    bool core = choice->FName == "Core_Program";
    w.ckbRequired->SetChecked(choice->Required);
    w.ckbTypical->SetChecked(choice->Typical);
    w.ckbVisible->SetChecked(choice->Visible);
    for (TCheckBox* box : {w.ckbRequired, w.ckbTypical, w.ckbVisible}) box->SetEnabled(!core);
  } else {
    w.edNameChoices->SetText("");
    w.edDescriptionChoices->SetText("");
    EnableChoiceEditors(w, false);
    for (TCheckBox* box : {w.ckbRequired, w.ckbTypical, w.ckbVisible}) {
      box->SetChecked(false);
      box->SetEnabled(false);
    }
  }
  w.ClearFilesList();
  w.lbDirectories->SetItemIndex(-1);
  if (!choice) return;

  int index = w.tcChoices->TabIndex();
  if (TTreeNode* node = FirstNodeWithText(w.trChoices, w.tcChoices->Tabs()[index], true))
    w.trChoices->SetSelected(node);
  if (w.FProjectType != 0 || !TurnPlaceholder(w, ipChoices, choice)) return;
  TTreeNode* parent = w.trChoices->Selected();
  TTreeNode* node = parent ? w.trChoices->Items().AddChild(parent, choice->FName)
                           : w.trChoices->Items().Add(nullptr, choice->FName);
  w.trChoices->SetSelected(node);
}

void TRWInstallForm::trChoicesClick(TObject*) {
  TTreeNode* node = trChoices->Selected();
  int tab = -1;
  if (node) {
    TControlItems& tabs = tcChoices->Tabs();
    for (int i = 0; i < tabs.Count() && tab < 0; ++i)
      if (SameText(tabs[i], node->Text())) tab = i;
  }
  tcChoices->SetTabIndex(tab);
  tcChoicesChange(tcChoices);
}

void TRWInstallForm::edNameChoicesChange(TObject*) {
  EditSelected<TChoice>(*this, tcChoices, [this](TChoice& choice) {
    std::string oldName = tcChoices->Tabs()[tcChoices->TabIndex()];
    std::string name = edNameChoices->Text();
    choice.FName = name;
    choice.Title = name;
    tcChoices->Tabs().Put(tcChoices->TabIndex(), name);
    // Only the node that shows this choice follows (never the top "Choices").
    if (TTreeNode* node = trChoices->Selected())
      if (node->Text() == oldName) node->SetText(name);
  });
}

void TRWInstallForm::edDescriptionChoicesChange(TObject*) {
  EditField(*this, tcChoices, &TChoice::Description, edDescriptionChoices->Text());
}

void TRWInstallForm::ckbRequiredClick(TObject*) {
  EditField(*this, tcChoices, &TChoice::Required, ckbRequired->Checked());
}

void TRWInstallForm::ckbTypicalClick(TObject*) {
  EditField(*this, tcChoices, &TChoice::Typical, ckbTypical->Checked());
}

void TRWInstallForm::ckbVisibleClick(TObject*) {
  EditField(*this, tcChoices, &TChoice::Visible, ckbVisible->Checked());
}

// Frees the choices shown by node's subtree. Each choice is found by its tab's
// caption; the placeholder, and a tab whose choice is being deleted (it holds
// no object meanwhile), are never one of them.
void TRWInstallForm::DeleteChoiceSubtree(TTreeNode* node) {
  if (!node) return;
  for (int i = 0; i < node->Count(); ++i) DeleteChoiceSubtree(node->Item(i));
  TControlItems& tabs = tcChoices->Tabs();
  int last = FProjectType == 0 ? tabs.Count() - 1 : tabs.Count();
  for (int i = 0; i < last; ++i)
    if (tabs[i] == node->Text() && dynamic_cast<TChoice*>(tabs.GetObjectAt(i))) {
      TObject* choice = tabs.GetObjectAt(i);
      tabs.PutObjectAt(i, nullptr);
      tabs.Delete(i);
      delete choice;
      return;
    }
}

void TRWInstallForm::buDeleteChoicesClick(TObject*) {
  TChoice* choice = SelectedItem<TChoice>(tcChoices);
  if (!choice || (FProjectType == 0 && PlaceholderSelected(tcChoices))) return;
  // A merge module keeps its one choice: it has no placeholder to fall back on.
  if (FProjectType != 0 && RealChoiceCount() <= 1) return;
  std::string caption = tcChoices->Tabs()[tcChoices->TabIndex()];
  TTreeNode* node = trChoices->Selected();
  if (!node || node->Text() != caption) node = FirstNodeWithText(trChoices, caption, false);
  if (node && node->IsFirstNode()) node = nullptr;  // the top node "Choices" is no choice
  if (node) {
    // The children's choices go first; the selected choice itself is taken
    // out of the way so that a child of the same name cannot take its place.
    int own = tcChoices->Tabs().IndexOfObject(choice);
    tcChoices->Tabs().PutObjectAt(own, nullptr);
    for (int i = 0; i < node->Count(); ++i) DeleteChoiceSubtree(node->Item(i));
    tcChoices->Tabs().PutObjectAt(tcChoices->Tabs().IndexOfObject(nullptr), choice);
  }
  int own = tcChoices->Tabs().IndexOfObject(choice);
  if (own >= 0) {
    tcChoices->Tabs().PutObjectAt(own, nullptr);
    tcChoices->Tabs().Delete(own);
  }
  delete choice;
  tcChoices->SetTabIndex(tcChoices->Tabs().Count() > 0 ? 0 : -1);
  if (node) {
    if (trChoices->Selected() == node || (trChoices->Selected() && trChoices->Selected()->HasAsParent(node)))
      trChoices->SetSelected(nullptr);
    node->Delete();
  }
  if (tcChoices->Tabs().Count() > 0)
    trChoices->SetSelected(FirstNodeWithText(trChoices, tcChoices->Tabs()[0], true));
  tcChoicesChange(tcChoices);
  FModified = 1;
}

void TRWInstallForm::edNameChoicesKeyPress(TObject*, char& key) { CheckNameClash(*this, ipChoices, key); }

}  // namespace tq
