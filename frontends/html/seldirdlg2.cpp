#include "seldirdlg2.h"

#include <windows.h>
#include <shlobj.h>

namespace tq {

TSelectDirectoryDlg2* SelectDirectoryDlg2 = nullptr;

namespace {
constexpr int ProgramsFolder = 2;         // CSIDL_PROGRAMS
constexpr int CommonProgramsFolder = 23;  // CSIDL_COMMON_PROGRAMS
}  // namespace

TSelectDirectoryDlg2::TSelectDirectoryDlg2(TComponent* owner) : TForm(owner) {
  TQ_FIELD(edGroup);
  TQ_FIELD(lbGroups);
  TQ_FIELD(OKBtn);
  TQ_FIELD(CancelBtn);
  TQ_HANDLER(TSelectDirectoryDlg2, FormShow);
  TQ_HANDLER(TSelectDirectoryDlg2, lbGroupsDblClick);
  LoadLayoutResource("SELECTDIRECTORYDLG2");
}

bool TSelectDirectoryDlg2::ShellSpecialFolder(int csidl, std::string& path) {
  char buffer[MAX_PATH] = "";
  if (!SHGetSpecialFolderPathA(nullptr, buffer, csidl, FALSE) || !buffer[0]) return false;
  path = buffer;
  return true;
}

void TSelectDirectoryDlg2::FormShow(TObject*) {
  std::string folder;
  if (!SpecialFolder(ProgramsFolder, folder)) return;
  if (IsNT && AskWhichPath) {
    bool allUsers = false;
    if (!AskWhichPath(allUsers)) return;  // Cancel: the lists stay as they were
    std::string common;
    if (allUsers && SpecialFolder(CommonProgramsFolder, common)) folder = common;
  }
  FFolder = IncludeTrailingPathDelimiter(folder);
  edGroup->SetText(PackageBaseName);
  lbGroups->Items().Clear();
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((FFolder + "*.*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    std::string name = found.cFileName;
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != "." && name != "..") lbGroups->Items().Add(name);
  } while (FindNextFileA(search, &found));
  FindClose(search);
}

void TSelectDirectoryDlg2::lbGroupsDblClick(TObject*) {
  int index = lbGroups->ItemIndex();
  if (index >= 0) edGroup->SetText(lbGroups->Items().Strings[index]);
}

}  // namespace tq
