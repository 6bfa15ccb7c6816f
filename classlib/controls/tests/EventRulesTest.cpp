// Which changes fire which events: the rules that the project's modified flag
// and the editors' updating flag rely on.
#include <gtest/gtest.h>

#include <functional>

#include "TestForms.h"

namespace tq::testing {
namespace {

const char* const kLayout = R"(
  object edName: TEdit
    Text = 'start'
    OnChange = AnyChange
  end
  object ckbRequired: TCheckBox
    Checked = True
    OnClick = AnyClick
  end
  object rbPerUser: TRadioButton
    Checked = True
    OnClick = AnyClick
  end
  object rbPerMachine: TRadioButton
    OnClick = AnyClick
  end
  object cbRoot: TComboBox
    Style = csDropDownList
    Items.Strings = ('HKCR' 'HKCU' 'HKLM')
    OnClick = AnyClick
    OnChange = AnyChange
  end
  object lbDirectories: TListBox
    Items.Strings = ('<Home Directory>' '    bin')
    OnClick = AnyClick
  end
  object tcRegistry: TTabControl
    Tabs.Strings = ('Registry1' 'Add A Registry Entry')
    OnChange = AnyChange
  end
  object PageControl1: TPageControl
    OnChange = AnyChange
    object TabSheet1: TTabSheet
      Caption = 'One'
    end
    object TabSheet2: TTabSheet
      Caption = 'Two'
    end
  end
  object rgType: TRadioGroup
    Items.Strings = ('User' 'System')
    OnClick = AnyClick
  end
  object trChoices: TTreeView
    OnChange = NodeChange
  end
)";

struct TRuleCase {
  const char* Name;
  std::function<void(TEventForm&)> Act;
  std::vector<std::string> Expected;
};

class EventRules : public ::testing::TestWithParam<TRuleCase> {};

TEST_P(EventRules, FireAsTheEditorsExpect) {
  auto form = MakeForm(kLayout);
  form->Log.clear();  // loading the layout fires nothing but FormCreate, which this one lacks
  GetParam().Act(*form);
  EXPECT_EQ(form->Log, GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Programmatic, EventRules,
    ::testing::Values(
        TRuleCase{"EditTextFiresChange", [](TEventForm& f) { f.Get<TEdit>("edName")->SetText("Product"); },
                  {"Change edName"}},
        TRuleCase{"EditSameTextFiresNothing", [](TEventForm& f) { f.Get<TEdit>("edName")->SetText("start"); }, {}},
        TRuleCase{"EditTextTwiceFiresTwice",
                  [](TEventForm& f) {
                    f.Get<TEdit>("edName")->SetText("a");
                    f.Get<TEdit>("edName")->SetText("b");
                  },
                  {"Change edName", "Change edName"}},
        TRuleCase{"CheckBoxUncheckFiresClick", [](TEventForm& f) { f.Get<TCheckBox>("ckbRequired")->SetChecked(false); },
                  {"Click ckbRequired"}},
        TRuleCase{"CheckBoxSameStateFiresNothing",
                  [](TEventForm& f) { f.Get<TCheckBox>("ckbRequired")->SetChecked(true); }, {}},
        TRuleCase{"RadioCheckFiresItsClickOnly",
                  [](TEventForm& f) { f.Get<TRadioButton>("rbPerMachine")->SetChecked(true); },
                  {"Click rbPerMachine"}},
        TRuleCase{"RadioAlreadyCheckedFiresNothing",
                  [](TEventForm& f) { f.Get<TRadioButton>("rbPerUser")->SetChecked(true); }, {}},
        TRuleCase{"RadioUncheckFiresNothing",
                  [](TEventForm& f) { f.Get<TRadioButton>("rbPerUser")->SetChecked(false); }, {}},
        TRuleCase{"ComboItemIndexFiresNothing", [](TEventForm& f) { f.Get<TComboBox>("cbRoot")->SetItemIndex(2); }, {}},
        TRuleCase{"ListItemIndexFiresNothing",
                  [](TEventForm& f) { f.Get<TListBox>("lbDirectories")->SetItemIndex(1); }, {}},
        TRuleCase{"TabIndexFiresNothing", [](TEventForm& f) { f.Get<TTabControl>("tcRegistry")->SetTabIndex(1); }, {}},
        TRuleCase{"ActivePageFiresNothing",
                  [](TEventForm& f) { f.Get<TPageControl>("PageControl1")->SetActivePageIndex(1); }, {}},
        TRuleCase{"RadioGroupItemIndexFiresNothing",
                  [](TEventForm& f) { f.Get<TRadioGroup>("rgType")->SetItemIndex(1); }, {}},
        TRuleCase{"SelectingANodeFiresChange",
                  [](TEventForm& f) {
                    auto* tr = f.Get<TTreeView>("trChoices");
                    TTreeNode* n = tr->Items().Add(nullptr, "Core_Program");
                    tr->SetSelected(n);
                    tr->SetSelected(n);
                    tr->SetSelected(nullptr);
                  },
                  {"Change trChoices Core_Program", "Change trChoices (none)"}},
        TRuleCase{"ButtonClickMethodRunsOnClick",
                  [](TEventForm& f) { f.Get<TCheckBox>("ckbRequired")->Click(); }, {"Click ckbRequired"}}),
    [](const ::testing::TestParamInfo<TRuleCase>& info) { return std::string(info.param.Name); });

// What the user does arrives as window messages and fires the same events.
INSTANTIATE_TEST_SUITE_P(
    FromTheWindow, EventRules,
    ::testing::Values(
        TRuleCase{"TypingInAnEditFiresChange",
                  [](TEventForm& f) { SendMessageA(f.Get<TEdit>("edName")->Handle(), WM_CHAR, 'k', 0); },
                  {"Change edName"}},
        TRuleCase{"ClickingACheckBoxTogglesAndFiresClick",
                  [](TEventForm& f) {
                    auto* ck = f.Get<TCheckBox>("ckbRequired");
                    SendMessageA(ck->Handle(), BM_CLICK, 0, 0);
                    f.Log.push_back(ck->Checked() ? "checked" : "unchecked");
                  },
                  {"Click ckbRequired", "unchecked"}},
        TRuleCase{"ClickingARadioButtonUnchecksItsSibling",
                  [](TEventForm& f) {
                    SendMessageA(f.Get<TRadioButton>("rbPerMachine")->Handle(), BM_CLICK, 0, 0);
                    f.Log.push_back(f.Get<TRadioButton>("rbPerUser")->Checked() ? "sibling checked" : "sibling unchecked");
                  },
                  {"Click rbPerMachine", "sibling unchecked"}},
        TRuleCase{"ChoosingAComboEntryFiresClickThenChange",
                  [](TEventForm& f) {
                    auto* cb = f.Get<TComboBox>("cbRoot");
                    SendMessageA(cb->Handle(), CB_SETCURSEL, 1, 0);
                    SendMessageA(f.Handle(), WM_COMMAND, MAKEWPARAM(0, CBN_SELCHANGE),
                                 reinterpret_cast<LPARAM>(cb->Handle()));
                    f.Log.push_back(cb->Text());
                  },
                  {"Click cbRoot", "Change cbRoot", "HKCU"}},
        TRuleCase{"ChoosingARadioGroupButtonFiresTheGroupsClick",
                  [](TEventForm& f) {
                    auto* rg = f.Get<TRadioGroup>("rgType");
                    SendMessageA(rg->Buttons(1)->Handle(), BM_CLICK, 0, 0);
                    f.Log.push_back("ItemIndex " + IntToStr(rg->ItemIndex()));
                  },
                  {"Click rgType", "ItemIndex 1"}},
        TRuleCase{"ChoosingATabFiresChange",
                  [](TEventForm& f) {
                    auto* tc = f.Get<TTabControl>("tcRegistry");
                    SendMessageA(tc->Handle(), TCM_SETCURSEL, 1, 0);
                    NMHDR hdr{tc->Handle(), 0, static_cast<UINT>(TCN_SELCHANGE)};
                    SendMessageA(f.Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&hdr));
                    f.Log.push_back("TabIndex " + IntToStr(tc->TabIndex()));
                  },
                  {"Change tcRegistry", "TabIndex 1"}},
        TRuleCase{"ChoosingAPageTabShowsThePage",
                  [](TEventForm& f) {
                    auto* pc = f.Get<TPageControl>("PageControl1");
                    SendMessageA(pc->Handle(), TCM_SETCURSEL, 1, 0);
                    NMHDR hdr{pc->Handle(), 0, static_cast<UINT>(TCN_SELCHANGE)};
                    SendMessageA(f.Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&hdr));
                    f.Log.push_back(pc->ActivePage()->Name());
                  },
                  {"Change PageControl1", "TabSheet2"}}),
    [](const ::testing::TestParamInfo<TRuleCase>& info) { return std::string(info.param.Name); });

