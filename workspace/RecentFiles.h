#pragma once
// The recent projects listed at the end of the File menu, after its last
// separator: one item per line of the recent-projects file.
#include <string>

#include "Menus.h"

namespace tq {

// A recent-project item; it keeps its own copy of the project's full path.
class TRecentFileItem : public TMenuItem {
 public:
  using TMenuItem::TMenuItem;
  std::string ClassName() const override { return "TRecentFileItem"; }
  std::string Path;
};

// "1.0 - Setup.ipr" for C:\Work\1.0\Setup.ipr: the holding folder's name, " - ",
// the file name.
std::string RecentFileCaption(const std::string& path);

// Replaces the items after fileMenu's last separator by dataFile's entries, in
// file order, each with onClick. Without dataFile the menu stays as it is.
// Only the first maxEntries lines are read: the program writes no more, and a
// longer file is none of its own.
void RebuildRecentFilesMenu(TMenuItem* fileMenu, const std::string& dataFile, const TNotifyEvent& onClick,
                            int maxEntries = 5);

}  // namespace tq
