#include "MergeItem.h"

#include "SysUtils.h"

namespace tq {

int TMerge::Counter = 1;

TMerge::TMerge(TComponent* owner) : TComponent(owner) {
  FName = "Merge" + IntToStr(Counter);
  ++Counter;
}

const TPropertyTable& TMerge::ClassProperties() {
  static const TPropertyTable table =
      TPropertyBuilder<TMerge>("TMerge", TComponent::ClassProperties())
          .String("Name", &TMerge::FName)
          .String("MergeModule", &TMerge::MergeModule)
          .Integer("Language", &TMerge::Language)
          .String("Directory", &TMerge::Directory)
          .String("Choice", &TMerge::Choice)
          .Build();
  return table;
}

}  // namespace tq
