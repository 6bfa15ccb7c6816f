#pragma once
// A shortcut the package creates.
#include <string>

#include "Component.h"

namespace tq {

class TRwiShortcut : public TComponent {
 public:
  explicit TRwiShortcut(TComponent* owner);
  TQ_PUBLISHED(TRwiShortcut)

  std::string FName;      // file name of the chosen target, empty until chosen
  std::string Shortcut;   // the name shown on the tab and edited
  std::string Directory;  // directory node, or "Program Group"
  std::string Choice;
  std::string Target;     // full source path of the target file
  std::string Arguments;
  std::string Description;
  int HotKey = 0;
  std::string Icon;
  int IconIndex = 0;
  int ShowCmd = 0;        // index of "Normal", "Maximized", "Minimized"
  std::string WkDir;

  // Default-name counter shared by every instance of the run.
  static int Counter;
};

}  // namespace tq
