#include "evar.h"

#include "SysUtils.h"

namespace tq {

int TEVar::Counter = 1;

TEVar::TEVar(TComponent* owner) : TComponent(owner) {
  EVar = "Environment" + IntToStr(Counter);
  ++Counter;
  FName = EVar;
}

const TPropertyTable& TEVar::ClassProperties() {
  static const TPropertyTable table =
      TPropertyBuilder<TEVar>("TEVar", TComponent::ClassProperties())
          .String("Name", &TEVar::FName)
          .String("EVar", &TEVar::EVar)
          .String("Value", &TEVar::Value)
          .String("Choice", &TEVar::Choice)
          .Boolean("NoAction", &TEVar::NoAction)
          .Boolean("Delete", &TEVar::Delete)
          .Integer("HowToInstall", &TEVar::HowToInstall)
          .Integer("TheType", &TEVar::TheType)
          .Build();
  return table;
}

}  // namespace tq
