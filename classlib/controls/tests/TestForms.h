#pragma once
// A form for the tests, built from layout text, whose handlers count and log
// their calls.
#include <memory>
#include <string>
#include <vector>

#include "Buttons.h"
#include "CheckLst.h"
#include "ComCtrls.h"
#include "Dialogs.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "Menus.h"

namespace tq::testing {

class TEventForm : public TForm {
 public:
  explicit TEventForm(TComponent* owner) : TForm(owner) {
    TQ_HANDLER(TEventForm, AnyClick);
    TQ_HANDLER(TEventForm, AnyChange);
    TQ_HANDLER(TEventForm, NodeChange);
    TQ_HANDLER(TEventForm, FormCreate);
    TQ_HANDLER(TEventForm, KeyPress);
  }
  std::vector<std::string> Log;  // "Click edName", "Change cbRoot", ...
  std::string ThrowOnClick;      // a message: AnyClick raises it
  void AnyClick(TObject* sender) {
    Log.push_back("Click " + NameOf(sender));
    if (!ThrowOnClick.empty()) throw Exception(ThrowOnClick);
  }
  void AnyChange(TObject* sender) { Log.push_back("Change " + NameOf(sender)); }
  void NodeChange(TObject* sender, TTreeNode* node) {
    Log.push_back("Change " + NameOf(sender) + " " + (node ? node->Text() : std::string("(none)")));
  }
  void FormCreate(TObject*) { Log.push_back("FormCreate"); }
  void KeyPress(TObject* sender, char& key) {
    Log.push_back(std::string("KeyPress ") + key);
    if (key == 'x') key = 0;
  }
  static std::string NameOf(TObject* o) {
    auto* c = dynamic_cast<TComponent*>(o);
    return c ? c->Name() : std::string("?");
  }
  template <class T>
  T* Get(const std::string& name) {
    auto* c = dynamic_cast<T*>(FindComponent(name));
    if (!c) throw Exception("no component " + name);
    return c;
  }
};

// Makes a form from a layout's body (the objects and properties inside the form).
inline std::unique_ptr<TEventForm> MakeForm(const std::string& body) {
  auto form = std::make_unique<TEventForm>(nullptr);
  form->LoadLayoutText("object TestForm: TEventForm\n  ClientWidth = 400\n  ClientHeight = 300\n" + body + "end\n");
  return form;
}

inline std::string WindowText(HWND h) {
  char buf[512] = {};
  GetWindowTextA(h, buf, sizeof buf);
  return buf;
}

// The caption of the native tab control's tab at index.
inline std::string TabItem(HWND h, int index) {
  char buf[256] = {};
  TCITEMA item{};
  item.mask = TCIF_TEXT;
  item.pszText = buf;
  item.cchTextMax = sizeof buf;
  SendMessageA(h, TCM_GETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
  return buf;
}

}  // namespace tq::testing
