// File > New: a fresh default project of either type, and the Info page and
// side-bar layouts of the two types.
#include <windows.h>

#include "FileUtils.h"
#include "ItemPages.h"
#include "WorkspaceDialogs.h"
#include "choices.h"
#include "main.h"

namespace tq {

namespace {

const char* const NewPrompt = "The current project needs saving. \r\nDo you want to save it?";

// The page cleared, then one default item on tab 0 and the placeholder after
// it; tab 0 selected and its name in the page's name field.
void NewItemPage(TRWInstallForm& w, TItemPageId id) {
  ClearItemPage(w, id);
  const TItemPage& page = ItemPage(id);
  TTabControl* tabs = w.*page.Tabs;
  TComponent* first = page.NewItem(&w);
  const std::string name = *page.DisplayName(first);
  tabs->Tabs().AddObject(name, first);
  tabs->Tabs().AddObject(page.Placeholder, page.NewItem(&w));
  tabs->SetTabIndex(0);
  (w.*page.NameField)->SetText(name);
}

}  // namespace

void TRWInstallForm::NewProject(uint8_t projectType) {
  // 1. The open project is saved (with its own type) or given up knowingly;
  // Cancel, or a save that did not happen, keeps it open.
  if (FModified) {
    int answer = MessageDlg(NewPrompt, mtConfirmation, mbYesNoCancel);
    if (answer == mrYes) {
      if (!SaveForPrompt()) return;
    } else if (answer != mrNo) {
      return;
    }
  }

  // 2.-4. Type, Info page, directory tree.
  FProjectType = projectType;
  if (FProjectType == 0)
    ShowPackageCaptions();
  else
    ShowModuleCaptions();
  for (TEdit* e : {edProductName, edProductVersion, edManufacturer, edProductCode, edPackageCode}) e->SetText("");
  rbPerMachine->SetChecked(true);
  trTargetDir->Items().Clear();
  FSelectedDirNode = nullptr;
  trTargetDir->Items().Add(nullptr, "<Home Directory>");

  // 5.-7. Choices and the choice tree.
  ClearItemPage(*this, ipChoices);
  auto* first = new TChoice(this);
  if (FProjectType == 0) {
    first->FName = "Core_Program";
    first->Title = "Core_Program";
    first->Required = true;
    first->Visible = false;
    tcChoices->Tabs().AddObject("Core_Program", first);
    tcChoices->Tabs().AddObject(ItemPage(ipChoices).Placeholder, ItemPage(ipChoices).NewItem(this));
  } else {
    tcChoices->Tabs().AddObject(first->FName, first);
  }
  trChoices->Items().Clear();
  TTreeNode* top = trChoices->Items().Add(nullptr, "Choices");
  TTreeNode* node = trChoices->Items().AddChild(top, first->FName);
  trChoices->SetSelected(node);
  if (FProjectType == 1) {
    const std::string name = "Default Merge Module Choice";
    const std::string description = "ADD ALL MERGE MODULE FILES TO THIS CHOICE";
    first->FName = name;
    first->Title = name;
    first->Description = description;
    tcChoices->Tabs().Put(0, name);
    node->SetText(name);
    edNameChoices->SetText(name);
    edDescriptionChoices->SetText(description);
  } else {
    edNameChoices->SetText(tcChoices->Tabs()[0]);
  }
  tcChoices->SetTabIndex(0);

  // 8. The other item pages.
  for (TItemPageId page : {ipRegistry, ipShortcuts, ipEnvironment, ipModules}) NewItemPage(*this, page);

  // 9. Caption, output and the new codes. A template that cannot be copied is
  // reported, and the rest of the new project is made all the same.
  SetCaption("Untitled - Tarnquill");
  FProjectFile.clear();
  std::string templateFile;
  if (FProjectType == 0) {
    FOutputFile = FAppDir + "Untitled.msi";
    SetCaption(Caption() + " - Install Project");
    templateFile = FAppDir + "template.tpl";
  } else {
    FOutputFile = FAppDir + "Untitled.msm";
    SetCaption(Caption() + " - Merge Module Project");
    templateFile = FAppDir + "templatemsm.tpl";
  }
  bool copied = CopyFile(templateFile, FOutputFile, false);
  std::string copyError = copied ? std::string() : SysErrorMessage(GetLastOSError());
  if (FProjectType == 0) buProductCodeGuidClick(this);
  buPackageCodeGuidClick(this);

  // 10.-11. Compiler menu, setup page objects.
  for (TMenuItem* m : {VisualBasic6RunTime1, VisualBasic5RunTime1, CLRRuntime1, Pro1, Enterprise1})
    m->SetChecked(false);
  FreeSetupPageObjects();
  CreateSetupPageObjects();
  THtmlPagesNames& pages = *FHtmlPagesNames;
  pages.Welcome = "TqWelcome.htm";
  pages.License = "TqLicense.htm";
  pages.Readme = "TqReadme.htm";
  pages.CustInfo = "TqCustInfo.htm";
  pages.Location = "TqLocation.htm";
  pages.Group = "TqGroup.htm";
  pages.InstallType = "TqInstallType.htm";
  pages.Custom = "TqCustom.htm";
  pages.Install = "TqInstall.htm";
  pages.Progress = "TqProgress.htm";
  pages.Finish = "TqFinish.htm";

  // 12. Gui page and the page fonts.
  ckbHtmlUi->SetChecked(false);
  for (TWinControl* c : std::initializer_list<TWinControl*>{edLicenseFile, buLicenseFile, edReadmeFile, buReadmeFile,
                                                            buHtmlUiEdit, buHtmlUiFontAndColorOptions,
                                                            buGenerateThePages})
    c->SetEnabled(false);
  for (TCheckBox* c : {ckbLicenseHtml, ckbReadmeHtml, ckbCustInfoHtml, ckbGroupHtml}) c->SetChecked(true);
  ckbFlashUi->SetChecked(false);
  buSupportFiles->SetEnabled(false);
  ckbAllPages->SetChecked(false);
  edFlashMovie->SetText("");
  if (BPOptionsDlg) {
    TFont& buttons = BPOptionsDlg->FontDialog1->Font();
    buttons.SetName("Verdana");
    buttons.SetSize(12);
    buttons.SetColor(clBlue);
    buttons.SetStyle(0);
    TFont& other = BPOptionsDlg->FontDialog2->Font();
    other.SetName("Verdana");
    other.SetSize(12);
    other.SetColor(clGreen);
    other.SetStyle(0);
  }

  // 13. Build and Msi pages, associations, URLs.
  ckbDisableComplete->SetChecked(false);
  ckbIncludePatching->SetChecked(false);
  ckbIncludeMsi->SetChecked(true);
  edWelcomeBitmap->SetText("");
  edBannerBitmap->SetText("");
  NewItemPage(*this, ipAssociations);
  edSupportUrl->SetText("");
  edHomepageUrl->SetText("");

  // 14. Update state and FTP settings.
  FUpdateFrom.clear();
  FUpdateVersion.clear();
  FAllowAutoUpdate = 1;
  FUpdatePending = 1;
  FUpdateCreated = 0;
  RecreateProjectFtpData(this);
  edVersionComparison->SetText("< 2.0");
  if (GenerateHtmlPagesReminderDlg) GenerateHtmlPagesReminderDlg->ckbDontRemind->SetChecked(false);

  // 15.
  FModified = 0;
  SaveAs1->SetEnabled(true);

  if (!copied)
    throw EFCreateError(Format("Cannot copy %s to %s: %s", {templateFile, FOutputFile, copyError}));
}

void TRWInstallForm::ShowPackageCaptions() {
  labProductName->SetCaption("Product Name");
  labProductVersion->SetCaption("Product Version");
  labPackageCode->SetCaption("Package Code");
  for (TControl* c : std::initializer_list<TControl*>{labManufacturer, edManufacturer, labProductCode, edProductCode,
                                                      buProductCodeGuid, gbInstallPerUserOrPerMachine})
    c->SetVisible(true);
  cbLanguage->SetVisible(false);
  labLanguage->SetVisible(false);
  for (TControl* c : std::initializer_list<TControl*>{buAddChoices, buDeleteChoices, edNameChoices,
                                                      edDescriptionChoices})
    c->SetEnabled(true);
  ArrangeOutlookItems();
}

void TRWInstallForm::ShowModuleCaptions() {
  labProductName->SetCaption("Merge Module Name");
  labProductVersion->SetCaption("Merge Module Version");
  labPackageCode->SetCaption("Merge Module Code");
  for (TControl* c : std::initializer_list<TControl*>{labManufacturer, edManufacturer, labProductCode, edProductCode,
                                                      buProductCodeGuid, gbInstallPerUserOrPerMachine})
    c->SetVisible(false);
  cbLanguage->SetVisible(true);
  labLanguage->SetVisible(true);
  for (TControl* c : std::initializer_list<TControl*>{buAddChoices, buDeleteChoices, edNameChoices,
                                                      edDescriptionChoices})
    c->SetEnabled(false);
  ArrangeOutlookItems();
}

void TRWInstallForm::ArrangeOutlookItems() {
  TOutlookItems& items = Outlook1->Items();
  if (FProjectType == 0) {
    items.SetItemCaption(1, 9, "Gui");
    items.SetItemPicture(1, 9, FGuiItemPicture);
    items.SetItemCaption(1, 10, "Msi");
    items.SetItemPicture(1, 10, FMsiItemPicture);
    items.SetItemCaption(1, 11, "Build");
    items.SetItemPicture(1, 11, FBuildItemPicture);
    items.SetItemCaption(1, 12, "Updates");
    items.SetItemPicture(1, 12, FUpdatesItemPicture);
  } else {
    for (int i = items.ItemCount(1); i > 8; --i) items.DeleteItem(1, i);
    items.SetItemCaption(1, 9, "Build");
    items.SetItemPicture(1, 9, FBuildItemPicture);
  }
  Outlook1->ArrangeItems();
}

}  // namespace tq
