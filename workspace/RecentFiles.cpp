#include "RecentFiles.h"

#include "FileUtils.h"
#include "TextFile.h"
#include "main.h"

namespace tq {

std::string RecentFileCaption(const std::string& path) {
  size_t slash = path.find_last_of('\\');
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  return TRWInstallForm::GetParentFolderName(path) + " - " + name;
}

void RebuildRecentFilesMenu(TMenuItem* fileMenu, const std::string& dataFile, const TNotifyEvent& onClick,
                            int maxEntries) {
  if (!FileExists(dataFile)) return;
  std::vector<std::string> lines;
  TTextFile f(dataFile);
  f.Reset();
  while (!f.Eof() && static_cast<int>(lines.size()) < maxEntries) lines.push_back(f.ReadLn());
  f.Close();
  while (fileMenu->Count() > 0 && !fileMenu->Items(fileMenu->Count() - 1)->IsLine()) {
    TMenuItem* item = fileMenu->Items(fileMenu->Count() - 1);
    fileMenu->Delete(fileMenu->Count() - 1);
    delete item;
  }
  for (const std::string& path : lines) {
    if (path.empty()) continue;
    auto* item = new TRecentFileItem(fileMenu->Owner());
    item->SetCaption(RecentFileCaption(path));
    item->Path = path;
    item->OnClick = onClick;
    fileMenu->Add(item);
  }
}

}  // namespace tq
