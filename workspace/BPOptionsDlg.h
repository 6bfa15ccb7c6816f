#pragma once
// The options dialog of the generated setup pages: the font of the Back, Next
// and Cancel texts, the font of all other text and the two progress-bar
// colours. The project file stores them and the page generator reads them
// from the font and colour dialogs held here.
#include <string>

#include "Dialogs.h"
#include "Forms.h"
#include "Shape.h"
#include "StdCtrls.h"

namespace tq {

class TBPOptionsDlg : public TForm {
 public:
  explicit TBPOptionsDlg(TComponent* owner);
  std::string ClassName() const override { return "TBPOptionsDlg"; }

  TLabel* Label1 = nullptr;  // sample of the Back, Next and Cancel font
  TButton* buBackNextCancelFont = nullptr;
  TFontDialog* FontDialog1 = nullptr;  // Back, Next and Cancel
  TButton* Button1 = nullptr;
  TColorDialog* BackNextCancelFontColorDlg = nullptr;
  TLabel* Label2 = nullptr;  // sample of the other-text font
  TButton* buOtherTextFont = nullptr;
  TFontDialog* FontDialog2 = nullptr;  // other text
  TButton* Button2 = nullptr;
  TColorDialog* OtherTextFontColorDlg = nullptr;
  TLabel* Label3 = nullptr;
  TShape* Shape1 = nullptr;  // progress-bar background swatch
  TButton* buProgressBarBackgroundColor = nullptr;
  TColorDialog* ProgressBarBackgroundColorDlg = nullptr;
  TLabel* Label4 = nullptr;
  TShape* Shape2 = nullptr;  // progress-bar foreground swatch
  TButton* buProgressBarForegroundColor = nullptr;
  TColorDialog* ProgressBarForegroundColorDlg = nullptr;
  TLabel* Label5 = nullptr;
  TButton* OKBtn = nullptr;
  TButton* CancelBtn = nullptr;

  // The fonts the dialog was shown with, which Cancel brings back.
  TFont SavedFont1, SavedFont2;

  void FormCreate(TObject* sender);
  void FormShow(TObject* sender);
  void buBackNextCancelFontClick(TObject* sender);
  void buOtherTextFontClick(TObject* sender);
  void Button1Click(TObject* sender);
  void Button2Click(TObject* sender);
  void buProgressBarBackgroundColorClick(TObject* sender);
  void buProgressBarForegroundColorClick(TObject* sender);
  void CancelBtnClick(TObject* sender);
  void OKBtnClick(TObject* sender);
};

extern TBPOptionsDlg* BPOptionsDlg;

}  // namespace tq
