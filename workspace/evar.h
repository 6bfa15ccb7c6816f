#pragma once
// An environment variable the package sets.
#include <string>

#include "Component.h"

namespace tq {

class TEVar : public TComponent {
 public:
  explicit TEVar(TComponent* owner);
  TQ_PUBLISHED(TEVar)

  std::string FName;  // the variable name shown and edited
  std::string EVar;   // the first default name, never edited
  std::string Value;
  std::string Choice;
  bool NoAction = false;
  bool Delete = true;    // remove on uninstall
  int HowToInstall = 1;  // 0 prefix to the existing value, 1 append
  int TheType = 0;       // 0 user variable, 1 system variable

  // Default-name counter shared by every instance of the run.
  static int Counter;
};

}  // namespace tq
