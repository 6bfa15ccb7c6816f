#include "HtmlView.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <sstream>

namespace tq::html {

namespace {

constexpr char ViewClass[] = "TqHtmlView";
constexpr int Margin = 24;
constexpr UINT_PTR RefreshTimer = 1;

bool OneOf(const std::string& tag, std::initializer_list<const char*> tags) {
  for (const char* t : tags)
    if (tag == t) return true;
  return false;
}

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

int NumberAttribute(const THtmlElement* e, const char* name, int fallback) {
  const std::string* v = e->Attribute(name);
  if (!v) return fallback;
  int n = std::atoi(v->c_str());
  return n > 0 && n < 5000 ? n : fallback;
}

}  // namespace

// The window procedures (kept out of the header with the Win32 types).
struct THtmlViewWindows {
  static LRESULT CALLBACK ViewProc(HWND window, UINT msg, WPARAM w, LPARAM l) {
    auto* view = reinterpret_cast<THtmlView*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    switch (msg) {
      case WM_COMMAND:
        if (view && l) view->Command(reinterpret_cast<HWND>(l), HIWORD(w));
        return 0;
      case WM_TIMER:
        if (view && w == RefreshTimer) view->Refresh();
        return 0;
      case WM_CTLCOLORSTATIC:
        SetBkColor(reinterpret_cast<HDC>(w), GetSysColor(COLOR_WINDOW));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
      default:
        return DefWindowProcA(window, msg, w, l);
    }
  }
  // Text fields pass each typed character to the page first.
  static LRESULT CALLBACK EditProc(HWND window, UINT msg, WPARAM w, LPARAM l) {
    auto* view = reinterpret_cast<THtmlView*>(GetPropA(window, "TqHtmlView"));
    auto old = reinterpret_cast<WNDPROC>(GetPropA(window, "TqHtmlViewProc"));
    if (msg == WM_CHAR && view) {
      if (const THtmlView::TControl* c = view->Find(window); c && c->Element) {
        view->FBrowser.KeyPress(c->Element, static_cast<int>(w));
        view->Refresh();
        if (w == 9) return 0;  // Tab moved the focus (or not); no beep
      }
    }
    return CallWindowProcA(old, window, msg, w, l);
  }
};

THtmlView::THtmlView(void* parentWindow, THtmlBrowser& browser, std::string frameName)
    : FBrowser(browser), FFrameName(std::move(frameName)) {
  static bool registered = false;
  if (!registered) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = &THtmlViewWindows::ViewProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
    wc.lpszClassName = ViewClass;
    RegisterClassA(&wc);
    registered = true;
  }
  auto parent = static_cast<HWND>(parentWindow);
  RECT r{};
  GetClientRect(parent, &r);
  HWND window = CreateWindowExA(0, ViewClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, r.right, r.bottom,
                                parent, nullptr, GetModuleHandleA(nullptr), nullptr);
  SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  FWindow = window;
  auto font = [](int height, int weight) {
    return CreateFontA(height, 0, 0, 0, weight, 0, 0, 0, ANSI_CHARSET, 0, 0, DEFAULT_QUALITY, DEFAULT_PITCH, "Arial");
  };
  FFonts[0] = font(-14, FW_NORMAL);
  FFonts[1] = font(-14, FW_BOLD);
  FFonts[2] = font(-20, FW_BOLD);
  browser.OnDocumentReplaced = [this] {
    FReplaced = true;
    for (TControl& c : FControls) c.Element = nullptr;  // its page is gone
  };
  SetTimer(window, RefreshTimer, 100, nullptr);
}

THtmlView::~THtmlView() {
  FBrowser.OnDocumentReplaced = nullptr;
  KillTimer(static_cast<HWND>(FWindow), RefreshTimer);
  DestroyWindow(static_cast<HWND>(FWindow));
  for (void* f : FFonts) DeleteObject(static_cast<HFONT>(f));
}

THtmlDocument* THtmlView::Shown() const {
  if (THtmlDocument* frame = FBrowser.FrameDocument(FFrameName)) return frame;
  THtmlDocument* top = FBrowser.TopDocument();
  return top && top->Frames().empty() ? top : nullptr;
}

void* THtmlView::ControlOf(const IHtmlElement* element) const {
  for (const TControl& c : FControls)
    if (c.Element == element && c.Kind != TControl::Text) return c.Window;
  return nullptr;
}

const THtmlView::TControl* THtmlView::Find(void* window) const {
  for (const TControl& c : FControls)
    if (c.Window == window) return &c;
  return nullptr;
}

