#include "UpdateWindows.h"

#include "Forms.h"

namespace tq {

TTabbedNotebookDlg* TabbedNotebookDlg = nullptr;
TProgressDlg* ProgressDlg = nullptr;

TTabbedNotebookDlg::TTabbedNotebookDlg(TComponent* owner) : TPlainDialog(owner) {
  LoadPlainLayout("TabbedNotebookDlg", "TTabbedNotebookDlg", "Make Update File");
}

TUpdateFileMaker& TTabbedNotebookDlg::Maker() {
  if (!FMaker) FMaker = std::make_unique<TUpdateFileMaker>(ProgressDlg);
  return *FMaker;
}

TProgressDlg::TProgressDlg(TComponent* owner) : TForm(owner) {
  TQ_FIELD(Label1);
  TQ_FIELD(Label2);
  TQ_FIELD(FileNameLabel);
  TQ_FIELD(ProgressBar);
  TQ_FIELD(GeneralProgressBar);
  LoadLayoutResource("PROGRESSDLG");
}

void TProgressDlg::ShowProgress() { Show(); }

void TProgressDlg::HideProgress() { Hide(); }

void TProgressDlg::SetFileName(const std::string& Text) { FileNameLabel->SetCaption(Text); }

void TProgressDlg::SetFileGauge(int Percent) { ProgressBar->SetPosition(Percent); }

void TProgressDlg::SetGeneralGauge(int Percent) { GeneralProgressBar->SetPosition(Percent); }

void TProgressDlg::ProcessMessages() { Application->ProcessMessages(); }

void TProgressDlg::SetBusy(bool Busy) { Screen->SetCursor(Busy ? crHourGlass : crDefault); }

}  // namespace tq
