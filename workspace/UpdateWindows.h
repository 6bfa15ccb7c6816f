#pragma once
// The two windows of update-file writing: the hidden "Make Update File" window
// that holds the update-file builder, and the small modeless "Update Progress"
// window that shows how far the writing is.
#include <memory>
#include <string>

#include "ComCtrls.h"
#include "StdCtrls.h"
#include "UpdateProgress.h"
#include "Updprops.h"
#include "WorkspaceDialogs.h"

namespace tq {

// Created once at start-up and never shown: update creation drives its builder.
class TTabbedNotebookDlg : public TPlainDialog {
 public:
  explicit TTabbedNotebookDlg(TComponent* owner);
  std::string ClassName() const override { return "TTabbedNotebookDlg"; }
  // The builder, made on first use; it reports its progress to ProgressDlg.
  TUpdateFileMaker& Maker();

 private:
  std::unique_ptr<TUpdateFileMaker> FMaker;
};

class TProgressDlg : public TForm, public TUpdateProgressView {
 public:
  explicit TProgressDlg(TComponent* owner);
  std::string ClassName() const override { return "TProgressDlg"; }

  TLabel *Label1 = nullptr, *Label2 = nullptr, *FileNameLabel = nullptr;
  TProgressBar *ProgressBar = nullptr, *GeneralProgressBar = nullptr;

  void ShowProgress() override;
  void HideProgress() override;
  void SetFileName(const std::string& Text) override;
  void SetFileGauge(int Percent) override;
  void SetGeneralGauge(int Percent) override;
  void ProcessMessages() override;
  void SetBusy(bool Busy) override;
};

extern TTabbedNotebookDlg* TabbedNotebookDlg;
extern TProgressDlg* ProgressDlg;

}  // namespace tq
