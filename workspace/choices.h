#pragma once
// A choice: one feature of the package, with its files and their target
// directories.
#include <string>

#include "Classes.h"
#include "Component.h"

namespace tq {

class TChoice : public TComponent {
 public:
  explicit TChoice(TComponent* owner);
  ~TChoice() override;
  TQ_PUBLISHED(TChoice)

  // The choice's name: its key in the package and in every item's Choice field.
  std::string FName;
  // For each file, the name of the directory node it installs into; parallel
  // to Files.
  TStringList* Directories;
  // For each file, its full source path; the entry's object is the file's
  // self-register flag (0 or 1).
  TStringList* Files;
  std::string Title;
  std::string Description;
  bool Required = false;
  bool Typical = false;
  bool Visible = true;

  // Default-name counter shared by every choice of the run.
  static int Counter;
};

}  // namespace tq
