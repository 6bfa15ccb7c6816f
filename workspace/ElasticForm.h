#pragma once
// The form-resizing component of the main window. This version keeps the
// controls where the layout put them.
#include "LayoutLoader.h"

namespace tq {

class TElasticForm : public TLayoutComponent {
 public:
  explicit TElasticForm(TComponent* owner) : TLayoutComponent(owner) {}
  std::string ClassName() const override { return "TElasticForm"; }
};

}  // namespace tq
