#pragma once
// The dialogs Tarnquill creates once at start-up and reuses. Each is a form of
// its own class; the ones without their controls yet show only their caption.
#include <string>

#include "AboutBox.h"
#include "AddFilesDlg.h"
#include "BPOptionsDlg.h"
#include "Dialogs.h"
#include "Forms.h"
#include "FtpDataDlg.h"
#include "StdCtrls.h"
#include "SystemFoldersDlg.h"
#include "TQOpenDlg.h"

namespace tq {

// A dialog whose layout is written here: a fixed dialog border, centred, with
// the objects of body inside.
class TPlainDialog : public TForm {
 public:
  explicit TPlainDialog(TComponent* owner) : TForm(owner) {}

 protected:
  // Called by the most derived constructor, after it registered its fields.
  void LoadPlainLayout(const std::string& name, const std::string& className, const std::string& caption,
                       const std::string& body = {}, int clientHeight = 170);
};

#define TQ_PLAIN_DIALOG(Class, Name, Caption)                                       \
  class Class : public TPlainDialog {                                              \
   public:                                                                         \
    explicit Class(TComponent* owner) : TPlainDialog(owner) {                      \
      LoadPlainLayout(Name, #Class, Caption);                                      \
    }                                                                              \
    std::string ClassName() const override { return #Class; }                      \
  }

TQ_PLAIN_DIALOG(TMergeDlg, "MergeDlg", "Merge Modules");
TQ_PLAIN_DIALOG(TOKBottomDlg, "OKBottomDlg", "Dialog");

#undef TQ_PLAIN_DIALOG

// Asked once per machine for the location of a database-engine merge module.
class TBdePathDlg : public TPlainDialog {
 public:
  explicit TBdePathDlg(TComponent* owner);
  std::string ClassName() const override { return "TBdePathDlg"; }
  TLabel* Label1 = nullptr;
  TEdit* edBdePath = nullptr;
  TButton* Button1 = nullptr;
  TButton* Button2 = nullptr;
  TOpenDialog* OpenDialog1 = nullptr;
  // Browse...: a chosen module file goes into edBdePath.
  void Button1Click(TObject* Sender);
};

// Asked before a build whose user interface includes the HTML pages: five
// lines of text, the "Don't remind me" box, OK (mrOk) and Cancel (mrCancel).
class TGenerateHtmlPagesReminderDlg : public TPlainDialog {
 public:
  explicit TGenerateHtmlPagesReminderDlg(TComponent* owner);
  std::string ClassName() const override { return "TGenerateHtmlPagesReminderDlg"; }
  TCheckBox* ckbDontRemind = nullptr;
  TButton *OKBtn = nullptr, *CancelBtn = nullptr;
};

// Asked before a build with update support, after the version question was
// answered Cancel: its text, the "Don't show me" box, OK and Cancel.
class TVersionReminderDlg : public TPlainDialog {
 public:
  explicit TVersionReminderDlg(TComponent* owner);
  std::string ClassName() const override { return "TVersionReminderDlg"; }
  TCheckBox* ckbDontShow = nullptr;
  TButton *OKBtn = nullptr, *CancelBtn = nullptr;
};

extern TMergeDlg* MergeDlg;
extern TBdePathDlg* BdePathDlg;
extern TGenerateHtmlPagesReminderDlg* GenerateHtmlPagesReminderDlg;
extern TOKBottomDlg* OKBottomDlg;
extern TVersionReminderDlg* VersionReminderDlg;

}  // namespace tq
