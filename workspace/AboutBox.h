#pragma once
// The about box of Help > About: the publisher's notice, the build and a link
// to the publisher's web page.
#include <string>

#include "ExtCtrls.h"
#include "Forms.h"
#include "StdCtrls.h"

namespace tq {

class TAboutBox : public TForm {
 public:
  explicit TAboutBox(TComponent* owner);
  std::string ClassName() const override { return "TAboutBox"; }

  TPanel* Panel1 = nullptr;
  TImage* Image1 = nullptr;
  TImage* Image2 = nullptr;
  TLabel* Label1 = nullptr;  // product name
  TLabel* Label2 = nullptr;  // the publisher's notice
  TLabel* Label3 = nullptr;  // the build
  TLabel* Label4 = nullptr;  // the publisher's web address
  TButton* OKButton = nullptr;

  void FormShow(TObject* sender);
  // Opens the publisher's web page kept in the program folder.
  void Label4Click(TObject* sender);
};

extern TAboutBox* AboutBox;

}  // namespace tq
