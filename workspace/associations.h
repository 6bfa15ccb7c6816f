#pragma once
// A file association the package registers.
#include <string>

#include "Component.h"

namespace tq {

class TAssociation : public TComponent {
 public:
  explicit TAssociation(TComponent* owner);
  TQ_PUBLISHED(TAssociation)

  std::string FName;  // display name
  std::string Extension;
  std::string Choice;
  std::string Description;
  std::string IconIndex;  // as typed
  int DirectoryIndex = 0;
  std::string FileName;   // the program file that opens the extension

  // Default-name counter shared by every instance of the run.
  static int Counter;
};

}  // namespace tq
