// The project as a build reads it: key names, directory keys and paths, and the
// one walk over the package's files in file-number order.
#include "BuildProject.h"

#include <windows.h>

#include "BuildAuxFiles.h"
#include "SysUtils.h"

namespace tq {

namespace {

bool IsSystemFolder(const std::string& nodeText) { return LowerCase(nodeText) == "systemfolder"; }

bool IsFontFile(const std::string& path) {
  std::string ext = LowerCase(ExtractFileExt(path));
  return ext == ".fon" || ext == ".ttf" || ext == ".otf";
}

constexpr int FontAttributes = 8;  // the key file is a font: never removed by reference counting

std::string SystemFolder() {
  char buffer[256] = {};
  UINT n = GetSystemDirectoryA(buffer, 255);
  std::string dir(buffer, n < 256 ? n : 0);
  return IncludeTrailingPathDelimiter(dir);
}

std::string AuxiliarySource(const TAuxiliaryFile& file, const TBuildProject& project) {
  switch (file.Source) {
    case asSystemDir:
      return SystemFolder() + file.Name;
    case asProjectDir:
      return ExtractFilePath(project.ProjectFile) + file.Name;
    case asProgramDir:
      break;
  }
  return project.AppDir + file.Name;
}

}  // namespace

std::string ProjectKeySuffix(TProjectType type, const std::string& packageCode) {
  if (type != TProjectType::ptMergeModule) return {};
  std::string inner = packageCode.size() >= 2 ? packageCode.substr(1, packageCode.size() - 2) : std::string();
  return "." + StringReplace(inner, "-", "_", rfReplaceAll);
}

std::string DirectoryKey(const std::string& keySuffix, const std::string& nodeText) {
  if (nodeText == HomeDirectoryNode || nodeText == "TARGETDIR") return "TARGETDIR";
  if (IsSystemFolder(nodeText)) return "SystemFolder";
  return nodeText + keySuffix;
}

std::string FormatDirectoryPath(const TBuildProject& project, const std::string& nodeText) {
  const std::vector<TBuildDirectory>& nodes = project.Directories;
  int found = -1;
  for (size_t i = 0; i < nodes.size() && found < 0; ++i)
    if (nodes[i].Text == nodeText) found = static_cast<int>(i);
  if (found < 0) return {};

  std::string path;
  for (int n = found; n >= 0; n = nodes[n].Parent)
    path = nodes[n].Parent >= 0 ? "\\" + nodes[n].Text + path : nodes[n].Text + path;

  const std::string home = HomeDirectoryNode;
  if (path.compare(0, home.size(), home) == 0) {
    path = "[TARGETDIR]" + path.substr(home.size());
  } else {
    size_t slash = path.find('\\');
    if (slash == std::string::npos)
      path = "[" + path + "]";
    else
      path = "[" + path.substr(0, slash) + "]" + path.substr(slash);
  }
  size_t slash = path.find('\\');
  if (slash != std::string::npos) path.erase(slash, 1);
  return path;
}

const TBuildChoice* FindChoice(const TBuildProject& project, const std::string& name) {
  for (const TBuildChoice& choice : project.Choices)
    if (choice.Name == name) return &choice;
  return nullptr;
}

std::string TPackageFile::FileKey(const std::string& keySuffix) const {
  return "FILE" + IntToStr(Number) + "S" + Name + keySuffix;
}

std::string TPackageFile::ComponentKey(const std::string& keySuffix) const {
  return "COMP" + IntToStr(Number) + "S" + Name + keySuffix;
}

int UninstallerChoice(const TBuildProject& project) {
  for (size_t i = 0; i < project.Choices.size(); ++i)
    if (project.Choices[i].Required) return static_cast<int>(i);
  for (size_t i = 0; i < project.Choices.size(); ++i)
    if (project.Choices[i].Typical) return static_cast<int>(i);
  return -1;
}

std::vector<TPackageFile> PackageFiles(const TBuildProject& project, bool withFtpData) {
  std::vector<TPackageFile> files;
  auto add = [&files](TPackageFile file) {
    file.Number = static_cast<int>(files.size()) + 1;
    files.push_back(std::move(file));
  };
  for (const TBuildChoice& choice : project.Choices)
    for (const TBuildFile& f : choice.Files) {
      TPackageFile file;
      file.Group = pgChoiceFile;
      file.Name = ExtractFileName(f.Source);
      file.Source = f.Source;
      file.DirectoryKey = DirectoryKey(project.KeySuffix, f.Directory);
      file.Feature = choice.Name;
      file.Attributes = IsFontFile(f.Source) ? FontAttributes : 0;
      file.Marked = f.Marked;
      file.Choice = &choice;
      add(std::move(file));
    }
  auto addAuxiliary = [&](const TAuxiliaryFile& aux, TPackageFileGroup group, const std::string& feature) {
    TPackageFile file;
    file.Group = group;
    file.Name = aux.Name;
    file.Source = AuxiliarySource(aux, project);
    file.DirectoryKey = aux.DirectoryKey;
    file.Feature = feature;
    file.Attributes = aux.Attributes;
    add(std::move(file));
  };
  const std::string firstFeature = project.Choices.empty() ? std::string() : project.Choices.front().Name;
  for (const TAuxiliaryFile& aux : HelperFiles) addAuxiliary(aux, pgHelper, firstFeature);

  const int uninstaller = UninstallerChoice(project);
  if (uninstaller >= 0) {
    TPackageFile file;
    file.Group = pgUninstaller;
    file.Name = UninstallerFileName(project.ProductName);
    file.Source = project.AppDir + file.Name;
    file.DirectoryKey = "TARGETDIR";
    file.Feature = project.Choices[uninstaller].Name;
    add(std::move(file));
  }
  if (!project.IncludePatching) return files;
  const std::string updateFeature = uninstaller >= 0 ? project.Choices[uninstaller].Name : firstFeature;
  for (const TAuxiliaryFile& aux : UpdateSupportFiles) addAuxiliary(aux, pgUpdateSupport, updateFeature);
  if (withFtpData) addAuxiliary(FtpDataFile, pgFtpData, updateFeature);
  return files;
}

}  // namespace tq
