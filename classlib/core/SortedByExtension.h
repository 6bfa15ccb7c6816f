#pragma once
// A string list of file names whose Sort orders them by extension.
#include "Classes.h"

namespace tq {

// Sort orders the entries by their extension (from the last "." of the name
// on; letter case ignored); entries with equal extensions keep their order.
// The objects move with their entries.
class TSortedByExtensionStringList : public TStringList {
 public:
  void Sort() override;
};

}  // namespace tq