TEST(EventRulesKeys, KeyPressSeesAndCanSwallowTheKey) {
  auto form = MakeForm(R"(
  object edName: TEdit
    OnKeyPress = KeyPress
    OnChange = AnyChange
  end
)");
  HWND h = form->Get<TEdit>("edName")->Handle();
  SendMessageA(h, WM_CHAR, 'a', 0);
  SendMessageA(h, WM_CHAR, 'x', 0);  // the handler sets the key to 0
  EXPECT_EQ(form->Get<TEdit>("edName")->Text(), "a");
  EXPECT_EQ(form->Log, (std::vector<std::string>{"KeyPress a", "Change edName", "KeyPress x"}));
}

TEST(EventRulesLoad, LoadingALayoutFiresNoChangeEventsButRunsOnCreate) {
  auto form = MakeForm(R"(
  OnCreate = FormCreate
  object edName: TEdit
    Text = 'start'
    OnChange = AnyChange
  end
  object ckbRequired: TCheckBox
    Checked = True
    OnClick = AnyClick
  end
)");
  EXPECT_EQ(form->Log, std::vector<std::string>{"FormCreate"});
  EXPECT_EQ(WindowText(form->Get<TEdit>("edName")->Handle()), "start");
  EXPECT_EQ(SendMessageA(form->Get<TCheckBox>("ckbRequired")->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
}

}  // namespace
}  // namespace tq::testing
