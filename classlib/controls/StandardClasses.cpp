// The classes layouts may name, registered on the first layout load.
#include "Buttons.h"
#include "CheckLst.h"
#include "ComCtrls.h"
#include "Dialogs.h"
#include "ExtCtrls.h"
#include "FileCtrls.h"
#include "Forms.h"
#include "Menus.h"
#include "Shape.h"

namespace tq {

void RegisterStandardControlClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterComponentClass<TEdit>("TEdit");
  RegisterComponentClass<TMemo>("TMemo");
  RegisterComponentClass<TButton>("TButton");
  RegisterComponentClass<TCheckBox>("TCheckBox");
  RegisterComponentClass<TRadioButton>("TRadioButton");
  RegisterComponentClass<TGroupBox>("TGroupBox");
  RegisterComponentClass<TLabel>("TLabel");
  RegisterComponentClass<TComboBox>("TComboBox");
  RegisterComponentClass<TListBox>("TListBox");
  RegisterComponentClass<TCheckListBox>("TCheckListBox");
  RegisterComponentClass<TFileListBox>("TFileListBox");
  RegisterComponentClass<TDirectoryListBox>("TDirectoryListBox");
  RegisterComponentClass<TDriveComboBox>("TDriveComboBox");
  RegisterComponentClass<TPanel>("TPanel");
  RegisterComponentClass<TImage>("TImage");
  RegisterComponentClass<TPaintBox>("TPaintBox");
  RegisterComponentClass<TShape>("TShape");
  RegisterComponentClass<TRadioGroup>("TRadioGroup");
  RegisterComponentClass<TScrollBox>("TScrollBox");
  RegisterComponentClass<TTimer>("TTimer");
  RegisterComponentClass<TSpeedButton>("TSpeedButton");
  RegisterComponentClass<TTreeView>("TTreeView");
  RegisterComponentClass<TTabControl>("TTabControl");
  RegisterComponentClass<TPageControl>("TPageControl");
  RegisterComponentClass<TTabSheet>("TTabSheet");
  RegisterComponentClass<TRichEdit>("TRichEdit");
  RegisterComponentClass<TProgressBar>("TProgressBar");
  RegisterComponentClass<TMainMenu>("TMainMenu");
  RegisterComponentClass<TPopupMenu>("TPopupMenu");
  RegisterComponentClass<TMenuItem>("TMenuItem");
  RegisterComponentClass<TOpenDialog>("TOpenDialog");
  RegisterComponentClass<TSaveDialog>("TSaveDialog");
  RegisterComponentClass<TFontDialog>("TFontDialog");
  RegisterComponentClass<TColorDialog>("TColorDialog");
}

}  // namespace tq
