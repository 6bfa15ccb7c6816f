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

  // The installer's Environment name: an optional "*" (system variable), an
  // optional "-" (removed with its choice), then "+" (left alone when the
  // variable exists) or "=", then name.
  std::string MsiName(const std::string& name) const;
  // The installer's Environment value: value + ";[~]" to prefix, "[~];" +
  // value to append, value alone for any other HowToInstall.
  std::string MsiValue(const std::string& value) const;

  // Default-name counter shared by every instance of the run.
  static int Counter;
};

// The same for the fields of a variable.
std::string EnvironmentMsiName(const std::string& name, bool noAction, bool removeWithChoice, int theType);
std::string EnvironmentMsiValue(const std::string& value, int howToInstall);

}  // namespace tq
