#include "associations.h"

#include "SysUtils.h"

namespace tq {

int TAssociation::Counter = 1;

TAssociation::TAssociation(TComponent* owner) : TComponent(owner) {
  FName = "Association" + IntToStr(Counter);
  ++Counter;
}

const TPropertyTable& TAssociation::ClassProperties() {
  static const TPropertyTable table =
      TPropertyBuilder<TAssociation>("TAssociation", TComponent::ClassProperties())
          .String("Name", &TAssociation::FName)
          .String("Extension", &TAssociation::Extension)
          .String("Choice", &TAssociation::Choice)
          .String("Description", &TAssociation::Description)
          .String("IconIndex", &TAssociation::IconIndex)
          .Integer("DirectoryIndex", &TAssociation::DirectoryIndex)
          .String("FileName", &TAssociation::FileName)
          .Build();
  return table;
}

}  // namespace tq
