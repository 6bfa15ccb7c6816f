// Building forms from layouts: classes by name, properties, handlers bound
// by name, fields, and the errors a broken layout gives at load.
#include <gtest/gtest.h>

#include "PromptsTesting.h"
#include "TestForms.h"

namespace tq::testing {
namespace {

// A form with fields, as the program's forms declare them.
class TFieldForm : public TEventForm {
 public:
  TEdit* edName = nullptr;
  TButton* buGo = nullptr;
  explicit TFieldForm(TComponent* owner) : TEventForm(owner) {
    TQ_FIELD(edName);
    TQ_FIELD(buGo);
  }
};

TEST(LayoutLoader, CreatesControlsSetsPropertiesAndBindsHandlers) {
  auto form = MakeForm(R"(
  Caption = 'Untitled - Tarnquill'
  Font.Name = 'Arial'
  Font.Height = -13
  object Panel1: TPanel
    Left = 10
    Top = 20
    Width = 200
    Height = 100
    object buBuild: TButton
      Left = 5
      Top = 6
      Width = 80
      Caption = 'Build'
      OnClick = AnyClick
    end
  end
)");
  EXPECT_EQ(WindowText(form->Handle()), "Untitled - Tarnquill");
  EXPECT_EQ(form->Font().Name(), "Arial");
  EXPECT_EQ(form->ClientWidth(), 400);
  EXPECT_EQ(form->ClientHeight(), 300);
  auto* panel = form->Get<TPanel>("Panel1");
  auto* button = form->Get<TButton>("buBuild");
  EXPECT_EQ(button->Parent(), panel);
  EXPECT_EQ(button->Owner(), form.get());
  EXPECT_EQ(GetParent(button->Handle()), panel->Handle());
  RECT r;
  GetWindowRect(button->Handle(), &r);
  MapWindowPoints(nullptr, panel->Handle(), reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.left, 5);
  EXPECT_EQ(r.top, 6);
  EXPECT_EQ(r.right - r.left, 80);
  EXPECT_EQ(WindowText(button->Handle()), "Build");
  // The window's own notification reaches the bound handler.
  SendMessageA(button->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(form->Log, std::vector<std::string>{"Click buBuild"});
}

TEST(LayoutLoader, ControlsTakeTheirParentsFontUntilTheyHaveTheirOwn) {
  auto form = MakeForm(R"(
  Font.Name = 'Arial'
  Font.Height = -13
  object Panel1: TPanel
    object edName: TEdit
    end
    object labBuilding: TLabel
      Font.Color = clRed
    end
  end
)");
  auto* edit = form->Get<TEdit>("edName");
  auto* label = form->Get<TLabel>("labBuilding");
  EXPECT_EQ(edit->Font().Name(), "Arial");
  EXPECT_EQ(edit->Font().Height(), -13);
  EXPECT_TRUE(edit->ParentFont());
  EXPECT_FALSE(label->ParentFont());
  form->Font().SetHeight(-16);
  EXPECT_EQ(edit->Font().Height(), -16);  // through the panel
  EXPECT_EQ(label->Font().Height(), -11);
  EXPECT_EQ(label->Font().Color(), clRed);
  LOGFONTA lf{};
  GetObjectA(reinterpret_cast<HFONT>(SendMessageA(edit->Handle(), WM_GETFONT, 0, 0)), sizeof lf, &lf);
  EXPECT_STREQ(lf.lfFaceName, "Arial");
  EXPECT_EQ(lf.lfHeight, -16);
}

TEST(LayoutLoader, FillsTheFormsFieldsByName) {
  TFieldForm form(nullptr);
  form.LoadLayoutText("object F: TFieldForm\n object edName: TEdit\n end\n object buGo: TButton\n end\nend\n");
  ASSERT_NE(form.edName, nullptr);
  ASSERT_NE(form.buGo, nullptr);
  EXPECT_EQ(form.edName->Name(), "edName");
}

TEST(LayoutLoader, BrokenLayoutsAreErrorsAtLoad) {
  struct TCase {
    const char* Name;
    const char* Body;
    const char* Message;
  };
  const TCase cases[] = {
      {"unknown handler", " object buGo: TButton\n  OnClick = buGoClick\n end\n",
       "Layout line 2: unknown handler buGoClick for event OnClick"},
      {"handler of another signature", " object trTree: TTreeView\n  OnChange = AnyChange\n end\n",
       "Layout line 2: handler AnyChange does not fit event OnChange"},
      {"unknown class", " object Outlook1: TNoSuchBar\n end\n", "Layout line 1: Class TNoSuchBar not found"},
      {"unknown property", " object buGo: TButton\n  Colour = clRed\n end\n",
       "Layout line 2: unknown property Colour of TButton"},
      {"bad enumeration", " object buGo: TButton\n  Align = alMiddle\n end\n",
       "Layout line 2: unknown value alMiddle for Align"},
      {"unknown reference", " Menu = MainMenu9\n", "Layout line 1: unknown component MainMenu9 for Menu"},
      {"duplicate name", " object A1: TButton\n end\n object A1: TEdit\n end\n", "Layout line 3: a second object named A1"},
  };
  for (const TCase& c : cases) {
    TEventForm form(nullptr);
    try {
      form.LoadLayoutText(std::string("object F: TEventForm\n") + c.Body + "end\n");
      ADD_FAILURE() << c.Name << ": no error";
    } catch (const ELayoutError& e) {
      // Lines count from the form's header line.
      std::string expected = c.Message;
      int line = std::stoi(expected.substr(12)) + 1;
      expected = "Layout line " + std::to_string(line) + expected.substr(expected.find(':'));
      EXPECT_EQ(e.Message, expected) << c.Name;
    }
  }
}

TEST(LayoutLoader, AFieldWithoutItsComponentIsAnError) {
  TFieldForm form(nullptr);
  EXPECT_THROW(form.LoadLayoutText("object F: TFieldForm\n object edName: TEdit\n end\nend\n"), ELayoutError);
}

TEST(LayoutLoader, AFieldOfAnotherClassIsAnError) {
  TFieldForm form(nullptr);
  EXPECT_THROW(form.LoadLayoutText("object F: TFieldForm\n object edName: TButton\n end\n object buGo: TButton\n end\nend\n"),
               ELayoutError);
}

// The program's forms load their layouts from resources compiled into the program.
class TResourceForm : public TForm {
 public:
  TEdit* edName = nullptr;
  int Creates = 0;
  int Changes = 0;
  int Clicks = 0;
  explicit TResourceForm(TComponent* owner) : TForm(owner) {
    TQ_FIELD(edName);
    TQ_HANDLER(TResourceForm, FormCreate);
    TQ_HANDLER(TResourceForm, edNameChange);
    TQ_HANDLER(TResourceForm, buGoClick);
    LoadLayoutResource("TESTFORM");
  }
  void FormCreate(TObject*) { ++Creates; }
  void edNameChange(TObject*) { ++Changes; }
  void buGoClick(TObject*) { ++Clicks; }
};

TEST(LayoutLoader, LoadsALayoutResourceOfTheProgram) {
  TResourceForm form(nullptr);
  EXPECT_EQ(form.Creates, 1);
  ASSERT_NE(form.edName, nullptr);
  EXPECT_EQ(form.edName->Text(), "start");
  form.edName->SetText("changed");
  EXPECT_EQ(form.Changes, 1);
  EXPECT_THROW(TForm(nullptr).LoadLayoutResource("NOSUCHLAYOUT"), ELayoutError);
}

TEST(LayoutLoader, AnExceptionInOnCreateIsShownAndTheFormStillOpens) {
  class TFailingForm : public TForm {
   public:
    explicit TFailingForm(TComponent* owner) : TForm(owner) {
      TQ_HANDLER(TFailingForm, FormCreate);
      LoadLayoutText("object F: TFailingForm\n OnCreate = FormCreate\n object buGo: TButton\n end\nend\n");
    }
    void FormCreate(TObject*) { throw EInOutError(2, "File not found"); }
  };
  TPromptScript prompts({{pkMessageBox, "File not found.", IDOK}});
  TFailingForm form(nullptr);
  EXPECT_NE(form.FindComponent("buGo"), nullptr);
}

}  // namespace
}  // namespace tq::testing