void THtmlView::Resize() {
  RECT r{};
  GetClientRect(GetParent(static_cast<HWND>(FWindow)), &r);
  MoveWindow(static_cast<HWND>(FWindow), 0, 0, r.right, r.bottom, TRUE);
  FReplaced = true;
  Refresh();
}

void THtmlView::Refresh() {
  // A select that became a list (multiple, or more rows) or a drop-down needs another control.
  bool reshaped = false;
  for (const TControl& c : FControls)
    if (c.Element && (c.Kind == TControl::List || c.Kind == TControl::Combo))
      reshaped |= (c.Kind == TControl::List) != (c.Element->Multiple() || c.Element->Size() > 1);
  if (FReplaced || reshaped || Shown() != FBuiltFor) Build();
  Sync();
}

// ---- layout ------------------------------------------------------------------

namespace {

struct TFlow {
  HWND View;
  HDC Dc;
  int Width;
  int X = Margin, Y = Margin, Line = 0;
  void NewLine(int gap = 0) {
    if (X > Margin || Line > 0) Y += Line + 4;
    X = Margin;
    Line = 0;
    Y += gap;
  }
  // Room for w x h on this line (or the next).
  POINT Place(int w, int h) {
    if (X > Margin && X + w > Width - Margin) NewLine();
    POINT at{X, Y};
    X += w + 6;
    Line = std::max(Line, h);
    return at;
  }
};

}  // namespace

