#include "DirectoryTree.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>

#include "SysUtils.h"

namespace tq {

namespace {

constexpr UINT WmResortEdited = WM_APP + 0x51;
const char* const ImageNames[] = {"DIRCLOSE",  "DIROPEN",    "COMPUTER", "HARDDISK",
                                  "CDROMDISK", "FLOPPYDISK", "RAMDISK",  "REMOTEDISK"};

int DriveImage(const std::string& root) {
  switch (GetDriveTypeA(root.c_str())) {
    case DRIVE_UNKNOWN:
    case DRIVE_FIXED:
      return 3;
    case DRIVE_REMOVABLE:
      return 5;
    case DRIVE_CDROM:
      return 4;
    case DRIVE_RAMDISK:
      return 6;
    case DRIVE_REMOTE:
      return 7;
    default:  // no root directory
      return 0;
  }
}

}  // namespace

TDirectoryTree::TDirectoryTree(TComponent* owner) : TTreeView(owner) {
  HIMAGELIST images = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 8, 7);
  for (const char* name : ImageNames) {
    HBITMAP bitmap = LoadBitmapA(GetModuleHandleA(nullptr), name);
    if (bitmap) {
      ImageList_AddMasked(images, bitmap, RGB(255, 255, 255));
      DeleteObject(bitmap);
    }
  }
  FImages = images;
}

TDirectoryTree::~TDirectoryTree() {
  DestroyHandle();
  ImageList_Destroy(static_cast<HIMAGELIST>(FImages));
}

void TDirectoryTree::InitWindow() {
  TTreeView::InitWindow();
  SendMessageA(FHandle, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(FImages));
  char current[MAX_PATH] = "";
  GetCurrentDirectoryA(MAX_PATH, current);
  FCurrentDrive = std::string(1, static_cast<char>(toupper(static_cast<unsigned char>(current[0])))) + ":";
  LoadDrives();
}

void TDirectoryTree::DoChange() {
  if (OnChange) OnChange(this);
}

void TDirectoryTree::ShowLook(TTreeNode* node) {
  if (!HandleAllocated() || !node->ItemId()) return;
  TVITEMA item{};
  item.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN;
  item.hItem = node->ItemId();
  item.iImage = node->ImageIndex;
  item.iSelectedImage = node->SelectedIndex;
  item.cChildren = MarkedAsHavingChildren(node) || node->HasChildren() ? 1 : 0;
  SendMessageA(FHandle, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

void TDirectoryTree::SetMarked(TTreeNode* node, bool marked) {
  if (marked) FMarked.insert(node);
  else FMarked.erase(node);
  ShowLook(node);
}

TTreeNode* TDirectoryTree::AddSorted(TTreeNode* parent, const std::string& text, int image, int selectedImage,
                                     bool marked) {
  TTreeNode* before = nullptr;
  int count = parent ? parent->Count() : Items().TopCount();
  for (int i = 0; i < count && !before; ++i) {
    TTreeNode* sibling = parent ? parent->Item(i) : Items().TopItem(i);
    if (CompareText(sibling->Text(), text) > 0) before = sibling;
  }
  TTreeNode* node = before ? Items().Insert(before, text) : Items().AddChild(parent, text);
  node->ImageIndex = image;
  node->SelectedIndex = selectedImage;
  if (marked) FMarked.insert(node);
  ShowLook(node);
  if (parent) ShowLook(parent);
  return node;
}

void TDirectoryTree::LoadDrives() {
  FEdited = nullptr;
  Items().Clear();
  FMarked.clear();
  TTreeNode* root = Items().AddChild(nullptr, "My Computer");
  root->ImageIndex = root->SelectedIndex = 2;
  ShowLook(root);
  DWORD mask = GetLogicalDrives();
  TTreeNode* current = nullptr;
  for (int i = 0; i < 26; ++i) {
    if (!(mask & (1u << i))) continue;
    std::string drive = std::string(1, static_cast<char>('A' + i)) + ":";
    int image = DriveImage(drive + "\\");
    TTreeNode* node = Items().AddChild(root, drive);
    node->ImageIndex = node->SelectedIndex = image;
    FMarked.insert(node);
    ShowLook(node);
    if (drive == FCurrentDrive) current = node;
  }
  ShowLook(root);
  if (current) SetSelected(current);
}

void TDirectoryTree::AddSubDirectories(const std::string& path, TTreeNode* node) {
  std::string folder = IncludeTrailingPathDelimiter(path);
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "*.*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    std::string name = found.cFileName;
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != "." && name != "..")
      AddSorted(node, name, 0, 1, true);
  } while (FindNextFileA(search, &found));
  FindClose(search);
}

