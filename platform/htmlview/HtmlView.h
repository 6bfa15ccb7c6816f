#pragma once
// THtmlView: draws our page engine's pages as a plain setup wizard in a window:
// the page of the frame it follows (or the window's own page) laid out in
// reading order, headings and paragraphs as text, inputs, radio buttons, check
// boxes, selects, text areas, buttons and links as real controls, the applet
// element as a progress bar. What the user does goes to the page through the
// browser (THtmlBrowser::Click, KeyPress, DblClick; typed text and selections
// into the elements); what the page's handlers change shows at once after each
// event and, while the program only drains its queue (an installation), ten
// times a second.
#include <map>
#include <string>
#include <vector>

#include "HtmlBrowser.h"

namespace tq::html {

class THtmlView {
 public:
  // A child window of parent filling it; follows frameName of the top document
  // when it is a frameset, else the top document itself.
  THtmlView(void* parentWindow, THtmlBrowser& browser, std::string frameName = "mainFrame");
  ~THtmlView();
  THtmlView(const THtmlView&) = delete;
  THtmlView& operator=(const THtmlView&) = delete;

  void* Window() const { return FWindow; }
  // The document shown now.
  THtmlDocument* Shown() const;
  // Rebuilds the controls when the page changed, else brings them up to date.
  void Refresh();
  // The control made for an element (an HWND; null when none).
  void* ControlOf(const IHtmlElement* element) const;
  // Fits the view to its parent's client area.
  void Resize();

 private:
  struct TControl {
    void* Window;
    THtmlElement* Element;
    enum TKind { Text, Edit, Memo, Radio, Check, List, Combo, Button, Link, Progress } Kind;
  };
  friend struct THtmlViewWindows;
  void Build();
  void Sync();
  void Command(void* control, int code);
  const TControl* Find(void* window) const;
  void* FWindow = nullptr;
  THtmlBrowser& FBrowser;
  std::string FFrameName;
  THtmlDocument* FBuiltFor = nullptr;
  bool FReplaced = true;
  bool FSyncing = false;
  std::vector<TControl> FControls;
  void* FFonts[3] = {};  // HFONTs: normal, bold, title
  const IHtmlElement* FLastFocused = nullptr;
};

}  // namespace tq::html