void THtmlView::Build() {
  auto view = static_cast<HWND>(FWindow);
  for (TControl& c : FControls) DestroyWindow(static_cast<HWND>(c.Window));
  FControls.clear();
  FLastFocused = nullptr;
  FReplaced = false;
  FBuiltFor = Shown();
  if (!FBuiltFor || !FBuiltFor->Root()) return;
  RECT r{};
  GetClientRect(view, &r);
  TFlow flow{view, GetDC(view), std::max<int>(r.right, 200)};

  auto make = [&](const char* cls, const std::string& text, DWORD style, int w, int h, THtmlElement* e,
                  TControl::TKind kind, HFONT font) {
    POINT at = flow.Place(w, h);
    HWND c = CreateWindowExA(kind == TControl::Edit || kind == TControl::Memo || kind == TControl::List
                                 ? WS_EX_CLIENTEDGE : 0,
                             cls, text.c_str(), WS_CHILD | WS_VISIBLE | style, at.x, at.y, w, h, view,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(100 + FControls.size())),
                             GetModuleHandleA(nullptr), nullptr);
    SendMessageA(c, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    FControls.push_back({c, e, kind});
    if (kind == TControl::Edit || kind == TControl::Memo) {
      SetPropA(c, "TqHtmlView", this);
      SetPropA(c, "TqHtmlViewProc", reinterpret_cast<HANDLE>(SetWindowLongPtrA(
                                        c, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&THtmlViewWindows::EditProc))));
    }
    return c;
  };
  auto textWidth = [&](const std::string& s, HFONT font) {
    SelectObject(flow.Dc, font);
    SIZE size{};
    GetTextExtentPoint32A(flow.Dc, s.c_str(), static_cast<int>(s.size()), &size);
    return SIZE{size.cx, size.cy};
  };
  // The element a <label for=...> being walked names: a click on its text clicks it.
  THtmlElement* labelFor = nullptr;
  // Words of a text run, as many per static as fit on the line.
  auto text = [&](const std::string& raw, HFONT font) {
    std::istringstream words(raw);
    std::string word, run;
    auto flush = [&] {
      if (run.empty()) return;
      SIZE s = textWidth(run, font);
      make("STATIC", run, SS_LEFT | SS_NOPREFIX | (labelFor ? SS_NOTIFY : 0), s.cx + 2, s.cy, labelFor,
           TControl::Text, font);
      run.clear();
    };
    while (words >> word) {
      std::string next = run.empty() ? word : run + " " + word;
      if (!run.empty() && flow.X + textWidth(next, font).cx > flow.Width - Margin) {
        flush();
        flow.NewLine();
        next = word;
      }
      run = next;
    }
    flush();
  };

  std::function<void(THtmlElement*, HFONT)> walk = [&](THtmlElement* parent, HFONT font) {
    for (const auto& child : parent->Children) {
      if (!child->IsElement()) {
        std::string t = child->Text;
        std::replace(t.begin(), t.end(), '\xA0', ' ');
        text(t, font);
        continue;
      }
      auto* e = static_cast<THtmlElement*>(child.get());
      const std::string& tag = e->Tag;
      const std::string* cls = e->Attribute("class");
      if (OneOf(tag, {"head", "script", "style", "title", "option"})) continue;
      if (tag == "br") {
        flow.NewLine();
      } else if (tag == "input") {
        std::string type = e->Attribute("type") ? Lower(*e->Attribute("type")) : "text";
        if (type == "hidden") continue;
        if (type == "radio" || type == "checkbox")
          make("BUTTON", "", (type == "radio" ? BS_RADIOBUTTON : BS_CHECKBOX) | WS_TABSTOP, 18, 20, e,
               type == "radio" ? TControl::Radio : TControl::Check, font);
        else if (type == "button" || type == "submit")
          make("BUTTON", e->Value(), BS_PUSHBUTTON | WS_TABSTOP, textWidth(e->Value(), font).cx + 24, 26, e,
               TControl::Button, font);
        else
          make("EDIT", e->Value(), ES_AUTOHSCROLL | WS_TABSTOP | (type == "password" ? ES_PASSWORD : 0),
               std::min(NumberAttribute(e, "size", 30) * 8, flow.Width - 2 * Margin), 22, e, TControl::Edit, font);
      } else if (tag == "select") {
        bool list = e->Multiple() || e->Size() > 1;
        int rows = std::clamp(e->Size() > 1 ? e->Size() : std::max(e->Length(), 4), 2, 14);
        if (list)
          make("LISTBOX", "", LBS_NOTIFY | WS_VSCROLL | WS_TABSTOP | (e->Multiple() ? LBS_EXTENDEDSEL : 0), 260,
               rows * 17 + 6, e, TControl::List, font);
        else
          make("COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 260, 200, e, TControl::Combo, font);
      } else if (tag == "textarea") {
        flow.NewLine();
        make("EDIT", "", ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL | ES_WANTRETURN | WS_TABSTOP,
             std::min(NumberAttribute(e, "cols", 60) * 8, flow.Width - 2 * Margin),
             NumberAttribute(e, "rows", 10) * 17 + 6, e, TControl::Memo, font);
        flow.NewLine();
      } else if (tag == "button" || (tag == "a" && e->HasAttribute("href"))) {
        std::string caption = e->RenderedText();
        make("BUTTON", caption, BS_PUSHBUTTON | WS_TABSTOP, textWidth(caption, font).cx + 28, 26, e,
             tag == "a" ? TControl::Link : TControl::Button, font);
      } else if (tag == "applet" || tag == "object") {
        flow.NewLine();
        make(PROGRESS_CLASSA, "", PBS_SMOOTH, NumberAttribute(e, "width", 400), NumberAttribute(e, "height", 22), e,
             TControl::Progress, font);
        flow.NewLine();
      } else if (OneOf(tag, {"p", "div", "h1", "h2", "h3", "h4", "table", "tr", "ul", "ol", "li", "form", "center",
                             "blockquote", "body", "html", "frameset"})) {
        bool title = OneOf(tag, {"h1", "h2", "h3"}) || (cls && *cls == "tqTitle");
        flow.NewLine(tag == "p" || title ? 6 : 0);
        walk(e, title ? static_cast<HFONT>(FFonts[2]) : font);
        flow.NewLine(title ? 6 : 0);
      } else if (tag == "td" || tag == "th") {
        walk(e, font);
        flow.X += 12;
      } else if (tag == "label" && e->Attribute("for")) {
        THtmlElement* outer = labelFor;
        labelFor = FBuiltFor->Find(*e->Attribute("for"));
        walk(e, font);
        labelFor = outer;
      } else {
        walk(e, OneOf(tag, {"b", "strong"}) ? static_cast<HFONT>(FFonts[1]) : font);
      }
    }
  };
  walk(FBuiltFor->Root(), static_cast<HFONT>(FFonts[0]));
  ReleaseDC(view, flow.Dc);
}

// ---- page -> controls, controls -> page ---------------------------------------

