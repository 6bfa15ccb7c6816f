#include "evar.h"

#include "SysUtils.h"

namespace tq {

int TEVar::Counter = 1;

TEVar::TEVar(TComponent* owner) : TComponent(owner) {
  EVar = "Environment" + IntToStr(Counter);
  ++Counter;
  FName = EVar;
}

std::string EnvironmentMsiName(const std::string& name, bool noAction, bool removeWithChoice, int theType) {
  std::string result = (noAction ? "+" : "=") + name;
  if (removeWithChoice) result = "-" + result;
  if (theType == 1) result = "*" + result;
  return result;
}

std::string EnvironmentMsiValue(const std::string& value, int howToInstall) {
  switch (howToInstall) {
    case 0:
      return value + ";[~]";
    case 1:
      return "[~];" + value;
    default:
      return value;
  }
}

std::string TEVar::MsiName(const std::string& name) const {
  return EnvironmentMsiName(name, NoAction, Delete, TheType);
}

std::string TEVar::MsiValue(const std::string& value) const { return EnvironmentMsiValue(value, HowToInstall); }

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
