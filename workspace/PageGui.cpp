// The Gui page: the choice of front-end (HTML pages or a Flash program), the
// optional pages and their tabs, the page editor (original, output name and
// support files of each page) and the Flash program's support files. Every
// handler marks the project modified unless its comment says otherwise; the
// page generator and the stylesheet button live with the builder.
#include "main.h"

#include <windows.h>

#include <algorithm>

#include "FileUtils.h"
#include "Prompts.h"

namespace tq {

namespace {

// The page of the selected tab of the page editor; nullptr when none.
const TSetupPage* SelectedPage(TRWInstallForm& w) {
  const int tab = w.tcHtmlPages->TabIndex();
  if (tab < 0 || tab >= w.tcHtmlPages->Tabs().Count()) return nullptr;
  return SetupPageByCaption(w.tcHtmlPages->Tabs()[tab]);
}

void CopyList(TControlItems& from, TStringList& to) {
  to.Clear();
  for (int i = 0; i < from.Count(); ++i) to.Add(from[i]);
}

// The shown support list goes to the selected page.
void StoreSupportList(TRWInstallForm& w) {
  if (const TSetupPage* page = SelectedPage(w)) CopyList(w.lbSupportFiles->Items(), *(w.FHtmlSupportPages->*page->Support));
}

void StoreFlashList(TRWInstallForm& w) { CopyList(w.lbSupportFilesFlash->Items(), *w.FFlashSupport->SupportFiles); }

// Files chosen in dialog (several at once) are added to list.
void AddChosenFiles(TOpenDialog* dialog, TListBox* list, const std::string& startIn) {
  dialog->Options |= ofAllowMultiSelect;
  dialog->InitialDir = startIn;
  if (!dialog->Execute()) return;
  for (int i = 0; i < dialog->Files().Count(); ++i) list->Items().Add(dialog->Files().Get(i));
}

void DeleteSelected(TListBox* list) {
  const int index = list->ItemIndex();
  if (index >= 0 && index < list->Items().Count()) list->Items().Delete(index);
}

void ShowGuiSheet(TRWInstallForm& w, TTabSheet* sheet, TWinControl* focus) {
  w.PageControl2->SetActivePage(sheet);
  if (focus->Enabled() && IsWindowVisible(focus->Handle())) focus->SetFocus();
}

void ChooseTextFile(TRWInstallForm& w, TEdit* field) {
  w.FModified = 1;
  w.OpenDialog6->Filter = "Text Files (*.txt)|*.txt|All Files (*.*)|*.*";
  if (w.OpenDialog6->Execute()) field->SetText(w.OpenDialog6->FileName);
}

}  // namespace

std::string TRWInstallForm::GetHtmlPageSaveName(const std::string& caption) const {
  const TSetupPage* page = SetupPageByCaption(caption);
  return page ? FHtmlPagesNames->*page->Output : std::string();
}

void TRWInstallForm::SyncHtmlPageTabs() {
  TControlItems& tabs = tcHtmlPages->Tabs();
  auto remove = [&tabs](const char* caption) {
    const int at = tabs.IndexOf(caption);
    if (at >= 0) tabs.Delete(at);
  };
  auto add = [&tabs](const char* caption, int at) {
    if (tabs.IndexOf(caption) >= 0) return;
    tabs.Insert(std::max(0, std::min(at, tabs.Count())), caption);
  };
  if (ckbLicenseHtml->Checked()) add("License", 1); else remove("License");
  if (ckbReadmeHtml->Checked())
    add("Readme", tabs.Count() > 1 && tabs[1] == "License" ? 2 : 1);
  else
    remove("Readme");
  if (ckbCustInfoHtml->Checked()) {
    const int location = tabs.IndexOf("Location");
    add("Customer Info", location >= 0 ? location : tabs.Count());
  } else {
    remove("Customer Info");
  }
  if (ckbGroupHtml->Checked()) {
    const int location = tabs.IndexOf("Location");
    add("Group", location >= 0 ? location + 1 : tabs.Count());
  } else {
    remove("Group");
  }
  if (tcHtmlPages->TabIndex() < 0 && tabs.Count() > 0) tcHtmlPages->SetTabIndex(0);
}

void TRWInstallForm::ckbHtmlUiClick(TObject*) {
  FModified = 1;
  const bool on = ckbHtmlUi->Checked();
  for (TWinControl* c : std::initializer_list<TWinControl*>{
           buHtmlUiEdit, ckbLicenseHtml, ckbReadmeHtml, ckbCustInfoHtml, ckbGroupHtml, buHtmlUiFontAndColorOptions,
           buGenerateThePages, edLicenseFile, buLicenseFile, edReadmeFile, buReadmeFile})
    c->SetEnabled(on);
  if (on) ckbFlashUi->SetChecked(false);
}

void TRWInstallForm::ckbFlashUiClick(TObject*) {
  FModified = 1;
  const bool on = ckbFlashUi->Checked();
  for (TWinControl* c : std::initializer_list<TWinControl*>{edFlashMovie, buBrowseFlashMovie, buSupportFiles})
    c->SetEnabled(on);
  if (on) ckbHtmlUi->SetChecked(false);
}

// Not a change of the project.
void TRWInstallForm::buHtmlUiEditClick(TObject*) {
  const uint8_t modified = FModified;
  if (tcHtmlPages->Tabs().Count() > 0) tcHtmlPages->SetTabIndex(0);
  tcHtmlPagesChange(tcHtmlPages);
  ShowGuiSheet(*this, TabSheet12, edHtmlUiOrigFile);
  SyncHtmlPageTabs();
  FModified = modified;
}

void TRWInstallForm::ckbLicenseHtmlClick(TObject*) {
  FModified = 1;
  SyncHtmlPageTabs();
}

// Not a change of the project: the editors show the selected page.
void TRWInstallForm::tcHtmlPagesChange(TObject*) {
  const TSetupPage* page = SelectedPage(*this);
  if (!page) return;
  const uint8_t modified = FModified;
  FShowingHtmlPage = true;  // showing a page is no edit of its original
  edHtmlUiSaveFile->SetText(FHtmlPagesNames->*page->Output);
  edHtmlUiOrigFile->SetText(FHtmlPagesNames->*page->Original);
  FShowingHtmlPage = false;
  lbSupportFiles->Items().Assign(*(FHtmlSupportPages->*page->Support));
  FModified = modified;
}

// Not a change of the project (the output names are part of the page set-up).
void TRWInstallForm::edHtmlUiSaveFileChange(TObject*) {
  if (const TSetupPage* page = SelectedPage(*this)) FHtmlPagesNames->*page->Output = edHtmlUiSaveFile->Text();
}

void TRWInstallForm::edHtmlUiOrigFileChange(TObject*) {
  if (FShowingHtmlPage) return;
  FModified = 1;
  if (const TSetupPage* page = SelectedPage(*this)) FHtmlPagesNames->*page->Original = edHtmlUiOrigFile->Text();
  if (PageControl2->ActivePage() == TabSheet12) ckbAllPages->SetChecked(false);
}

void TRWInstallForm::buHtmlPagesBrowseClick(TObject*) {
  FModified = 1;
  OpenDialog4->Filter = "Html Pages (*.htm;*.html)|*.htm;*.html|All Files (*.*)|*.*";
  if (OpenDialog4->Execute()) edHtmlUiOrigFile->SetText(OpenDialog4->FileName);
}

void TRWInstallForm::ckbAllPagesClick(TObject*) {
  FModified = 1;
  if (!ckbAllPages->Checked()) return;
  for (const TSetupPage& page : SetupPages) {
    FHtmlPagesNames->*page.Original = edHtmlUiOrigFile->Text();
    CopyList(lbSupportFiles->Items(), *(FHtmlSupportPages->*page.Support));
  }
}

void TRWInstallForm::buSupportFilesAddClick(TObject*) {
  FModified = 1;
  AddChosenFiles(OpenDialog2, lbSupportFiles, ExtractFilePath(edHtmlUiOrigFile->Text()));
  StoreSupportList(*this);
}

void TRWInstallForm::buSupportFilesDeleteClick(TObject*) {
  FModified = 1;
  DeleteSelected(lbSupportFiles);
  StoreSupportList(*this);
}

void TRWInstallForm::buSupportFilesClearClick(TObject*) {
  FModified = 1;
  lbSupportFiles->Items().Clear();
  StoreSupportList(*this);
}

void TRWInstallForm::buBrowseFlashMovieClick(TObject*) {
  FModified = 1;
  OpenDialog5->Filter = "Flash Programs (*.exe)|*.exe|All Files (*.*)|*.*";
  if (!OpenDialog5->Execute()) return;
  if (SameText(ExtractFileExt(OpenDialog5->FileName), ".exe"))
    edFlashMovie->SetText(OpenDialog5->FileName);
  else
    MessageDlg("Only standalone Flash movie(.exe) files are acceptable here", mtError, mbOK);
}

// Not a change of the project.
void TRWInstallForm::buSupportFilesClick(TObject*) { ShowGuiSheet(*this, TabSheet13, buSupportFilesAddFlash); }

void TRWInstallForm::buSupportFilesAddFlashClick(TObject*) {
  FModified = 1;
  AddChosenFiles(OpenDialog2, lbSupportFilesFlash, ExtractFilePath(edFlashMovie->Text()));
  StoreFlashList(*this);
}

void TRWInstallForm::buSupportFilesDeleteFlashClick(TObject*) {
  FModified = 1;
  DeleteSelected(lbSupportFilesFlash);
  StoreFlashList(*this);
}

void TRWInstallForm::buSupportFilesClearFlashClick(TObject*) {
  FModified = 1;
  lbSupportFilesFlash->Items().Clear();
  StoreFlashList(*this);
}

// Not a change of the project.
void TRWInstallForm::buBackToGuiPageClick(TObject*) { PageControl2->SetActivePage(TabSheet11); }

void TRWInstallForm::buLicenseFileClick(TObject*) { ChooseTextFile(*this, edLicenseFile); }

void TRWInstallForm::buReadmeFileClick(TObject*) { ChooseTextFile(*this, edReadmeFile); }

void TRWInstallForm::edLicenseFileChange(TObject*) { FModified = 1; }

void TRWInstallForm::edFlashMovieChange(TObject*) { FModified = 1; }

}  // namespace tq
