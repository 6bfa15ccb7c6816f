#pragma once
// Our page engine's document: the element tree of one page, built by a
// tolerant parser (as browsers are: unclosed and stray tags, bare "<" and "&",
// unquoted attributes, implied ends of p, li, option, tr and td), bounded in
// input size, nesting depth and node count so that no page can exhaust it:
//   - input beyond MaxPageBytes is not read;
//   - elements opened deeper than MaxDepth become siblings at that depth;
//   - after MaxNodes nodes the rest of the page is dropped.
// Element state (values, checks, selections) starts from the attributes and
// then lives in the element, as in a browser.
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "HtmlInterfaces.h"

namespace tq::html {

class THtmlDocument;

struct THtmlNode {
  virtual ~THtmlNode() = default;
  THtmlNode* Parent = nullptr;
  std::vector<std::unique_ptr<THtmlNode>> Children;
  std::string Text;  // text nodes only
  virtual bool IsElement() const { return false; }
};

class THtmlProgress : public IHtmlProgressApplet {
 public:
  void SetMin(int n) override { Min = n; }
  int GetMax() override { return Max; }
  void SetMax(int n) override { Max = n; }
  int GetValue() override { return Value; }
  void SetValue(int n) override { Value = n; }
  int Min = 0, Max = 100, Value = 0;
};

class THtmlElement : public THtmlNode, public IHtmlElement {
 public:
  THtmlElement(THtmlDocument* document, std::string tag);
  ~THtmlElement() override;
  bool IsElement() const override { return true; }

  std::string Tag;  // lower case
  std::vector<std::pair<std::string, std::string>> Attributes;  // names in lower case
  const std::string* Attribute(const std::string& name) const;
  bool HasAttribute(const std::string& name) const { return Attribute(name) != nullptr; }
  void SetAttribute(const std::string& name, const std::string& value);
  void RemoveAttribute(const std::string& name);
  THtmlDocument* Document() const { return FDocument; }
  // Child elements, in order.
  std::vector<THtmlElement*> ChildElements() const;
  // Text of the element's descendants as a browser shows it (blanks collapsed).
  std::string RenderedText() const;
  // Runs the sinks connected for kind; false when one of them returned false.
  bool Dispatch(THtmlEventKind kind);
  // The state a parse gives (value, checked, selected) from the attributes.
  void InitialiseState();

  std::string Id() const override;
  std::string TagName() const override { return Tag; }
  std::string Value() const override;
  void SetValue(const std::string& value) override;
  bool Checked() const override { return FChecked; }
  void SetChecked(bool checked) override;
  bool Disabled() const override { return HasAttribute("disabled"); }
  void SetDisabled(bool disabled) override;
  void Focus() override;
  bool Multiple() const override { return HasAttribute("multiple"); }
  void SetMultiple(bool multiple) override;
  int Size() const override;
  void SetSize(int rows) override { SetAttribute("size", std::to_string(rows)); }
  int Length() const override { return static_cast<int>(Options().size()); }
  IHtmlElement* Option(int index) const override;
  void Add(IHtmlElement* option, int index) override;
  void Remove(int index) override;
  int SelectedIndex() const override;
  void SetSelectedIndex(int index) override;
  bool Selected() const override;
  void SetSelected(bool selected) override;
  std::string Text() const override { return RenderedText(); }
  void SetText(const std::string& text) override { SetInnerText(text); }
  std::string InnerText() const override { return RenderedText(); }
  void SetInnerText(const std::string& text) override;
  IHtmlProgressApplet* Applet() override;

  std::vector<THtmlElement*> Options() const;
  THtmlElement* SelectOwner() const;  // an option's select

 private:
  friend class THtmlEventSink;
  THtmlDocument* FDocument;
  std::vector<THtmlEventSink*> FSinks;
  std::string FValue;
  bool FChecked = false;
  bool FSelected = false;
  std::unique_ptr<THtmlProgress> FApplet;
};

class THtmlDocument : public IHtmlDocument {
 public:
  static constexpr size_t MaxPageBytes = 4u << 20;
  static constexpr int MaxDepth = 256;
  static constexpr size_t MaxNodes = 200000;

  explicit THtmlDocument(std::string url = {});
  ~THtmlDocument() override;
  // Builds the tree of page (replacing any earlier one).
  void Parse(std::string_view page);

  IHtmlElement* Item(const std::string& id) override { return Find(id); }
  IHtmlElement* CreateElement(const std::string& tag) override;
  IHtmlDocument* Frame(const std::string& name) override;
  int KeyCode() const override { return FKeyCode; }
  std::string Url() const override { return FUrl; }
  IHtmlElement* FocusedElement() const override { return FFocused; }

  THtmlElement* Find(const std::string& id) const;
  THtmlElement* Root() const { return FRoot.get(); }
  // Every element in document order.
  std::vector<THtmlElement*> Elements() const;
  // The frames of a frameset page, by name, with their documents.
  struct TFrame {
    std::string Name;
    std::string Source;
    std::unique_ptr<THtmlDocument> Document;
  };
  std::vector<TFrame>& Frames() { return FFrames; }
  size_t NodeCount() const { return FNodeCount; }
  void SetKeyCode(int code) { FKeyCode = code; }
  void SetFocused(THtmlElement* element) { FFocused = element; }
  // Told when an element goes (focus, and whoever watches the document).
  void ElementGone(THtmlElement* element);

 private:
  friend class THtmlParser;
  friend class THtmlElement;
  std::string FUrl;
  std::unique_ptr<THtmlElement> FRoot;
  std::vector<std::unique_ptr<THtmlElement>> FDetached;  // made, not yet added
  std::vector<TFrame> FFrames;
  size_t FNodeCount = 0;
  int FKeyCode = 0;
  THtmlElement* FFocused = nullptr;
  bool FDestroying = false;
};

// Text with the character references of a page decoded (&lt; &#65; &#x41; ...);
// unknown or unended ones stay as they are.
std::string DecodeEntities(std::string_view text);

}  // namespace tq::html
