// The File menu's Save and the pieces Open builds on: the save prompt before a
// command replaces the open project, the version folders, the project list
// "projects.dat" and the search for a version folder's project file.
#include <windows.h>

#include "FileUtils.h"
#include "Recent.h"
#include "RecentFiles.h"
#include "TQOpenDlg.h"
#include "TextFile.h"
#include "main.h"

namespace tq {

namespace {

const char* const ReplacePrompt = "The current project needs saving. \r\nDo you want to save it?";

// The folder part of path, with its trailing backslash.
std::string FolderOf(const std::string& path) {
  size_t slash = path.find_last_of('\\');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string NameOf(const std::string& path) {
  size_t slash = path.find_last_of('\\');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::string TRWInstallForm::GetParentFolderName(const std::string& path) {
  size_t last = path.find_last_of('\\');
  if (last == std::string::npos || last == 0) return std::string();
  size_t before = path.find_last_of('\\', last - 1);
  if (before == std::string::npos) return std::string();
  return path.substr(before + 1, last - before - 1);
}

bool TRWInstallForm::IsVersionName(const std::string& name) {
  for (char c : name)
    if (!(c == '.' || (c >= '0' && c <= '9'))) return false;
  return true;
}

bool TRWInstallForm::SaveBeforeReplacing() {
  if (!FModified) return true;
  int answer = MessageDlg(ReplacePrompt, mtConfirmation, mbYesNoCancel);
  if (answer == mrNo) return true;
  if (answer != mrYes) return false;  // Cancel keeps the open project
  return SaveForPrompt();
}

void TRWInstallForm::SaveProjectList() {
  TTextFile out(FAppDir + "projects.dat");
  out.Rewrite();
  for (int i = 0; i < FProjectList->Count(); ++i) {
    out.WriteLn(FProjectList->Get(i));
    auto* folder = dynamic_cast<TStringObject*>(FProjectList->GetObjectAt(i));
    out.WriteLn(folder ? folder->Value : std::string());
  }
  out.Close();
}

void TRWInstallForm::AddToProjectList(const std::string& productName, const std::string& folder) {
  int index = FProjectList->IndexOf(productName);
  if (index >= 0) {
    delete FProjectList->GetObjectAt(index);
    FProjectList->PutObjectAt(index, new TStringObject(folder));
  } else {
    FProjectList->AddObject(productName, new TStringObject(folder));
  }
  SaveProjectList();
}

void TRWInstallForm::File1Click(TObject*) {
  Save1->SetEnabled(!FProjectFile.empty() && FModified == 1);
  SaveAs1->SetEnabled(!edProductName->Text().empty());
  if (RecentFiles)
    RebuildRecentFilesMenu(File1, RecentFiles->DataFile(), [this](TObject* s) { OpenRecentFile(s); },
                           RecentFiles->MaxFiles());
}

void TRWInstallForm::OpenRecentFile(TObject* sender) {
  auto* item = dynamic_cast<TRecentFileItem*>(sender);
  if (!item) return;
  const std::string path = item->Path;  // the menu may be rebuilt while saving
  if (!SaveBeforeReplacing()) return;
  // A file that cannot be read keeps the open project and stays listed.
  ReadProjectFrom(path);
  if (RecentFiles) RecentFiles->AddFile(path);
}

void TRWInstallForm::Save1Click(TObject*) {
  const std::string version = edProductVersion->Text();
  if (GetParentFolderName(FProjectFile) != version) {
    // Into a sibling version folder beside the current one; the old folder
    // and its files stay as they are.
    std::string above = FolderOf(FolderOf(FProjectFile).substr(0, FolderOf(FProjectFile).size() - 1));
    std::string folder = above + version;
    if (!DirectoryExists(folder) && !CreateDir(folder))
      throw EInOutError(Format("Cannot create the folder %s", {folder}));
    FProjectFile = folder + "\\" + NameOf(FProjectFile);
    if (!FOutputFile.empty()) {
      std::string outAbove = FolderOf(FolderOf(FOutputFile).substr(0, FolderOf(FOutputFile).size() - 1));
      FOutputFile = outAbove + version + "\\" + NameOf(FOutputFile);
    }
  }
  SaveProject();
}

bool TRWInstallForm::SaveAs1Click(TObject*) {
  SaveDialog1->Filter = "Install Project (*.ipr)|*.ipr";
  SaveDialog1->DefaultExt = "ipr";
  SaveDialog1->Options = SaveDialog1->Options | ofOverwritePrompt;
  SaveDialog1->FileName = GetCleanProductName();
  if (!SaveDialog1->Execute()) return false;
  const std::string chosen = SaveDialog1->FileName;
  const std::string folder = FolderOf(chosen);
  const std::string versionFolder = folder + edProductVersion->Text();
  const std::string target = IncludeTrailingPathDelimiter(versionFolder) + NameOf(chosen);
  // The project goes into the version folder below the chosen one: that is the
  // file to ask about, not the one the dialog checked.
  if (!AnsiSameText(target, FProjectFile) && FileExists(target) &&
      MessageDlg(target + " already exists.\r\nDo you want to replace it?", mtConfirmation, mbYesNo) != mrYes)
    return false;

  AddToProjectList(edProductName->Text(), folder);
  if (!DirectoryExists(versionFolder) && !CreateDir(versionFolder))
    throw EInOutError(Format("Cannot create the folder %s", {versionFolder}));
  const std::string package = ChangeFileExt(target, FProjectType != 0 ? ".msm" : ".msi");
  if (!AnsiSameText(package, FOutputFile) && !CopyFile(FOutputFile, package, false))
    throw EFCreateError(Format("Cannot copy %s to %s", {FOutputFile, package}));

  // A save that fails leaves the project where it was, so that a later Save
  // does not write to a file that never received it.
  const std::string oldProject = FProjectFile, oldOutput = FOutputFile, oldCaption = Caption();
  FProjectFile = target;
  FOutputFile = package;
  SetCaption(NameOf(target) + " - Tarnquill" +
             (FProjectType == 0 ? " - Install Project" : FProjectType == 1 ? " - Merge Module Project" : ""));
  try {
    SaveProject();
  } catch (...) {
    FProjectFile = oldProject;
    FOutputFile = oldOutput;
    SetCaption(oldCaption);
    throw;
  }
  return true;
}

std::vector<std::string> TRWInstallForm::ListVersionFolders(const std::string& projectFolder) {
  std::vector<std::string> versions;
  WIN32_FIND_DATAA found;
  HANDLE h = FindFirstFileA((IncludeTrailingPathDelimiter(projectFolder) + "*.*").c_str(), &found);
  if (h == INVALID_HANDLE_VALUE) return versions;
  do {
    std::string name = found.cFileName;
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != "." && name != ".." && IsVersionName(name))
      versions.push_back(name);
  } while (FindNextFileA(h, &found));
  ::FindClose(h);
  return versions;
}

std::string TRWInstallForm::FindProjectFile(const std::string& pattern) {
  WIN32_FIND_DATAA found;
  HANDLE h = FindFirstFileA(pattern.c_str(), &found);
  if (h == INVALID_HANDLE_VALUE) return std::string();
  std::string result;
  do {
    if (found.dwFileAttributes &
        (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM))
      continue;
    result = pattern.substr(0, pattern.size() - 5) + found.cFileName;
    break;
  } while (FindNextFileA(h, &found));
  ::FindClose(h);
  return result;
}

void TRWInstallForm::OpenVersion(const std::string& projectFolder, const std::string& version) {
  const std::string pattern = projectFolder + version + "\\*.ipr";
  const std::string file = FindProjectFile(pattern);
  if (file.empty()) {
    MessageDlg("Unable to find a project file in directory " + pattern, mtError, mbOK);
    return;
  }
  // The project is read before it counts as open or recent.
  ReadProjectFrom(file);
  if (RecentFiles) RecentFiles->AddFile(file);
}

void TRWInstallForm::Open1Click(TObject*) {
  if (!SaveBeforeReplacing()) return;
  if (!TQOpenDlg || TQOpenDlg->ShowModal() != mrOk) return;
  const int product = TQOpenDlg->ListBox1->ItemIndex();
  const int version = TQOpenDlg->ListBox2->ItemIndex();
  // The product rows are the project list's entries, in the same order.
  if (product < 0 || product >= FProjectList->Count() || version < 0 ||
      version >= TQOpenDlg->ListBox2->Items().Count())
    return;
  auto* folder = dynamic_cast<TStringObject*>(FProjectList->GetObjectAt(product));
  if (!folder) return;
  OpenVersion(folder->Value, TQOpenDlg->ListBox2->Items().Get(version));
}

}  // namespace tq
