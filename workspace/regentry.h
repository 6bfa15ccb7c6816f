#pragma once
// A registry value the package writes.
#include <string>

#include "Component.h"

namespace tq {

class TRegEntry : public TComponent {
 public:
  explicit TRegEntry(TComponent* owner);
  TQ_PUBLISHED(TRegEntry)

  std::string FName;  // display name
  // Root key as an index of HKEY_CLASSES_ROOT, HKEY_CURRENT_USER,
  // HKEY_LOCAL_MACHINE, HKEY_USERS; -1 when none is chosen.
  int Root = -1;
  std::string Key;
  std::string ValName;
  std::string ValValue;
  std::string Choice;

  // Default-name counter shared by every instance of the run.
  static int Counter;
};

}  // namespace tq
