#include "WorkspaceDialogs.h"

namespace tq {

TMergeDlg* MergeDlg = nullptr;
TBdePathDlg* BdePathDlg = nullptr;
TGenerateHtmlPagesReminderDlg* GenerateHtmlPagesReminderDlg = nullptr;
TOKBottomDlg* OKBottomDlg = nullptr;
TVersionReminderDlg* VersionReminderDlg = nullptr;

void TPlainDialog::LoadPlainLayout(const std::string& name, const std::string& className,
                                   const std::string& caption, const std::string& body) {
  LoadLayoutText("object " + name + ": " + className + "\n  Caption = " + QuotedStr(caption) +
                 "\n  BorderStyle = bsDialog\n  Position = poScreenCenter\n  ClientWidth = 380\n"
                 "  ClientHeight = 170\n  Font.Name = 'Arial'\n  Font.Height = -13\n" +
                 body + "end\n");
}

TGenerateHtmlPagesReminderDlg::TGenerateHtmlPagesReminderDlg(TComponent* owner) : TPlainDialog(owner) {
  TQ_FIELD(ckbDontRemind);
  LoadPlainLayout("GenerateHtmlPagesReminderDlg", "TGenerateHtmlPagesReminderDlg", "Generate Html Pages Reminder",
                  "  object ckbDontRemind: TCheckBox\n    Left = 16\n    Top = 120\n    Width = 340\n"
                  "    Caption = 'Don''t remind me of this in further builds'\n  end\n");
}

TVersionReminderDlg::TVersionReminderDlg(TComponent* owner) : TPlainDialog(owner) {
  TQ_FIELD(ckbDontShow);
  LoadPlainLayout("VersionReminderDlg", "TVersionReminderDlg", "Reminder",
                  "  object ckbDontShow: TCheckBox\n    Left = 16\n    Top = 120\n    Width = 340\n"
                  "    Caption = 'Don''t show me this dialog again this session'\n  end\n");
}

}  // namespace tq
