#include "choices.h"

#include "SysUtils.h"

namespace tq {

int TChoice::Counter = 0;

TChoice::TChoice(TComponent* owner)
    : TComponent(owner), Directories(new TStringList), Files(new TStringList) {
  FName = "Choice" + IntToStr(Counter);
  ++Counter;
  Title = FName;
}

TChoice::~TChoice() {
  delete Files;
  delete Directories;
}

const TPropertyTable& TChoice::ClassProperties() {
  static const TPropertyTable table =
      TPropertyBuilder<TChoice>("TChoice", TComponent::ClassProperties())
          .String("Name", &TChoice::FName)
          .Strings("Directories", [](TChoice& c) { return c.Directories; })
          .Strings("Files", [](TChoice& c) { return c.Files; })
          .String("Title", &TChoice::Title)
          .String("Description", &TChoice::Description)
          .Boolean("Required", &TChoice::Required)
          .Boolean("Typical", &TChoice::Typical)
          .Boolean("Visible", &TChoice::Visible)
          .Build();
  return table;
}

}  // namespace tq
