// tqupdproject: writes a one-choice install project with update support whose
// updates go to a local FTP server, for the check that drives Tarnquill.
//   tqupdproject <files folder> <project file> <version> <from version> <port> <password>
// The choice Core_Program holds <files folder>\app.exe in "<Home Directory>".
// An empty <from version> is a first version; otherwise the project carries
// the version change from <from version>, automatic updates allowed.
#include <cstdio>
#include <exception>
#include <string>

#include "FileUtils.h"
#include "ProjectFile.h"
#include "SysUtils.h"

using namespace tq;

int main(int argc, char** argv) {
  if (argc != 7) {
    std::fprintf(stderr, "usage: tqupdproject <files folder> <project file> <version> <from> <port> <password>\n");
    return 2;
  }
  try {
    const std::string files = IncludeTrailingPathDelimiter(ExpandFileName(argv[1]));
    const std::string project = ExpandFileName(argv[2]);
    TProjectFileContent c;
    c.ProjectType = 0;
    c.TargetDir.Items.Nodes = {{"<Home Directory>", 0}};
    auto* core = new TChoice(c.Holder.get());
    core->FName = core->Title = "Core_Program";
    core->Required = true;
    core->Files->AddIntObject(files + "app.exe", 0);
    core->Directories->Add("<Home Directory>");
    c.Choices.push_back(core);
    c.Choices.push_back(new TChoice(c.Holder.get()));  // the placeholder
    c.ChoicesTree.Items.Nodes = {{"Choices", 0}, {"Core_Program", 1}};
    c.Registry.push_back(new TRegEntry(c.Holder.get()));
    c.Shortcuts.push_back(new TRwiShortcut(c.Holder.get()));
    c.EVars.push_back(new TEVar(c.Holder.get()));
    c.Merges.push_back(new TMerge(c.Holder.get()));
    c.Associations.push_back(new TAssociation(c.Holder.get()));
    c.Info.ProductName = "Quill Tool";
    c.Info.ProductVersion = argv[3];
    c.Info.Manufacturer = "Quill Works";
    c.Info.ProductCode = "{6A1B6C0E-2D3F-4E5A-9B7C-1D2E3F4A5B60}";
    c.Info.PackageCode = "{0F1E2D3C-4B5A-4978-8695-A4B3C2D1E0F0}";
    c.IncludePatching = true;
    c.UpdateFrom = std::string(argv[4]);
    c.AllowAutoUpdate = true;
    c.UpdatePending = true;
    c.UpdateCreated = false;
    c.VersionComparison = "< 2.0";
    c.HasFtpData = true;
    c.FtpData.HostIp = "127.0.0.1";
    c.FtpData.Port = argv[5];
    c.FtpData.UserId = "publisher";
    c.FtpData.Password = argv[6];
    c.FtpData.Directory = "updates";
    c.FtpData.URL = "http://127.0.0.1/updates/";
    ForceDirectories(ExtractFileDir(project));
    SaveProjectFile(project, c);
    std::printf("%s\n", project.c_str());
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "tqupdproject: %s\n", e.what());
    return 1;
  }
}
