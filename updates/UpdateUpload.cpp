#include "UpdateUpload.h"

#include <memory>
#include <vector>

#include "Classes.h"
#include "FileUtils.h"
#include "Forms.h"
#include "IniFiles.h"
#include "Prompts.h"
#include "SimpFTP.h"

namespace tq {

namespace {

// Names of the entries of Pattern (a folder and a mask) with Attr, without
// "." and "..", in the order the file system lists them.
std::vector<std::string> Entries(const std::string& Pattern, int Attr, bool FoldersOnly) {
  std::vector<std::string> names;
  TSearchRec f;
  if (FindFirst(Pattern, Attr, f) == 0) {
    do {
      if (f.Name == "." || f.Name == "..") continue;
      if (FoldersOnly && !(f.Attr & faDirectory)) continue;
      names.push_back(f.Name);
    } while (FindNext(f) == 0);
    FindClose(f);
  }
  return names;
}

void Error(const std::string& Message) { MessageDlg(Message, mtError, mbOK); }

// The client's connection and the hourglass for one upload.
class TUploadSession {
 public:
  explicit TUploadSession(TComponent* Owner) : FFtp(std::make_unique<TSimpleFTP>(Owner)) {
    Screen->SetCursor(crHourGlass);
  }
  ~TUploadSession() {
    FFtp->Disconnect();
    FFtp.reset();
    Screen->SetCursor(crDefault);
  }
  TSimpleFTP& Ftp() { return *FFtp; }

 private:
  std::unique_ptr<TSimpleFTP> FFtp;
};

// Sends one of the two lists; false (after its message) when the server
// refused it.
bool PutList(TSimpleFTP& Ftp, const std::string& Path) {
  if (Ftp.PutFile(Path)) return true;
  Error("Error uploading file " + Path + "\r\n" + "Upload incomplete.");
  return false;
}

}  // namespace

void WriteUpdatesIni(TIniFile& Ini, const std::string& AppDir, const std::string& ProductName) {
  TStringList sections;
  Ini.ReadSections(sections);
  for (int i = 0; i < sections.Count(); ++i) Ini.EraseSection(sections.Get(i));
  if (!FileExists(Ini.FileName())) {
    TFileStream created(Ini.FileName(), fmCreate);
  }
  const std::string product = AppDir + "Patches\\" + ProductName + "\\";
  for (const std::string& folder : Entries(product + "*.*", faDirectory, true)) {
    if (LowerCase(folder).rfind("version", 0) != 0) continue;
    for (const std::string& file : Entries(product + folder + "\\*.upd", 0, false))
      Ini.WriteString(folder, file, "");
  }
}

bool UploadUpdates(const TUpdateUpload& Upload) {
  if (!Upload.Silent && Upload.ConfirmSettings && !Upload.ConfirmSettings()) return false;
  TFtpData& settings = *Upload.Settings;
  std::vector<std::string> sent;
  TUploadSession session(Upload.Owner);
  TSimpleFTP& ftp = session.Ftp();
  ftp.HostName = settings.HostIp;
  ftp.Port = StrToInt(settings.Port);
  ftp.UserName = settings.UserId;
  ftp.Password = settings.Password;

  if (!ftp.Connect()) {
    Error("Error connecting to ftp site. Please check your ftp settings.");
    return false;
  }
  if (settings.Directory.empty() || settings.Directory[0] != '/') settings.Directory = "/" + settings.Directory;
  if (!ftp.RemoteDirExists(settings.Directory) && !ftp.MakeDir(settings.Directory)) {
    Error("Error: Unable to create remote directory " + settings.Directory + "\r\n" +
          "Please check your ftp settings and create it if needed.");
    return false;
  }
  if (!ftp.ChangeDir(settings.Directory)) {
    Error("Error: Unable to change to remote directory " + settings.Directory + "\r\n" +
          "Please check your ftp settings.");
    return false;
  }
  if (!PutList(ftp, Upload.AppDir + "AllowedUpdates.ini")) return false;
  {
    TIniFile ini(Upload.AppDir + "Updates.ini");
    WriteUpdatesIni(ini, Upload.AppDir, Upload.ProductName);
  }
  if (!PutList(ftp, Upload.AppDir + "Updates.ini")) return false;

  if (settings.Directory.back() != '/') settings.Directory += "/";
  const std::string versionDir = settings.Directory + "Version" + Upload.From;
  // The update files must land in the version directory and nowhere else.
  if ((!ftp.RemoteDirExists(versionDir) && !ftp.MakeDir(versionDir)) || !ftp.ChangeDir(versionDir)) {
    Error("Error: Unable to change to remote directory " + versionDir + "\r\n" + "Upload incomplete.");
    return false;
  }

  const std::string local = Upload.AppDir + "Patches\\" + Upload.ProductName + "\\Version" + Upload.From + "\\";
  const std::vector<std::string> files = Entries(local + "Patch" + "0" + "*.upd", 0, false);
  if (files.empty()) {
    ShowMessage("Nothing to upload.");
    return false;
  }
  for (const std::string& name : files) {
    if (ftp.PutFile(local + name)) {
      sent.push_back(name);
      continue;
    }
    std::string left;
    for (const std::string& done : sent)
      if (!ftp.DeleteFile(done)) left += (left.empty() ? "" : ", ") + done;
    Error("Error uploading file " + local + name + "\r\n" +
          (left.empty() ? std::string("Upload rolled back.")
                        : "Upload not rolled back. These files are still on the server: " + left));
    return false;
  }
  ShowMessage("Upload completed successfully.");
  return true;
}

}  // namespace tq
