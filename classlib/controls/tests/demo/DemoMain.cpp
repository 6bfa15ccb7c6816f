// A small window that shows most controls, for trying them by hand and for
// screenshots (tools/screenshot.sh). Pass "page2" to open on the second page.
#include <string>

#include "Buttons.h"
#include "CheckLst.h"
#include "ComCtrls.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "Menus.h"

using namespace tq;

class TDemoForm : public TForm {
 public:
  TPageControl* PageControl1 = nullptr;
  TTabSheet* TabSheet2 = nullptr;
  TEdit* edProductName = nullptr;
  TLabel* labBuilding = nullptr;
  TTreeView* trChoices = nullptr;
  TRichEdit* reChoices = nullptr;
  TCheckListBox* lbFiles = nullptr;
  TMenuItem* File1 = nullptr;
  int Changes = 0;

  explicit TDemoForm(TComponent* owner) : TForm(owner) {
    TQ_FIELD(PageControl1);
    TQ_FIELD(TabSheet2);
    TQ_FIELD(edProductName);
    TQ_FIELD(labBuilding);
    TQ_FIELD(trChoices);
    TQ_FIELD(reChoices);
    TQ_FIELD(lbFiles);
    TQ_FIELD(File1);
    TQ_HANDLER(TDemoForm, FormCreate);
    TQ_HANDLER(TDemoForm, edProductNameChange);
    TQ_HANDLER(TDemoForm, buBuildClick);
    TQ_HANDLER(TDemoForm, Exit1Click);
    TQ_HANDLER(TDemoForm, SpeedButton1Click);
    TQ_HANDLER(TDemoForm, SpeedButton2Click);
    LoadLayoutResource("DEMOFORM");
  }

  void FormCreate(TObject*) {
    TTreeNode* root = trChoices->Items().Add(nullptr, "Choices");
    TTreeNode* core = trChoices->Items().AddChild(root, "Core_Program");
    trChoices->Items().AddChild(core, "Documentation");
    root->Expand(true);
    trChoices->SetSelected(core);
    lbFiles->SetChecked(1, true);
    reChoices->LoadRichText(
        "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 {\\b Choices} are the features of the package. "
        "Pick a choice on the left and add its {\\i files}.\\par}");
    auto* recent = new TMenuItem(this);
    recent->SetCaption("1 C:\\Projects\\Sample.ipr");
    File1->Add(recent);
  }
  void edProductNameChange(TObject*) { ++Changes; }
  void buBuildClick(TObject*) {
    TCursorScope wait(crHourGlass);
    labBuilding->SetCaption("Build Complete");
  }
  void Exit1Click(TObject*) { Close(); }
  void SpeedButton1Click(TObject*) { PageControl1->SetActivePageIndex(0); }
  void SpeedButton2Click(TObject*) { PageControl1->SetActivePage(TabSheet2); }
};

TDemoForm* DemoForm = nullptr;

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR cmdLine, int) {
  Application->Initialize();
  Application->SetTitle("Controls Demo");
  Application->CreateForm(DemoForm);
  if (std::string(cmdLine).find("page2") != std::string::npos) DemoForm->PageControl1->SetActivePage(DemoForm->TabSheet2);
  Application->Run();
  return 0;
}
