#pragma once
// A merge module of the project.
#include <string>

#include "Component.h"

namespace tq {

class TMerge : public TComponent {
 public:
  explicit TMerge(TComponent* owner);
  TQ_PUBLISHED(TMerge)

  std::string FName;  // display name
  std::string MergeModule;  // full path of the merge module file
  int Language = 1033;      // LCID the module is merged with
  std::string Directory;
  std::string Choice;

  // Merges the module into the package being built (the cabinet phase): index
  // is the item's tab on the Modules page, or -1, -2, -3 for the built-in .NET
  // run-time and database-engine (Pro, Enterprise) modules. Defined with the
  // package builder (builder/MergeModules.cpp).
  void MergeIntoPackage(int index);

  // Default-name counter shared by every instance of the run.
  static int Counter;
};

}  // namespace tq
