// The open project to and from its project file: the window's state gathered
// into the file's content for writing, and a content read completely from a
// file applied to the window only after the whole file was read.
#include <windows.h>

#include "ComponentStream.h"
#include "FileUtils.h"
#include "ItemPages.h"
#include "MergeItem.h"
#include "ProjectFile.h"
#include "Recent.h"
#include "WorkspaceDialogs.h"
#include "associations.h"
#include "choices.h"
#include "evar.h"
#include "main.h"
#include "regentry.h"
#include "shortcut.h"

namespace tq {

namespace {

// ---- window to content ----------------------------------------------------

void TreeToStored(TTreeView* tree, TStoredTree& stored) {
  stored.Left = tree->Left();
  stored.Top = tree->Top();
  stored.Width = tree->Width();
  stored.Height = tree->Height();
  stored.BorderStyle = 0;
  stored.Indent = tree->Indent();
  stored.TabOrder = tree->TabOrder();
  stored.Items.Nodes.clear();
  for (TTreeNode* n = tree->Items().GetFirstNode(); n; n = n->GetNext()) {
    TStoredNode r;
    r.Text = n->Text();
    r.Level = n->Level();
    r.ImageIndex = n->ImageIndex;
    r.SelectedIndex = n->SelectedIndex;
    r.StateIndex = n->StateIndex;
    r.OverlayIndex = n->OverlayIndex;
    r.Data = 0;
    stored.Items.Nodes.push_back(r);
  }
}

template <class T>
std::vector<T*> TabItems(TTabControl* tabs) {
  std::vector<T*> items;
  for (int i = 0; i < tabs->Tabs().Count(); ++i)
    if (auto* item = dynamic_cast<T*>(tabs->Tabs().GetObjectAt(i))) items.push_back(item);
  return items;
}

// Copies a data object's published values into a freshly made one of its class.
void CopyByStream(TComponent& from, TComponent& to) {
  TMemoryStream bytes;
  WriteComponent(bytes, from);
  bytes.SetPosition(0);
  ReadComponent(bytes, to);
}

// ---- content to window ----------------------------------------------------

// The stored nodes replace the tree's nodes; the tree keeps its own bounds.
void StoredToTree(const TStoredTree& stored, TTreeView* tree) {
  tree->Items().BeginUpdate();
  tree->Items().Clear();
  std::vector<TTreeNode*> parents;  // the last node of each level
  for (const TStoredNode& r : stored.Items.Nodes) {
    const size_t level = static_cast<size_t>(r.Level);
    TTreeNode* parent = level == 0 || level > parents.size() ? nullptr : parents[level - 1];
    TTreeNode* node = parent ? tree->Items().AddChild(parent, r.Text) : tree->Items().Add(nullptr, r.Text);
    node->ImageIndex = r.ImageIndex;
    node->SelectedIndex = r.SelectedIndex;
    node->StateIndex = r.StateIndex;
    node->OverlayIndex = r.OverlayIndex;
    parents.resize(parent ? level : 0);
    parents.push_back(node);
  }
  tree->Items().EndUpdate();
}

// The page is cleared and the items read move from the content's holder to
// its tabs; each tab shows its item's loaded caption, the last tab the page's
// loaded placeholder caption -- unless the page has no placeholder (a merge
// module's choices).
template <class T>
void LoadItemPage(TRWInstallForm& w, TItemPageId id, std::vector<T*>& items, bool withPlaceholder = true) {
  ClearItemPage(w, id);
  const TItemPage& page = ItemPage(id);
  TTabControl* tabs = w.*page.Tabs;
  {
    TUpdateBatch batch(tabs->Tabs());  // one layout of the tabs, not one per tab
    for (size_t i = 0; i < items.size(); ++i) {
      T* item = items[i];
      if (item->Owner()) item->Owner()->RemoveComponent(item);
      // Items carry no component name of their own (the program names none);
      // one read from a file could meet a control's name ("edProductName") and
      // stop the load half-way, so it is dropped.
      item->SetName("");
      w.InsertComponent(item);
      const bool last = i + 1 == items.size() && withPlaceholder;
      tabs->Tabs().AddObject(last ? std::string(page.LoadedPlaceholder) : *page.LoadedCaption(item), item);
    }
    items.clear();
  }
  if (tabs->Tabs().Count() > 0) tabs->SetTabIndex(0);
}

// The version up to, not including, its second ".".
std::string VersionFolder(const std::string& version) {
  size_t first = version.find('.');
  if (first == std::string::npos) return version;
  size_t second = version.find('.', first + 1);
  return second == std::string::npos ? version : version.substr(0, second);
}

// Sets a check box without running its click handler: loading is not editing.
void SetCheckQuietly(TCheckBox* box, bool checked) {
  TNotifyEvent click = std::move(box->OnClick);
  box->OnClick = nullptr;
  box->SetChecked(checked);
  box->OnClick = std::move(click);
}

}  // namespace

void TRWInstallForm::WriteProjectTo(const std::string& fileName) {
  TProjectFileContent c;
  c.ProjectType = FProjectType;
  TreeToStored(trTargetDir, c.TargetDir);
  c.Choices = TabItems<TChoice>(tcChoices);
  TreeToStored(trChoices, c.ChoicesTree);
  c.ChoicesTree.HideSelection = false;
  c.Registry = TabItems<TRegEntry>(tcRegistry);
  c.Shortcuts = TabItems<TRwiShortcut>(tcShortcuts);
  c.EVars = TabItems<TEVar>(tcEVar);
  c.Merges = TabItems<TMerge>(tcMergeModules);

  c.Compiler.VB6 = VisualBasic6RunTime1->Checked();
  c.Compiler.VB5 = VisualBasic5RunTime1->Checked();
  c.Compiler.CLR = CLRRuntime1->Checked();
  c.Compiler.BdePro = Pro1->Checked();
  c.Compiler.BdeEnterprise = Enterprise1->Checked();

  c.Info.ProductName = edProductName->Text();
  c.Info.ProductVersion = edProductVersion->Text();
  c.Info.Manufacturer = edManufacturer->Text();
  c.Info.ProductCode = edProductCode->Text();
  c.Info.PackageCode = edPackageCode->Text();
  c.Info.PerUser = !rbPerMachine->Checked();

  CopyByStream(*FHtmlPagesNames, c.PagesNames);
  CopyByStream(*FHtmlSupportPages, c.SupportPages);
  CopyByStream(*FFlashSupport, c.FlashSupport);

  c.IncludePages.LicenseHtml = ckbLicenseHtml->Checked();
  c.IncludePages.ReadmeHtml = ckbReadmeHtml->Checked();
  c.IncludePages.CustInfoHtml = ckbCustInfoHtml->Checked();
  c.IncludePages.GroupHtml = ckbGroupHtml->Checked();
  c.IncludePages.HtmlUi = ckbHtmlUi->Checked();
  c.IncludePages.FlashUi = ckbFlashUi->Checked();
  c.IncludePages.AllPages = ckbAllPages->Checked();
  c.IncludePages.FlashMovie = edFlashMovie->Text();

  if (BPOptionsDlg) {
    c.BackNextCancelFont.Assign(BPOptionsDlg->FontDialog1->Font());
    c.OtherTextFont.Assign(BPOptionsDlg->FontDialog2->Font());
    c.ProgressBackColor = BPOptionsDlg->ProgressBarBackgroundColorDlg->Color;
    c.ProgressForeColor = BPOptionsDlg->ProgressBarForegroundColorDlg->Color;
  }
  c.LicenseFile = edLicenseFile->Text();
  c.ReadmeFile = edReadmeFile->Text();

  c.DisableComplete = ckbDisableComplete->Checked();
  c.IncludePatching = ckbIncludePatching->Checked();
  c.WelcomeBitmap = edWelcomeBitmap->Text();
  c.BannerBitmap = edBannerBitmap->Text();
  c.HasAssociations = true;
  c.Associations = TabItems<TAssociation>(tcAssociations);
  c.IncludeMsi = ckbIncludeMsi->Checked();
  c.SupportUrl = edSupportUrl->Text();
  c.HomepageUrl = edHomepageUrl->Text();
  c.UpdateFrom = FUpdateFrom;
  c.AllowAutoUpdate = FAllowAutoUpdate != 0;
  c.UpdatePending = FUpdatePending != 0;
  c.HasFtpData = true;
  if (ProjectFtpData) CopyByStream(*ProjectFtpData, c.FtpData);
  c.UpdateCreated = FUpdateCreated != 0;
  c.VersionComparison = edVersionComparison->Text();

  // The items stay with the window: the content only points at them.
  struct TRelease {
    TProjectFileContent& C;
    ~TRelease() {
      C.Choices.clear();
      C.Registry.clear();
      C.Shortcuts.clear();
      C.EVars.clear();
      C.Merges.clear();
      C.Associations.clear();
    }
  } release{c};
  SaveProjectFile(fileName, c);

  // The page stylesheet beside the package, when it is missing there.
  if (!FOutputFile.empty()) {
    std::string css = ExtractFilePath(FOutputFile) + "tqstyle.css";
    if (!FileExists(css) && FileExists(FAppDir + "tqstyle.css.tpl"))
      if (!CopyFile(FAppDir + "tqstyle.css.tpl", css, false))
        throw EFCreateError(Format("Cannot create file %s", {css}));
  }
  if (RecentFiles) RecentFiles->AddFile(fileName);
}

void TRWInstallForm::ReadProjectFrom(const std::string& fileName) {
  // The whole file is read before the open project is touched: a file that
  // cannot be read leaves the project, its file name and its state as they were.
  TProjectFileContent c;
  LoadProjectFile(fileName, c);

  const uint8_t oldUpdating = FUpdating;
  FUpdating = 1;
  struct TRestore {
    uint8_t& Flag;
    uint8_t Old;
    ~TRestore() { Flag = Old; }
  } restore{FUpdating, oldUpdating};

  // The Info fields' change handlers run as the fields are filled; what they
  // record is not an edit.
  const uint8_t versionEdited = FVersionEdited;
  FProjectFile = fileName;
  std::string caption = ExtractFileName(fileName) + " - Tarnquill";
  FProjectType = c.ProjectType;
  if (FProjectType == 0) {
    ShowPackageCaptions();
    FOutputFile = ChangeFileExt(fileName, ".msi");
    caption += " - Install Project";
  } else if (FProjectType == 1) {
    ShowModuleCaptions();
    FOutputFile = ChangeFileExt(fileName, ".msm");
    caption += " - Merge Module Project";
  }
  SetCaption(caption);

  FSelectedDirNode = nullptr;
  StoredToTree(c.TargetDir, trTargetDir);
  if (TTreeNode* first = trTargetDir->Items().GetFirstNode()) first->Expand(true);

  // A merge module's one choice is a real choice, not a placeholder.
  LoadItemPage(*this, ipChoices, c.Choices, FProjectType != 1);
  StoredToTree(c.ChoicesTree, trChoices);
  if (tcChoices->Tabs().Count() > 0) {
    const std::string first = tcChoices->Tabs()[0];
    for (TTreeNode* n = trChoices->Items().GetFirstNode(); n; n = n->GetNext())
      if (n->Text() == first) {
        trChoices->SetSelected(n);
        break;
      }
  }

  LoadItemPage(*this, ipRegistry, c.Registry);
  LoadItemPage(*this, ipShortcuts, c.Shortcuts);

  // The Shortcuts page lists follow the choices and the directory tree.
  FillShortcutLists(*this);

  LoadItemPage(*this, ipEnvironment, c.EVars);
  LoadItemPage(*this, ipModules, c.Merges);

  // Compiler menu: the checks only; the run-time files are already in the choices.
  VisualBasic6RunTime1->SetChecked(c.Compiler.VB6);
  VisualBasic5RunTime1->SetChecked(c.Compiler.VB5);
  CLRRuntime1->SetChecked(c.Compiler.CLR);
  Pro1->SetChecked(c.Compiler.BdePro);
  Enterprise1->SetChecked(c.Compiler.BdeEnterprise);

  edProductName->SetText(c.Info.ProductName);
  edProductVersion->SetText(c.Info.ProductVersion);
  edManufacturer->SetText(c.Info.Manufacturer);
  edProductCode->SetText(c.Info.ProductCode);
  edPackageCode->SetText(c.Info.PackageCode);
  if (c.Info.PerUser)
    rbPerUser->SetChecked(true);
  else
    rbPerMachine->SetChecked(true);

  // The setup page objects are made anew, so nothing of the previous project's
  // pages carries over.
  FreeSetupPageObjects();
  CreateSetupPageObjects();
  CopyByStream(c.PagesNames, *FHtmlPagesNames);
  CopyByStream(c.SupportPages, *FHtmlSupportPages);
  CopyByStream(c.FlashSupport, *FFlashSupport);
  lbSupportFilesFlash->Items().Assign(*FFlashSupport->SupportFiles);

  // The include boxes and the front-end boxes run their click handlers as for
  // a user's change: the page tabs and the Gui page's fields follow them.
  ckbLicenseHtml->SetChecked(c.IncludePages.LicenseHtml);
  ckbReadmeHtml->SetChecked(c.IncludePages.ReadmeHtml);
  ckbCustInfoHtml->SetChecked(c.IncludePages.CustInfoHtml);
  ckbGroupHtml->SetChecked(c.IncludePages.GroupHtml);
  ckbHtmlUi->SetChecked(c.IncludePages.HtmlUi);
  ckbFlashUi->SetChecked(c.IncludePages.FlashUi);
  SetCheckQuietly(ckbAllPages, c.IncludePages.AllPages);
  edFlashMovie->SetText(c.IncludePages.FlashMovie);

  if (BPOptionsDlg) {
    BPOptionsDlg->FontDialog1->Font().Assign(c.BackNextCancelFont);
    BPOptionsDlg->FontDialog2->Font().Assign(c.OtherTextFont);
    BPOptionsDlg->ProgressBarBackgroundColorDlg->Color = c.ProgressBackColor;
    BPOptionsDlg->ProgressBarForegroundColorDlg->Color = c.ProgressForeColor;
  }
  edLicenseFile->SetText(c.LicenseFile);
  edReadmeFile->SetText(c.ReadmeFile);

  // Optional sections: a field the file does not hold keeps the value of the
  // project loaded over, except the two Build flags, which default to off.
  SetCheckQuietly(ckbDisableComplete, c.DisableComplete.value_or(false));
  SetCheckQuietly(ckbIncludePatching, c.IncludePatching.value_or(false));
  EnableVersionComparison();
  if (ckbIncludePatching->Checked()) FPatchCount = 0;
  if (c.WelcomeBitmap) edWelcomeBitmap->SetText(*c.WelcomeBitmap);
  if (c.BannerBitmap) edBannerBitmap->SetText(*c.BannerBitmap);
  if (c.HasAssociations) {
    // The records read before damage are real associations; a fresh
    // placeholder follows them.
    if (!c.AssociationsError.empty()) c.Associations.push_back(new TAssociation(this));
    LoadItemPage(*this, ipAssociations, c.Associations);
  }
  if (c.IncludeMsi) SetCheckQuietly(ckbIncludeMsi, *c.IncludeMsi);
  if (c.SupportUrl) edSupportUrl->SetText(*c.SupportUrl);
  if (c.HomepageUrl) edHomepageUrl->SetText(*c.HomepageUrl);
  if (c.UpdateFrom) FUpdateFrom = *c.UpdateFrom;
  FUpdateVersion = VersionFolder(edProductVersion->Text());
  if (c.AllowAutoUpdate) FAllowAutoUpdate = *c.AllowAutoUpdate ? 1 : 0;
  if (c.UpdatePending) FUpdatePending = *c.UpdatePending ? 1 : 0;
  // The FTP settings belong to the project: a file without them leaves none,
  // never the previous project's host and password.
  RecreateProjectFtpData(this);
  if (c.HasFtpData) CopyByStream(c.FtpData, *ProjectFtpData);
  if (c.UpdateCreated) FUpdateCreated = *c.UpdateCreated ? 1 : 0;
  if (c.VersionComparison) edVersionComparison->SetText(*c.VersionComparison);

  if (GenerateHtmlPagesReminderDlg) GenerateHtmlPagesReminderDlg->ckbDontRemind->SetChecked(false);
  FModified = 0;
  FVersionEdited = versionEdited;

  if (!c.AssociationsError.empty())
    throw EReadError("The file associations of " + fileName + " are damaged (" + c.AssociationsError +
                     "); the associations read so far were kept and the later settings were not read");
}

}  // namespace tq
