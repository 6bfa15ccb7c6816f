#include "shortcut.h"

#include "SysUtils.h"

namespace tq {

int TRwiShortcut::Counter = 1;

TRwiShortcut::TRwiShortcut(TComponent* owner) : TComponent(owner) {
  Shortcut = "Shortcut" + IntToStr(Counter);
  ++Counter;
}

const TPropertyTable& TRwiShortcut::ClassProperties() {
  static const TPropertyTable table =
      TPropertyBuilder<TRwiShortcut>("TRwiShortcut", TComponent::ClassProperties())
          .String("Name", &TRwiShortcut::FName)
          .String("Shortcut", &TRwiShortcut::Shortcut)
          .String("Directory", &TRwiShortcut::Directory)
          .String("Choice", &TRwiShortcut::Choice)
          .String("Target", &TRwiShortcut::Target)
          .String("Arguments", &TRwiShortcut::Arguments)
          .String("Description", &TRwiShortcut::Description)
          .Integer("HotKey", &TRwiShortcut::HotKey)
          .String("Icon", &TRwiShortcut::Icon)
          .Integer("IconIndex", &TRwiShortcut::IconIndex)
          .Integer("ShowCmd", &TRwiShortcut::ShowCmd)
          .String("WkDir", &TRwiShortcut::WkDir)
          .Build();
  return table;
}

}  // namespace tq
