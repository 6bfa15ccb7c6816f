#include "AboutBox.h"

#include "UpdaterStart.h"
#include "main.h"

namespace tq {

TAboutBox* AboutBox = nullptr;

TAboutBox::TAboutBox(TComponent* owner) : TForm(owner) {
  TQ_FIELD(Panel1);
  TQ_FIELD(Image1);
  TQ_FIELD(Image2);
  TQ_FIELD(Label1);
  TQ_FIELD(Label2);
  TQ_FIELD(Label3);
  TQ_FIELD(Label4);
  TQ_FIELD(OKButton);
  TQ_HANDLER(TAboutBox, FormShow);
  TQ_HANDLER(TAboutBox, Label4Click);
  LoadLayoutResource("ABOUTBOX");
}

void TAboutBox::FormShow(TObject*) { Invalidate(); }

void TAboutBox::Label4Click(TObject*) {
  if (!RWInstallForm) return;
  const std::string& dir = RWInstallForm->FAppDir;
  ShellOpenHook()(dir + "Quorvel Web Page.htm", "", dir);
}

void TRWInstallForm::About1Click(TObject*) {
  if (AboutBox) AboutBox->ShowModal();
}

}  // namespace tq
