#include "WorkspaceDialogs.h"

namespace tq {

TMergeDlg* MergeDlg = nullptr;
TBdePathDlg* BdePathDlg = nullptr;
TGenerateHtmlPagesReminderDlg* GenerateHtmlPagesReminderDlg = nullptr;
TOKBottomDlg* OKBottomDlg = nullptr;
TVersionReminderDlg* VersionReminderDlg = nullptr;

void TPlainDialog::LoadPlainLayout(const std::string& name, const std::string& className,
                                   const std::string& caption, const std::string& body, int clientHeight) {
  LoadLayoutText("object " + name + ": " + className + "\n  Caption = " + QuotedStr(caption) +
                 "\n  BorderStyle = bsDialog\n  Position = poScreenCenter\n  ClientWidth = 380\n"
                 "  ClientHeight = " + IntToStr(clientHeight) + "\n  Font.Name = 'Arial'\n  Font.Height = -13\n" +
                 body + "end\n");
}

namespace {

// A label of a reminder's text.
std::string TextLine(const std::string& name, int top, const std::string& caption, int height = 0) {
  std::string line = "  object " + name + ": TLabel\n    Left = 16\n    Top = " + IntToStr(top) +
                     "\n    Width = 350\n    Caption = " + QuotedStr(caption) + "\n";
  if (height) line += "    Height = " + IntToStr(height) + "\n    AutoSize = False\n    WordWrap = True\n";
  return line + "  end\n";
}

// The "Don't ..." box and the OK and Cancel buttons below a reminder's text.
std::string CheckAndButtons(const std::string& box, const std::string& caption, int top) {
  return "  object " + box + ": TCheckBox\n    Left = 16\n    Top = " + IntToStr(top) +
         "\n    Width = 350\n    Height = 17\n    Caption = " + QuotedStr(caption) +
         "\n  end\n"
         "  object OKBtn: TButton\n    Left = 110\n    Top = " + IntToStr(top + 30) +
         "\n    Width = 75\n    Height = 25\n    Caption = 'OK'\n    Default = True\n"
         "    ModalResult = mrOk\n  end\n"
         "  object CancelBtn: TButton\n    Left = 195\n    Top = " + IntToStr(top + 30) +
         "\n    Width = 75\n    Height = 25\n    Caption = 'Cancel'\n    Cancel = True\n"
         "    ModalResult = mrCancel\n  end\n";
}

}  // namespace

TBdePathDlg::TBdePathDlg(TComponent* owner) : TPlainDialog(owner) {
  TQ_FIELD(Label1);
  TQ_FIELD(edBdePath);
  TQ_FIELD(Button1);
  TQ_FIELD(Button2);
  TQ_FIELD(OpenDialog1);
  TQ_HANDLER(TBdePathDlg, Button1Click);
  LoadPlainLayout("BdePathDlg", "TBdePathDlg", "Bde Path",
                  "  object Label1: TLabel\n    Left = 16\n    Top = 20\n    Width = 348\n"
                  "    Caption = 'Please specify the path to the Bde Merge Module'\n  end\n"
                  "  object edBdePath: TEdit\n    Left = 16\n    Top = 52\n    Width = 250\n    Height = 22\n"
                  "    Text = ''\n  end\n"
                  "  object Button1: TButton\n    Left = 276\n    Top = 50\n    Width = 88\n    Height = 26\n"
                  "    Caption = 'Browse...'\n    OnClick = Button1Click\n  end\n"
                  "  object Button2: TButton\n    Left = 146\n    Top = 120\n    Width = 88\n    Height = 28\n"
                  "    Caption = 'OK'\n    Default = True\n    ModalResult = mrOk\n  end\n"
                  "  object OpenDialog1: TOpenDialog\n    Filter = 'Merge Module Files(*.msm)|*.msm'\n  end\n");
}

void TBdePathDlg::Button1Click(TObject*) {
  if (OpenDialog1->Execute()) edBdePath->SetText(OpenDialog1->FileName);
}

TGenerateHtmlPagesReminderDlg::TGenerateHtmlPagesReminderDlg(TComponent* owner) : TPlainDialog(owner) {
  TQ_FIELD(ckbDontRemind);
  TQ_FIELD(OKBtn);
  TQ_FIELD(CancelBtn);
  std::string body;
  const char* const lines[] = {"Your build includes the Html Ui pages.", "Have you generated them?",
                               "Have you edited them as needed?", "If you are ready to proceed, click Ok below,",
                               "otherwise Cancel."};
  int top = 14;
  for (int i = 0; i < 5; ++i, top += 20) body += TextLine("Label" + IntToStr(i + 1), top, lines[i]);
  LoadPlainLayout("GenerateHtmlPagesReminderDlg", "TGenerateHtmlPagesReminderDlg", "Generate Html Pages Reminder",
                  body + CheckAndButtons("ckbDontRemind", "Don't remind me of this in further builds", top + 10),
                  top + 80);
}

TVersionReminderDlg::TVersionReminderDlg(TComponent* owner) : TPlainDialog(owner) {
  TQ_FIELD(ckbDontShow);
  TQ_FIELD(OKBtn);
  TQ_FIELD(CancelBtn);
  LoadPlainLayout("VersionReminderDlg", "TVersionReminderDlg", "Reminder",
                  TextLine("Label1", 14,
                           "Correct Version numbers are important for update support. If you needed to up the "
                           "Version number on the Info page, and forgot to do so, then click Cancel below and set "
                           "the correct Version number before building.",
                           84) +
                      CheckAndButtons("ckbDontShow", "Don't show me this dialog again this session", 106),
                  176);
}

}  // namespace tq
