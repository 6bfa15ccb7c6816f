#include "UpdateCreation.h"

#include <cctype>

#include "FileUtils.h"
#include "IniFiles.h"
#include "Prompts.h"
#include "SysUtils.h"

namespace tq {

const char HomeDirectoryNode[] = "<Home Directory>";

namespace {

// The hourglass for the lifetime of the object.
class TBusyScope {
 public:
  explicit TBusyScope(TUpdateProgressView* View) : FView(View) {
    if (FView) FView->SetBusy(true);
  }
  ~TBusyScope() {
    if (FView) FView->SetBusy(false);
  }

 private:
  TUpdateProgressView* FView;
};

void MakeFolder(const std::string& Dir) {
  std::string d = ExcludeTrailingPathDelimiter(Dir);
  if (!DirectoryExists(d) && !CreateDir(d)) throw EInOutError(Format("Cannot create folder %s", {d}));
}

// Renames Source to Target; when that fails (the target exists), copies it over
// the target and leaves the source in place.
void MoveCabinet(const std::string& Source, const std::string& Target) {
  if (RenameFile(Source, Target)) return;
  if (!CopyFile(Source, Target, false)) throw EInOutError(Format("Cannot move file %s", {Source}));
}

std::vector<std::string> FilesOf(const std::string& Folder) {
  std::vector<std::string> names;
  TSearchRec f;
  if (FindFirst(IncludeTrailingPathDelimiter(Folder) + "*.*", 0, f) == 0) {
    do {
      if (f.Name != "." && f.Name != ".." && !(f.Attr & faDirectory)) names.push_back(f.Name);
    } while (FindNext(f) == 0);
    FindClose(f);
  }
  return names;
}

}  // namespace

std::string GetMajorMinorVersion(const std::string& Version) {
  size_t first = Version.find('.');
  if (first == std::string::npos) return Version;
  size_t second = Version.find('.', first + 1);
  return second == std::string::npos ? Version : Version.substr(0, second);
}

std::string UpdateDirPath(const std::vector<TTargetDirNode>& Nodes, int Index) {
  std::vector<int> chain;  // from the node up to its root
  for (int i = Index; i >= 0; i = Nodes[size_t(i)].Parent) chain.push_back(i);
  const TTargetDirNode& root = Nodes[size_t(chain.back())];
  bool home = root.Text == HomeDirectoryNode;
  std::string path;
  if (chain.size() == 1) return home ? "000TARGET" : "000SYS" + root.Text;
  if (!home) path = "000SYS" + root.Text;
  for (size_t k = chain.size() - 1; k-- > 0;) {
    if (!path.empty()) path += ".";
    path += Nodes[size_t(chain[k])].Text;
  }
  return path;
}

void ProductVersionExit(TUpdateState& State, const TUpdateProject& Project) {
  if (!State.FVersionEdited) return;
  State.FVersionEdited = 0;
  std::string v = GetMajorMinorVersion(Project.ProductVersion);
  if (State.FUpdateVersion.empty()) {
    State.FUpdateVersion = v;
    return;
  }
  if (v == State.FUpdateVersion || !Project.IncludePatching) return;
  int answer = MessageDlg(
      "Updating support is enabled for this project.\r\nDo you want to allow automatic updates \r\nfrom version " +
          State.FUpdateVersion + " to " + v + "?",
      mtConfirmation, mbYesNoCancel);
  if (answer == mrCancel) return;
  State.FAllowAutoUpdate = answer == mrYes ? 1 : 0;
  State.FUpdatePending = 1;
  State.FUpdateCreated = 0;
  State.FUpdateFrom = State.FUpdateVersion;
  State.FUpdateVersion = v;
}

void RenameExtractedCabFiles(const std::string& Folder) {
  const std::string dir = IncludeTrailingPathDelimiter(Folder);
  for (const std::string& name : FilesOf(Folder)) {
    if (name.compare(0, 4, "FILE") != 0) continue;
    size_t i = 4;
    while (i < name.size() && std::isdigit(static_cast<unsigned char>(name[i]))) ++i;
    if (i == 4 || i >= name.size() || name[i] != 'S') continue;
    std::string rest = name.substr(i + 1);
    if (rest.empty()) continue;
    RenameFile(dir + name, dir + rest);
  }
}

std::string TUpdateCreator::VersionFolder(const TUpdateProject& Project, const std::string& Version) {
  return Project.AppDir + "Patches\\" + Project.ProductName + "\\Version" + Version;
}

void TUpdateCreator::DeleteFolderFiles(const std::string& Folder) {
  if (OnDeleteFolderFiles) {
    OnDeleteFolderFiles(IncludeTrailingPathDelimiter(Folder));
    return;
  }
  for (const std::string& name : FilesOf(Folder)) DeleteFile(IncludeTrailingPathDelimiter(Folder) + name);
}

void TUpdateCreator::CreateNewPatchClick(const TUpdateProject& Project) {
  if (FState.FUpdateCreated) {
    MessageDlg("An update between version " + FState.FUpdateFrom + " and version " + FState.FUpdateVersion +
                   "\r\n" + "has previously been created and uploaded. No new update created now.",
               mtInformation, mbOK);
    return;
  }
  if (CreateRecordedUpdate(Project)) FState.FUpdateCreated = 1;
}

bool TUpdateCreator::CreateRecordedUpdate(const TUpdateProject& Project) {
  std::string source = VersionFolder(Project, FState.FUpdateVersion) + "\\Old\\primary.cab";
  std::string target = VersionFolder(Project, FState.FUpdateFrom) + "\\New\\primary.cab";
  // An update made from an older copy would be wrong: a failed copy ends here.
  if (!FileExists(source)) throw EFOpenError(Format("Cannot open file %s", {source}));
  ForceDirectories(VersionFolder(Project, FState.FUpdateFrom) + "\\New");
  if (!CopyFile(source, target, false)) throw EFCreateError(Format("Cannot create file %s", {target}));
  if (!CreateUpdate(Project, FState.FUpdateFrom)) return false;
  TIniFile ini(Project.AppDir + "AllowedUpdates.ini");
  ini.WriteString("AllowedUpdates", "From" + FState.FUpdateFrom + "To" + FState.FUpdateVersion, "Yes");
  return true;
}

bool TUpdateCreator::CreateUpdate(const TUpdateProject& Project, const std::string& FromVersion) {
  const std::string d = VersionFolder(Project, FromVersion);
  const std::string o = d + "\\Old\\";
  const std::string n = d + "\\New\\";
  MakeFolder(Project.AppDir + "Patches");
  MakeFolder(Project.AppDir + "Patches\\" + Project.ProductName);
  MakeFolder(d);
  MakeFolder(o);
  MakeFolder(n);
  if (!FileExists(o + "primary.cab")) {
    ShowMessage("Nothing to update.");
    return false;
  }
  if (!FileExists(n + "primary.cab")) {
    ShowMessage("No new build to update. Build project first.");
    return false;
  }

  TBusyScope busy(BusyView);
  MakeFolder(o + "Old\\");
  MakeFolder(n + "New\\");
  // The old side is always version From's own cabinet: once an update has been
  // made, Old\primary.cab holds a later build and From's cabinet is the one kept
  // as Patch0.cab, so that every update from From starts from what its users have.
  const std::string kept = o + "Patch0.cab";
  const std::string oldCabinet = FileExists(kept) ? kept : o + "primary.cab";
  if (!ExtractCabinet) throw Exception("No cabinet reader for update creation");
  ExtractCabinet(oldCabinet, o + "Old\\");
  RenameExtractedCabFiles(o + "Old\\");
  ExtractCabinet(n + "primary.cab", n + "New\\");
  RenameExtractedCabFiles(n + "New\\");

  FState.FPatchCount = 0;
  bool made = false;
  for (const TUpdateChoice& choice : Project.Choices) {
    FBuilder.SetOldDirectory(o + "Old\\");
    FBuilder.SetNewDirectory(n + "New\\");
    for (size_t node = 0; node < Project.TargetDirs.size(); ++node) {
      FBuilder.ClearFileList();
      bool any = false;
      for (size_t k = 0; k < choice.Files.size() && k < choice.Directories.size(); ++k) {
        if (choice.Directories[k] != Project.TargetDirs[node].Text) continue;
        any = true;
        FBuilder.FileName.Text = ExtractFileName(choice.Files[k]);
        FBuilder.AddBtnClick();
      }
      if (!any) continue;
      FBuilder.SaveDialog.FileName = d + "\\Patch" + IntToStr(FState.FPatchCount) + "." + choice.Name + "." +
                                     UpdateDirPath(Project.TargetDirs, int(node)) + ".upd";
      // An update file of an earlier creation would otherwise stay and be
      // uploaded although this comparison found nothing to update.
      DeleteFile(FBuilder.SaveDialog.FileName);
      FBuilder.MakeBtnClick();
      if (FileExists(FBuilder.SaveDialog.FileName)) made = true;
    }
  }
  ShowMessage(made ? "Update created successfully." : "No changes to update.");

  DeleteFolderFiles(o + "Old\\");
  DeleteFolderFiles(n + "New\\");

  if (made) {
    // The first update keeps From's own cabinet as Patch0.cab; later ones never
    // overwrite it.
    if (!FileExists(kept)) MoveCabinet(o + "primary.cab", kept);
    else DeleteFile(o + "primary.cab");
    MoveCabinet(n + "primary.cab", o + "primary.cab");
  }
  return made;
}

}  // namespace tq
