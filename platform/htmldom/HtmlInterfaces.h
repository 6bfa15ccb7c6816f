#pragma once
// What a setup front-end may ask of a web browser control and its document
// model, and nothing more: pages are reached as documents, elements by id, and
// a handful of element properties and methods. Our own page engine
// (HtmlDocument.h, HtmlBrowser.h) implements these; a real browser control
// could stand behind them instead without its users changing.
//
//   IHtmlDocument* frame = browser.Document()->Frame("mainFrame");
//   IHtmlElement* e = frame->Item("Location");       // look up afresh each time
//   e->SetValue("C:\\Program Files\\Product");
//   sink.Connect(frame->Item("rwiLocation"));         // one element at a time
//   browser.NavigateFrame("mainFrame", url);         // posted, never nested
//
// Element pointers are valid until the next load of their document.
#include <functional>
#include <string>

namespace tq::html {

class IHtmlElement;

// The progress-bar applet's member "pb" (32-bit integers).
class IHtmlProgressApplet {
 public:
  virtual ~IHtmlProgressApplet() = default;
  virtual void SetMin(int n) = 0;
  virtual int GetMax() = 0;
  virtual void SetMax(int n) = 0;
  virtual int GetValue() = 0;
  virtual void SetValue(int n) = 0;
};

class IHtmlElement {
 public:
  virtual ~IHtmlElement() = default;
  virtual std::string Id() const = 0;
  virtual std::string TagName() const = 0;  // lower case
  // Inputs, text areas, selects (the selected option's value) and options.
  virtual std::string Value() const = 0;
  virtual void SetValue(const std::string& value) = 0;
  // Radio buttons and check boxes.
  virtual bool Checked() const = 0;
  virtual void SetChecked(bool checked) = 0;
  virtual bool Disabled() const = 0;
  virtual void SetDisabled(bool disabled) = 0;
  virtual void Focus() = 0;
  // Selects: several selections allowed, rows shown, the options.
  virtual bool Multiple() const = 0;
  virtual void SetMultiple(bool multiple) = 0;
  virtual int Size() const = 0;
  virtual void SetSize(int rows) = 0;
  virtual int Length() const = 0;                    // options.length
  virtual IHtmlElement* Option(int index) const = 0;  // options(index); null out of range
  // options.add: an element from CreateElement("option"), before index (-1 or
  // Length(): at the end). The select takes it over.
  virtual void Add(IHtmlElement* option, int index) = 0;
  virtual void Remove(int index) = 0;  // options.remove
  virtual int SelectedIndex() const = 0;  // -1: none
  virtual void SetSelectedIndex(int index) = 0;
  // Options.
  virtual bool Selected() const = 0;
  virtual void SetSelected(bool selected) = 0;
  virtual std::string Text() const = 0;
  virtual void SetText(const std::string& text) = 0;
  virtual std::string InnerText() const = 0;
  virtual void SetInnerText(const std::string& text) = 0;
  // The applet element's member "pb"; null for other elements.
  virtual IHtmlProgressApplet* Applet() = 0;
};

class IHtmlDocument {
 public:
  virtual ~IHtmlDocument() = default;
  // all.item(id): the first element whose id (else whose name) is id; null when none.
  virtual IHtmlElement* Item(const std::string& id) = 0;
  // A new element of the document, not yet in it (options for selects).
  virtual IHtmlElement* CreateElement(const std::string& tag) = 0;
  // frames.item(name).document; null when the document has no such frame.
  virtual IHtmlDocument* Frame(const std::string& name) = 0;
  // The frame window's event.keyCode while a key press is dispatched, else 0.
  virtual int KeyCode() const = 0;
  virtual std::string Url() const = 0;
  // The element that has the input focus; null when none.
  virtual IHtmlElement* FocusedElement() const = 0;
};

enum class THtmlEventKind { Click, KeyPress, DblClick };

// One handler for one kind of event, connected to one element at a time. The
// handler's result is the event's return value: false cancels the element's
// default action (a link's navigation).
class THtmlEventSink {
 public:
  THtmlEventSink(THtmlEventKind kind, std::function<bool(IHtmlElement* source)> handler)
      : Kind(kind), Handler(std::move(handler)) {}
  THtmlEventSink(const THtmlEventSink&) = delete;
  THtmlEventSink& operator=(const THtmlEventSink&) = delete;
  ~THtmlEventSink() { Connect(nullptr); }
  // Connects to element (null: to none), leaving the element it was connected to.
  void Connect(IHtmlElement* element);
  IHtmlElement* Source() const { return FSource; }
  const THtmlEventKind Kind;
  std::function<bool(IHtmlElement* source)> Handler;

 private:
  friend class THtmlElement;
  IHtmlElement* FSource = nullptr;
};

class IWebBrowser {
 public:
  virtual ~IWebBrowser() = default;
  // Loads url into the window (later, from the message loop).
  virtual void Navigate(const std::string& url) = 0;
  // Loads url into the named frame of the top document (later, too).
  virtual void NavigateFrame(const std::string& frameName, const std::string& url) = 0;
  // The top document; null before the first load.
  virtual IHtmlDocument* Document() = 0;
  // Once per finished load, of the window or of one of its frames.
  std::function<void(const std::string& url)> OnDocumentComplete;
};

}  // namespace tq::html
