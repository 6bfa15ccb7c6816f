#include "FileCtrls.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "FileUtils.h"

namespace tq {

namespace {

bool SameCharIgnoringCase(char a, char b) {
  return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
}

bool MatchFrom(const std::string& name, size_t n, const std::string& mask, size_t m) {
  while (m < mask.size()) {
    if (mask[m] == '*') {
      while (m < mask.size() && mask[m] == '*') ++m;
      if (m == mask.size()) return true;
      for (size_t k = n; k <= name.size(); ++k)
        if (MatchFrom(name, k, mask, m)) return true;
      return false;
    }
    if (n == name.size()) return false;
    if (mask[m] != '?' && !SameCharIgnoringCase(mask[m], name[n])) return false;
    ++n;
    ++m;
  }
  return n == name.size();
}

bool IsAbsolutePath(const std::string& path) {
  return (path.size() >= 2 && path[1] == ':') || (!path.empty() && path[0] == '\\');
}

// A folder's full path without a trailing "\", except a drive's root "c:\".
std::string NormalFolder(const std::string& dir) {
  std::string d = dir;
  if (d.size() == 2 && d[1] == ':') d += '\\';
  d = ExpandFileName(d);
  if (d.size() > 3) d = ExcludeTrailingPathDelimiter(d);
  return d;
}

std::string CheckedFolder(const std::string& dir) {
  std::string d = NormalFolder(dir);
  if (!DirectoryExists(d)) throw EInOutError("The folder " + dir + " does not exist");
  return d;
}

// The names in a folder, plain files or sub-folders, in name order.
std::vector<std::string> ListFolder(const std::string& dir, bool folders, const std::string& mask) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA((IncludeTrailingPathDelimiter(dir) + "*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    std::string name = data.cFileName;
    bool isFolder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (isFolder != folders || name == "." || name == "..") continue;
    if (FileNameMatchesMask(name, mask)) names.push_back(name);
  } while (FindNextFileA(find, &data));
  ::FindClose(find);
  std::stable_sort(names.begin(), names.end(),
                   [](const std::string& a, const std::string& b) { return AnsiCompareText(a, b) < 0; });
  return names;
}

}  // namespace

bool FileNameMatchesMask(const std::string& name, const std::string& mask) {
  if (mask == "*.*" || mask == "*") return true;
  return MatchFrom(name, 0, mask, 0);
}

// ---- TFileListBox -------------------------------------------------------------

TFileListBox::TFileListBox(TComponent* owner) : TListBox(owner) { FItems.SetSorted(true); }

void TFileListBox::SetDirectory(const std::string& dir) {
  FDirectory = CheckedFolder(dir);
  Update();
}

void TFileListBox::SetMask(const std::string& mask) {
  FMask = mask.empty() ? "*.*" : mask;
  if (!FDirectory.empty()) Update();
}

void TFileListBox::SetFileEdit(TEdit* edit) {
  FFileEdit = edit;
  if (edit) edit->FreeNotification(this);
}

void TFileListBox::Update() {
  std::vector<std::string> names = ListFolder(FDirectory, false, FMask);
  FItems.Clear();
  FItems.SetSorted(true);
  for (const std::string& name : names) FItems.Add(name);
  if (FFileEdit) FFileEdit->SetText(FMask);
  if (OnChange) OnChange(this);
}

void TFileListBox::ApplyFilePath(const std::string& path) {
  std::string typed = Trim(path);
  if (typed.empty()) return;
  std::string full = IsAbsolutePath(typed) ? typed : IncludeTrailingPathDelimiter(FDirectory) + typed;
  std::string folder, mask = FMask;
  if (DirectoryExists(full)) {
    folder = full;
  } else {
    if (!ExtractFilePath(typed).empty()) folder = ExtractFilePath(full);
    if (!ExtractFileName(full).empty()) mask = ExtractFileName(full);
  }
  if (!folder.empty()) folder = CheckedFolder(folder);
  FMask = mask;
  if (folder.empty() || folder == FDirectory) Update();
  else if (FDirList) FDirList->SetDirectory(folder);
  else SetDirectory(folder);
}

void TFileListBox::SetColumnWidth(int width) {
  FColumnWidth = width;
  if (HandleAllocated()) SendMessageA(WindowHandle(), LB_SETCOLUMNWIDTH, static_cast<WPARAM>(width), 0);
}

void TFileListBox::SelectAll() {
  for (int i = 0; i < FItems.Count(); ++i) SetSelected(i, true);
}

void TFileListBox::InitWindow() {
  TListBox::InitWindow();
  if (FColumnWidth > 0) SendMessageA(FHandle, LB_SETCOLUMNWIDTH, static_cast<WPARAM>(FColumnWidth), 0);
}

bool TFileListBox::CNCommand(WORD code) {
  if (code == LBN_SELCHANGE && FFileEdit && SelCount() == 1) {
    int index = ItemIndex();
    if (index >= 0 && index < FItems.Count()) FFileEdit->SetText(FItems.Get(index));
  }
  return TListBox::CNCommand(code);
}

void TFileListBox::Loaded() {
  TListBox::Loaded();
  if (FDirectory.empty()) SetDirectory(GetCurrentDir());
}

void TFileListBox::Notification(TComponent* component, TOperation operation) {
  TListBox::Notification(component, operation);
  if (operation != opRemove) return;
  if (component == FFileEdit) FFileEdit = nullptr;
  if (component == FDirList) FDirList = nullptr;
}

bool TFileListBox::SetLayoutProperty(const TLayoutProperty& prop, TLayoutLoader& loader) {
  const std::string& n = prop.Name;
  if (SameText(n, "Mask")) FMask = prop.Value.AsString().empty() ? "*.*" : prop.Value.AsString();
  else if (SameText(n, "FileEdit")) loader.Reference<TEdit>(prop, [this](TEdit* e) { SetFileEdit(e); });
  else if (SameText(n, "OnChange")) loader.Bind(OnChange, prop);
  else return TListBox::SetLayoutProperty(prop, loader);
  return true;
}

// ---- TDirectoryListBox ------------------------------------------------------------

TDirectoryListBox::TDirectoryListBox(TComponent* owner) : TListBox(owner) {}

TDirectoryListBox::~TDirectoryListBox() {
  if (FFileList && FFileList->FDirList == this) FFileList->FDirList = nullptr;
}

void TDirectoryListBox::SetDirectory(const std::string& dir) {
  FDirectory = CheckedFolder(dir);
  Fill();
  if (FDirLabel) FDirLabel->SetCaption(FDirectory);
  if (FFileList) FFileList->SetDirectory(FDirectory);
  if (OnChange) OnChange(this);
}

void TDirectoryListBox::Fill() {
  // The path's levels: the root ("c:\" or "\\server\share"), then each folder.
  std::vector<std::string> levels;
  std::string rest = FDirectory;
  std::string root;
  if (rest.rfind("\\\\", 0) == 0) {
    size_t server = rest.find('\\', 2);
    size_t share = server == std::string::npos ? std::string::npos : rest.find('\\', server + 1);
    root = rest.substr(0, share);
  } else {
    root = rest.substr(0, std::min<size_t>(rest.size(), 3));
  }
  levels.push_back(IncludeTrailingPathDelimiter(root));
  std::string path = IncludeTrailingPathDelimiter(root);
  for (size_t p = root.size(); p < rest.size();) {
    while (p < rest.size() && rest[p] == '\\') ++p;
    size_t end = rest.find('\\', p);
    if (end == std::string::npos) end = rest.size();
    if (end > p) {
      path += rest.substr(p, end - p);
      levels.push_back(path);
      path += '\\';
    }
    p = end;
  }
  FItems.Clear();
  FPaths.clear();
  for (size_t i = 0; i < levels.size(); ++i) {
    std::string text = i == 0 ? levels[i] : ExtractFileName(levels[i]);
    FItems.Add(std::string(2 * i, ' ') + text);
    FPaths.push_back(levels[i]);
  }
  int current = static_cast<int>(levels.size()) - 1;
  std::string indent(2 * levels.size(), ' ');
  for (const std::string& sub : ListFolder(FDirectory, true, "*")) {
    FItems.Add(indent + sub);
    FPaths.push_back(IncludeTrailingPathDelimiter(FDirectory) + sub);
  }
  SetItemIndex(current);
}

std::string TDirectoryListBox::GetItemPath(int index) const {
  if (index < 0 || index >= static_cast<int>(FPaths.size()))
    throw EListError(Format("List index out of bounds (%d)", {index}));
  return FPaths[static_cast<size_t>(index)];
}

void TDirectoryListBox::SetFileList(TFileListBox* list) {
  if (FFileList && FFileList->FDirList == this) FFileList->FDirList = nullptr;
  FFileList = list;
  if (!list) return;
  list->FDirList = this;
  list->FreeNotification(this);
  FreeNotification(list);
  if (!FDirectory.empty()) list->SetDirectory(FDirectory);
}

void TDirectoryListBox::SetDirLabel(TLabel* label) {
  FDirLabel = label;
  if (!label) return;
  label->FreeNotification(this);
  label->SetCaption(FDirectory);
}

void TDirectoryListBox::OpenSelected() {
  int index = ItemIndex();
  if (index >= 0 && index < static_cast<int>(FPaths.size())) SetDirectory(FPaths[static_cast<size_t>(index)]);
}

bool TDirectoryListBox::CNCommand(WORD code) {
  if (code == LBN_DBLCLK) OpenSelected();
  return TListBox::CNCommand(code);
}

void TDirectoryListBox::Loaded() {
  TListBox::Loaded();
  if (FDirectory.empty()) SetDirectory(GetCurrentDir());
}

void TDirectoryListBox::Notification(TComponent* component, TOperation operation) {
  TListBox::Notification(component, operation);
  if (operation != opRemove) return;
  if (component == FFileList) FFileList = nullptr;
  if (component == FDirLabel) FDirLabel = nullptr;
}

bool TDirectoryListBox::SetLayoutProperty(const TLayoutProperty& prop, TLayoutLoader& loader) {
  const std::string& n = prop.Name;
  if (SameText(n, "FileList")) loader.Reference<TFileListBox>(prop, [this](TFileListBox* l) { SetFileList(l); });
  else if (SameText(n, "DirLabel")) loader.Reference<TLabel>(prop, [this](TLabel* l) { SetDirLabel(l); });
  else if (SameText(n, "OnChange")) loader.Bind(OnChange, prop);
  else return TListBox::SetLayoutProperty(prop, loader);
  return true;
}

// ---- TDriveComboBox ----------------------------------------------------------------

TDriveComboBox::TDriveComboBox(TComponent* owner) : TComboBox(owner) {
  FStyle = csDropDownList;
  FillDrives();
}

void TDriveComboBox::FillDrives() {
  char buffer[512] = {};
  DWORD length = GetLogicalDriveStringsA(sizeof buffer - 1, buffer);
  FItems.Clear();
  for (const char* p = buffer; length && *p && p < buffer + sizeof buffer; p += std::strlen(p) + 1)
    if (std::isalpha(static_cast<unsigned char>(p[0])))
      FItems.Add(std::string(1, static_cast<char>(std::tolower(static_cast<unsigned char>(p[0])))) + ":");
  std::string current = GetCurrentDir();
  if (!current.empty()) {
    FDrive = static_cast<char>(std::tolower(static_cast<unsigned char>(current[0])));
    SetItemIndex(FItems.IndexOf(std::string(1, FDrive) + ":"));
  }
}

void TDriveComboBox::SetDrive(char drive) {
  drive = static_cast<char>(std::tolower(static_cast<unsigned char>(drive)));
  SetItemIndex(FItems.IndexOf(std::string(1, drive) + ":"));
  if (drive == FDrive) return;
  FDrive = drive;
  if (FDirList) FDirList->SetDirectory(std::string(1, drive) + ":\\");
}

bool TDriveComboBox::CNCommand(WORD code) {
  if (code == CBN_SELCHANGE) {
    int index = ItemIndex();
    if (index >= 0 && index < FItems.Count()) SetDrive(FItems.Get(index)[0]);
  }
  return TComboBox::CNCommand(code);
}

void TDriveComboBox::Notification(TComponent* component, TOperation operation) {
  TComboBox::Notification(component, operation);
  if (operation == opRemove && component == FDirList) FDirList = nullptr;
}

void TDriveComboBox::SetDirList(TDirectoryListBox* list) {
  FDirList = list;
  if (list) list->FreeNotification(this);
}

bool TDriveComboBox::SetLayoutProperty(const TLayoutProperty& prop, TLayoutLoader& loader) {
  if (SameText(prop.Name, "DirList"))
    loader.Reference<TDirectoryListBox>(prop, [this](TDirectoryListBox* l) { SetDirList(l); });
  else return TComboBox::SetLayoutProperty(prop, loader);
  return true;
}

}  // namespace tq
