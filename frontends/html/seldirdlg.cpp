#include "seldirdlg.h"

namespace tq {

TSelectDirectoryDlg* SelectDirectoryDlg = nullptr;

TSelectDirectoryDlg::TSelectDirectoryDlg(TComponent* owner) : TForm(owner) {
  RegisterComponentClass<TDirectoryTree>("TDirectoryTree");
  TQ_FIELD(DirectoryTree1);
  TQ_FIELD(Label2);
  TQ_FIELD(OKBtn);
  TQ_FIELD(CancelBtn);
  TQ_FIELD(Timer1);
  TQ_HANDLER(TSelectDirectoryDlg, DirectoryTree1Change);
  TQ_HANDLER(TSelectDirectoryDlg, DirectoryTree1MouseDown);
  TQ_HANDLER(TSelectDirectoryDlg, Timer1Timer);
  TQ_HANDLER(TSelectDirectoryDlg, OKBtnClick);
  LoadLayoutResource("SELECTDIRECTORYDLG");
  // The label follows the selection too, not only the folders opened.
  DirectoryTree1->TTreeView::OnChange = [this](TObject* sender, TTreeNode*) { DirectoryTree1Change(sender); };
}

void TSelectDirectoryDlg::CreateParams(TCreateParams& params) {
  TForm::CreateParams(params);
  params.ExStyle |= WS_EX_TOPMOST;
}

std::string TSelectDirectoryDlg::SelectedPath() const {
  TTreeNode* node = DirectoryTree1->Selected();
  if (!node) return {};
  std::string path = node->Text();
  for (TTreeNode* p = node->Parent(); p; p = p->Parent()) path = p->Text() + "\\" + path;
  size_t slash = path.find('\\');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string TSelectDirectoryDlg::DestinationPath() const {
  std::string path = SelectedPath();
  if (path.size() == 2 && path[1] == ':') path += '\\';
  return path;
}

void TSelectDirectoryDlg::DirectoryTree1Change(TObject*) { Label2->SetCaption(SelectedPath()); }

void TSelectDirectoryDlg::Preset(const std::string& path) {
  DirectoryTree1->Handle();  // the tree is built with its window
  std::string rest = IncludeTrailingPathDelimiter(path);
  TTreeNode* node = DirectoryTree1->Root();
  for (size_t slash; node && (slash = rest.find('\\')) != std::string::npos;) {
    std::string part = rest.substr(0, slash);
    rest.erase(0, slash + 1);
    TTreeNode* found = nullptr;
    for (int i = 0; i < node->Count() && !found; ++i)
      if (SameText(node->Item(i)->Text(), part)) found = node->Item(i);
    if (!found) break;
    node = found;
    DirectoryTree1->OpenNode(node);
    Application->ProcessMessages();
  }
  if (node) DirectoryTree1->SetSelected(node);
  Label2->SetCaption(IncludeTrailingPathDelimiter(path));
}

void TSelectDirectoryDlg::DirectoryTree1MouseDown(TObject*, TMouseButton button, TShiftState, int, int) {
  TTreeNode* selected = DirectoryTree1->Selected();
  if (button != mbRight || !selected) return;
  DirectoryTree1->OpenNode(selected);  // its own folders first, or they would never be read
  FNewNode = DirectoryTree1->AddNewFolder(selected, "New Directory");
  Timer1->SetEnabled(true);
}

void TSelectDirectoryDlg::Timer1Timer(TObject*) {
  Timer1->SetEnabled(false);
  TTreeNode* selected = DirectoryTree1->Selected();
  if (!selected || !FNewNode || FNewNode->Parent() != selected) return;
  selected->Expand(false);
  FNewNode->EditText();
}

void TSelectDirectoryDlg::OKBtnClick(TObject*) {
  TTreeNode* node = DirectoryTree1->Selected();
  if (!node || !node->Parent()) SetModalResult(mrNone);  // "My Computer" is no folder
}

}  // namespace tq
