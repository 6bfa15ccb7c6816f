#include "BPOptionsDlg.h"

#include "main.h"

namespace tq {

TBPOptionsDlg* BPOptionsDlg = nullptr;

namespace {

// Runs a font's colour dialog preset with the font's colour; with OK the font
// takes the chosen colour and the sample shows it.
void ChooseFontColor(TColorDialog* dialog, TFontDialog* font, TLabel* sample) {
  dialog->Color = font->Font().Color();
  if (!dialog->Execute()) return;
  font->Font().SetColor(dialog->Color);
  sample->Font().Assign(font->Font());
}

}  // namespace

TBPOptionsDlg::TBPOptionsDlg(TComponent* owner) : TForm(owner) {
  TQ_FIELD(Label1);
  TQ_FIELD(buBackNextCancelFont);
  TQ_FIELD(FontDialog1);
  TQ_FIELD(Button1);
  TQ_FIELD(BackNextCancelFontColorDlg);
  TQ_FIELD(Label2);
  TQ_FIELD(buOtherTextFont);
  TQ_FIELD(FontDialog2);
  TQ_FIELD(Button2);
  TQ_FIELD(OtherTextFontColorDlg);
  TQ_FIELD(Label3);
  TQ_FIELD(Shape1);
  TQ_FIELD(buProgressBarBackgroundColor);
  TQ_FIELD(ProgressBarBackgroundColorDlg);
  TQ_FIELD(Label4);
  TQ_FIELD(Shape2);
  TQ_FIELD(buProgressBarForegroundColor);
  TQ_FIELD(ProgressBarForegroundColorDlg);
  TQ_FIELD(Label5);
  TQ_FIELD(OKBtn);
  TQ_FIELD(CancelBtn);
  TQ_HANDLER(TBPOptionsDlg, FormCreate);
  TQ_HANDLER(TBPOptionsDlg, FormShow);
  TQ_HANDLER(TBPOptionsDlg, buBackNextCancelFontClick);
  TQ_HANDLER(TBPOptionsDlg, buOtherTextFontClick);
  TQ_HANDLER(TBPOptionsDlg, Button1Click);
  TQ_HANDLER(TBPOptionsDlg, Button2Click);
  TQ_HANDLER(TBPOptionsDlg, buProgressBarBackgroundColorClick);
  TQ_HANDLER(TBPOptionsDlg, buProgressBarForegroundColorClick);
  TQ_HANDLER(TBPOptionsDlg, CancelBtnClick);
  TQ_HANDLER(TBPOptionsDlg, OKBtnClick);
  LoadLayoutResource("BPOPTIONSDLG");
}

void TBPOptionsDlg::FormCreate(TObject*) {
  TFont font;
  font.SetName("Verdana");
  font.SetSize(12);
  font.SetColor(clBlue);
  FontDialog1->Font().Assign(font);
  font.SetColor(clGreen);
  FontDialog2->Font().Assign(font);
  Label1->Font().Assign(FontDialog1->Font());
  Label2->Font().Assign(FontDialog2->Font());
  SavedFont1.Assign(FontDialog1->Font());
  SavedFont2.Assign(FontDialog2->Font());
}

// A project read since the last showing may have brought other fonts and
// colours: the samples and swatches show the current ones.
void TBPOptionsDlg::FormShow(TObject*) {
  SavedFont1.Assign(FontDialog1->Font());
  SavedFont2.Assign(FontDialog2->Font());
  Label1->Font().Assign(FontDialog1->Font());
  Label2->Font().Assign(FontDialog2->Font());
  Shape1->SetBrushColor(ProgressBarBackgroundColorDlg->Color);
  Shape2->SetBrushColor(ProgressBarForegroundColorDlg->Color);
  if (IsWindowVisible(Handle())) buBackNextCancelFont->SetFocus();
}

void TBPOptionsDlg::buBackNextCancelFontClick(TObject*) {
  FontDialog1->Execute();
  Label1->Font().Assign(FontDialog1->Font());
}

void TBPOptionsDlg::buOtherTextFontClick(TObject*) {
  FontDialog2->Execute();
  Label2->Font().Assign(FontDialog2->Font());
}

void TBPOptionsDlg::Button1Click(TObject*) { ChooseFontColor(BackNextCancelFontColorDlg, FontDialog1, Label1); }

void TBPOptionsDlg::Button2Click(TObject*) { ChooseFontColor(OtherTextFontColorDlg, FontDialog2, Label2); }

void TBPOptionsDlg::buProgressBarBackgroundColorClick(TObject*) {
  ProgressBarBackgroundColorDlg->Execute();
  Shape1->SetBrushColor(ProgressBarBackgroundColorDlg->Color);
}

void TBPOptionsDlg::buProgressBarForegroundColorClick(TObject*) {
  ProgressBarForegroundColorDlg->Execute();
  Shape2->SetBrushColor(ProgressBarForegroundColorDlg->Color);
}

// The colours are not brought back.
void TBPOptionsDlg::CancelBtnClick(TObject*) {
  FontDialog1->Font().Assign(SavedFont1);
  FontDialog2->Font().Assign(SavedFont2);
  Label1->Font().Assign(SavedFont1);
  Label2->Font().Assign(SavedFont2);
}

void TBPOptionsDlg::OKBtnClick(TObject*) {
  if (RWInstallForm) RWInstallForm->FModified = 1;
}

}  // namespace tq