std::string TDirectoryTree::NodePath(const TTreeNode* node) const {
  if (!node || !node->Parent()) return {};
  std::string path = node->Text();
  for (const TTreeNode* p = node->Parent(); p && p->Parent(); p = p->Parent()) path = p->Text() + "\\" + path;
  return path;
}

void TDirectoryTree::OpenNode(TTreeNode* node) {
  if (!node || !node->Parent()) return;
  std::string path = NodePath(node);
  if (!node->HasChildren()) AddSubDirectories(path, node);
  FDirectory = path;
  DoChange();
}

void TDirectoryTree::MouseDownOn(int x, int y) {
  TVHITTESTINFO hit{};
  hit.pt = POINT{x, y};
  auto item = reinterpret_cast<HTREEITEM>(SendMessageA(FHandle, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
  if (!item || !(hit.flags & (TVHT_ONITEM | TVHT_ONITEMBUTTON))) return;
  TTreeNode* node = NodeFromItem(item);
  if (!node || !node->Parent()) return;
  FDirectory = NodePath(node);
  DoChange();
  int before = node->Count();
  OpenNode(node);
  SetSelected(node);
  if (node->Count() == 0) SetMarked(node, false);
  else if (before == 0) node->Expand(false);
}

LRESULT TDirectoryTree::WndProc(UINT msg, WPARAM w, LPARAM l) {
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: {
      LRESULT result = TTreeView::WndProc(msg, w, l);
      MouseDownOn(static_cast<short>(LOWORD(l)), static_cast<short>(HIWORD(l)));
      return result;
    }
    case WmResortEdited:
      ResortEdited();
      return 0;
    default:
      return TTreeView::WndProc(msg, w, l);
  }
}

bool TDirectoryTree::CNNotify(NMHDR* header, LRESULT& result) {
  bool handled = TTreeView::CNNotify(header, result);
  if (header->code == TVN_ENDLABELEDITA || header->code == TVN_ENDLABELEDITW) {
    auto* info = reinterpret_cast<NMTVDISPINFOA*>(header);
    FEdited = NodeFromItem(info->item.hItem);
    // Moved once the edit control has gone.
    if (FEdited) PostMessageA(FHandle, WmResortEdited, 0, 0);
  }
  return handled;
}

void TDirectoryTree::ResortEdited() {
  TTreeNode* node = FEdited;
  FEdited = nullptr;
  if (!node || node->HasChildren()) return;
  bool stillThere = false;
  for (int i = 0; i < Items().Count() && !stillThere; ++i) stillThere = Items().Item(i) == node;
  if (!stillThere) return;
  TTreeNode* parent = node->Parent();
  std::string text = node->Text();
  int image = node->ImageIndex, selectedImage = node->SelectedIndex;
  bool marked = MarkedAsHavingChildren(node), selected = Selected() == node;
  FMarked.erase(node);
  node->Delete();
  TTreeNode* moved = AddSorted(parent, text, image, selectedImage, marked);
  if (selected) SetSelected(moved);
}

bool TDirectoryTree::SetLayoutProperty(const TLayoutProperty& prop, TLayoutLoader& loader) {
  if (SameText(prop.Name, "OnChange")) loader.Bind(OnChange, prop);
  else return TTreeView::SetLayoutProperty(prop, loader);
  return true;
}

}  // namespace tq