void THtmlView::Sync() {
  FSyncing = true;
  for (TControl& c : FControls) {
    THtmlElement* e = c.Element;
    auto w = static_cast<HWND>(c.Window);
    if (!e) continue;
    if (c.Kind != TControl::Text) EnableWindow(w, !e->Disabled());
    switch (c.Kind) {
      case TControl::Edit:
      case TControl::Memo: {
        char buf[4096];
        GetWindowTextA(w, buf, sizeof buf);
        if (e->Value() != buf) SetWindowTextA(w, e->Value().c_str());
        break;
      }
      case TControl::Radio:
      case TControl::Check:
        SendMessageA(w, BM_SETCHECK, e->Checked() ? BST_CHECKED : BST_UNCHECKED, 0);
        break;
      case TControl::List:
      case TControl::Combo: {
        bool list = c.Kind == TControl::List;
        UINT count = list ? LB_GETCOUNT : CB_GETCOUNT;
        bool same = static_cast<int>(SendMessageA(w, count, 0, 0)) == e->Length();
        for (int i = 0; same && i < e->Length(); ++i) {
          char buf[1024] = "";
          if (SendMessageA(w, list ? LB_GETTEXTLEN : CB_GETLBTEXTLEN, i, 0) < static_cast<LRESULT>(sizeof buf))
            SendMessageA(w, list ? LB_GETTEXT : CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(buf));
          same = e->Option(i)->Text() == buf;
        }
        if (!same) {
          SendMessageA(w, list ? LB_RESETCONTENT : CB_RESETCONTENT, 0, 0);
          for (int i = 0; i < e->Length(); ++i) {
            // Leading blanks show a feature's level.
            std::string shown = e->Option(i)->Text();
            const std::string& raw = static_cast<THtmlElement*>(e->Option(i))->Children.empty()
                                         ? shown : static_cast<THtmlElement*>(e->Option(i))->Children.front()->Text;
            size_t indent = raw.find_first_not_of(' ');
            if (indent != std::string::npos && indent > 0) shown = std::string(indent, ' ') + shown;
            SendMessageA(w, list ? LB_ADDSTRING : CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(shown.c_str()));
          }
        }
        if (list && e->Multiple()) {
          for (int i = 0; i < e->Length(); ++i) SendMessageA(w, LB_SETSEL, e->Option(i)->Selected(), i);
        } else {
          std::vector<THtmlElement*> options = e->Options();
          int selected = -1;
          for (size_t i = 0; i < options.size() && selected < 0; ++i)
            if (options[i]->Selected()) selected = static_cast<int>(i);
          SendMessageA(w, list ? LB_SETCURSEL : CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
        }
        break;
      }
      case TControl::Progress: {
        IHtmlProgressApplet* pb = e->Applet();
        auto* p = static_cast<THtmlProgress*>(pb);
        SendMessageA(w, PBM_SETRANGE32, static_cast<WPARAM>(p->Min), p->Max);
        SendMessageA(w, PBM_SETPOS, static_cast<WPARAM>(p->Value), 0);
        break;
      }
      default:
        break;
    }
  }
  const IHtmlElement* focused = FBuiltFor ? FBuiltFor->FocusedElement() : nullptr;
  if (focused && focused != FLastFocused)
    if (void* control = ControlOf(focused)) SetFocus(static_cast<HWND>(control));
  FLastFocused = focused;
  FSyncing = false;
}

void THtmlView::Command(void* control, int code) {
  if (FSyncing) return;
  const TControl* c = Find(control);
  if (!c || !c->Element) return;
  THtmlElement* e = c->Element;
  auto w = static_cast<HWND>(control);
  switch (c->Kind) {
    case TControl::Button:
    case TControl::Link:
    case TControl::Radio:
    case TControl::Check:
      if (code == BN_CLICKED) FBrowser.Click(e);
      break;
    case TControl::Edit:
    case TControl::Memo:
      if (code == EN_CHANGE) {
        int length = GetWindowTextLengthA(w);
        std::string text(static_cast<size_t>(length) + 1, '\0');
        GetWindowTextA(w, text.data(), length + 1);
        text.resize(static_cast<size_t>(length));
        e->SetValue(text);
      }
      return;  // nothing else changes
    case TControl::List:
      if (code == LBN_SELCHANGE) {
        for (int i = 0; i < e->Length(); ++i) e->Option(i)->SetSelected(SendMessageA(w, LB_GETSEL, i, 0) > 0);
      } else if (code == LBN_DBLCLK) {
        FBrowser.DblClick(e);
      }
      break;
    case TControl::Text:
      // A label's text: a click on it is a click on what it labels (radio
      // buttons and check boxes change; a field takes the focus).
      if (code == STN_CLICKED) {
        if (Lower(e->Tag) == "input" && e->Attribute("type") &&
            OneOf(Lower(*e->Attribute("type")), {"radio", "checkbox"}))
          FBrowser.Click(e);
        else
          e->Focus();
      }
      break;
    case TControl::Combo:
      if (code == CBN_SELCHANGE) e->SetSelectedIndex(static_cast<int>(SendMessageA(w, CB_GETCURSEL, 0, 0)));
      break;
    default:
      break;
  }
  Refresh();
}

}  // namespace tq::html
