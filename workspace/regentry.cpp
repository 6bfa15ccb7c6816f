#include "regentry.h"

#include "SysUtils.h"

namespace tq {

int TRegEntry::Counter = 1;

TRegEntry::TRegEntry(TComponent* owner) : TComponent(owner) {
  FName = "Registry" + IntToStr(Counter);
  ++Counter;
}

const TPropertyTable& TRegEntry::ClassProperties() {
  static const TPropertyTable table =
      TPropertyBuilder<TRegEntry>("TRegEntry", TComponent::ClassProperties())
          .String("Name", &TRegEntry::FName)
          .Integer("Root", &TRegEntry::Root)
          .String("Key", &TRegEntry::Key)
          .String("ValName", &TRegEntry::ValName)
          .String("ValValue", &TRegEntry::ValValue)
          .String("Choice", &TRegEntry::Choice)
          .Build();
  return table;
}

}  // namespace tq
