#pragma once
// The recent-projects list "Recent.dat" in the program folder, newest first,
// listed under the File menu.
#include <functional>
#include <string>

#include "Component.h"

namespace tq {

class TMenuItem;

class TRecentFiles : public TComponent {
 public:
  using TClickHandler = std::function<void(TObject* sender)>;
  // Stores its arguments; reads nothing.
  TRecentFiles(TComponent* owner, int maxFiles, TMenuItem* menu, TClickHandler onClick, std::string dataFile);
  std::string ClassName() const override { return "TRecentFiles"; }
  int MaxFiles() const { return FMaxFiles; }
  TMenuItem* Menu() const { return FMenu; }
  const std::string& DataFile() const { return FDataFile; }
  // Records path as the newest entry (moved to the top when already listed,
  // letter case ignored); keeps at most MaxFiles entries.
  void AddFile(const std::string& path);

 private:
  int FMaxFiles;
  TMenuItem* FMenu;
  TClickHandler FOnClick;
  std::string FDataFile;
};

extern TRecentFiles* RecentFiles;

}  // namespace tq
