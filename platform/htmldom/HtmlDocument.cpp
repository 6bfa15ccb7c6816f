#include "HtmlDocument.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace tq::html {

namespace {

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }

bool OneOf(const std::string& tag, std::initializer_list<const char*> tags) {
  for (const char* t : tags)
    if (tag == t) return true;
  return false;
}

bool IsVoid(const std::string& tag) {
  return OneOf(tag, {"area", "base", "br", "col", "embed", "hr", "img", "input", "link", "meta", "param",
                     "source", "track", "wbr", "frame", "basefont", "isindex"});
}

bool IsRawText(const std::string& tag) { return OneOf(tag, {"script", "style", "textarea", "title", "xmp"}); }

// Start tags that end an open paragraph.
bool ClosesParagraph(const std::string& tag) {
  return OneOf(tag, {"address", "blockquote", "div", "dl", "fieldset", "form", "h1", "h2", "h3", "h4", "h5", "h6",
                     "hr", "ol", "p", "pre", "table", "ul", "center", "frameset"});
}

void AppendText(THtmlNode* parent, std::string text) {
  if (text.empty()) return;
  if (!parent->Children.empty() && !parent->Children.back()->IsElement()) {
    parent->Children.back()->Text += text;
    return;
  }
  auto node = std::make_unique<THtmlNode>();
  node->Parent = parent;
  node->Text = std::move(text);
  parent->Children.push_back(std::move(node));
}

}  // namespace

std::string DecodeEntities(std::string_view text) {
  static const std::pair<const char*, unsigned> names[] = {
      {"lt", '<'}, {"gt", '>'}, {"amp", '&'}, {"quot", '"'}, {"apos", '\''}, {"nbsp", 0xA0}, {"copy", 0xA9},
      {"reg", 0xAE}};
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '&') {
      out += text[i];
      continue;
    }
    size_t end = text.find(';', i);
    if (end == std::string_view::npos || end - i > 10) {
      out += '&';
      continue;
    }
    std::string_view ref = text.substr(i + 1, end - i - 1);
    long code = -1;
    if (ref.size() > 1 && ref[0] == '#') {
      bool hex = ref[1] == 'x' || ref[1] == 'X';
      std::string digits(ref.substr(hex ? 2 : 1));
      if (!digits.empty() && digits.size() <= 7 &&
          std::all_of(digits.begin(), digits.end(), [hex](char c) { return hex ? std::isxdigit(static_cast<unsigned char>(c)) : std::isdigit(static_cast<unsigned char>(c)); }))
        code = std::strtol(digits.c_str(), nullptr, hex ? 16 : 10);
    } else {
      for (const auto& [name, value] : names)
        if (ref == name) code = static_cast<long>(value);
    }
    if (code < 0) {
      out += '&';
      continue;
    }
    out += code > 0 && code < 256 ? static_cast<char>(code) : '?';
    i = end;
  }
  return out;
}

// ---- THtmlEventSink -------------------------------------------------------------

void THtmlEventSink::Connect(IHtmlElement* element) {
  if (auto* old = dynamic_cast<THtmlElement*>(FSource)) {
    auto& sinks = old->FSinks;
    sinks.erase(std::remove(sinks.begin(), sinks.end(), this), sinks.end());
  }
  FSource = nullptr;
  if (auto* e = dynamic_cast<THtmlElement*>(element)) {
    e->FSinks.push_back(this);
    FSource = e;
  }
}

// ---- THtmlElement ------------------------------------------------------------------

THtmlElement::THtmlElement(THtmlDocument* document, std::string tag) : Tag(std::move(tag)), FDocument(document) {}

THtmlElement::~THtmlElement() {
  for (THtmlEventSink* sink : FSinks) sink->FSource = nullptr;
  if (FDocument) FDocument->ElementGone(this);
}

const std::string* THtmlElement::Attribute(const std::string& name) const {
  for (const auto& [n, v] : Attributes)
    if (n == name) return &v;
  return nullptr;
}

void THtmlElement::SetAttribute(const std::string& name, const std::string& value) {
  for (auto& [n, v] : Attributes)
    if (n == name) {
      v = value;
      return;
    }
  Attributes.emplace_back(name, value);
}

void THtmlElement::RemoveAttribute(const std::string& name) {
  Attributes.erase(std::remove_if(Attributes.begin(), Attributes.end(), [&](const auto& a) { return a.first == name; }),
                   Attributes.end());
}

std::vector<THtmlElement*> THtmlElement::ChildElements() const {
  std::vector<THtmlElement*> out;
  for (const auto& c : Children)
    if (c->IsElement()) out.push_back(static_cast<THtmlElement*>(c.get()));
  return out;
}

namespace {
constexpr char LineBreak = '\x01';  // a <br>, kept apart from the page's own line ends
void CollectText(const THtmlNode* node, std::string& out) {
  for (const auto& c : node->Children) {
    if (!c->IsElement()) {
      out += c->Text;
      continue;
    }
    auto* e = static_cast<const THtmlElement*>(c.get());
    if (e->Tag == "br") out += LineBreak;
    else if (e->Tag != "script" && e->Tag != "style") CollectText(e, out);
  }
}
}  // namespace

std::string THtmlElement::RenderedText() const {
  std::string raw;
  CollectText(this, raw);
  if (Tag == "textarea" || Tag == "pre") {
    std::replace(raw.begin(), raw.end(), LineBreak, '\n');
    return raw;
  }
  // Runs of blanks and line ends become one blank; none at the ends or beside a <br>.
  std::string out;
  bool blank = false;
  for (char c : raw) {
    if (IsSpace(c)) {
      blank = true;
      continue;
    }
    if (c == LineBreak) {
      out += '\n';
    } else {
      if (blank && !out.empty() && out.back() != '\n') out += ' ';
      out += c;
    }
    blank = false;
  }
  return out;
}

void THtmlElement::InitialiseState() {
  if (Tag == "input") {
    const std::string* v = Attribute("value");
    FValue = v ? *v : std::string();
    FChecked = HasAttribute("checked");
  } else if (Tag == "textarea") {
    std::string raw;
    CollectText(this, raw);
    if (!raw.empty() && raw[0] == '\n') raw.erase(0, 1);
    FValue = raw;
  } else if (Tag == "option") {
    FSelected = HasAttribute("selected");
  }
}

std::string THtmlElement::Id() const {
  const std::string* id = Attribute("id");
  return id ? *id : std::string();
}

std::string THtmlElement::Value() const {
  if (Tag == "select") {
    int i = SelectedIndex();
    return i < 0 ? std::string() : Options()[static_cast<size_t>(i)]->Value();
  }
  if (Tag == "option") {
    const std::string* v = Attribute("value");
    return v ? *v : RenderedText();
  }
  if (Tag == "input" || Tag == "textarea") return FValue;
  const std::string* v = Attribute("value");
  return v ? *v : std::string();
}

void THtmlElement::SetValue(const std::string& value) {
  if (Tag == "select") {
    std::vector<THtmlElement*> options = Options();
    for (size_t i = 0; i < options.size(); ++i)
      if (options[i]->Value() == value) {
        SetSelectedIndex(static_cast<int>(i));
        return;
      }
    return;
  }
  if (Tag == "input" || Tag == "textarea") FValue = value;
  else SetAttribute("value", value);
}

void THtmlElement::SetChecked(bool checked) {
  FChecked = checked;
  const std::string* type = Attribute("type");
  const std::string* name = Attribute("name");
  if (!checked || !type || Lower(*type) != "radio" || !name || !FDocument) return;
  for (THtmlElement* e : FDocument->Elements()) {
    if (e == this || e->Tag != "input") continue;
    const std::string* t = e->Attribute("type");
    const std::string* n = e->Attribute("name");
    if (t && Lower(*t) == "radio" && n && *n == *name) e->FChecked = false;
  }
}

void THtmlElement::SetDisabled(bool disabled) {
  if (disabled) SetAttribute("disabled", "");
  else RemoveAttribute("disabled");
}

void THtmlElement::Focus() {
  if (FDocument) FDocument->SetFocused(this);
}

void THtmlElement::SetMultiple(bool multiple) {
  if (multiple) SetAttribute("multiple", "");
  else RemoveAttribute("multiple");
}

int THtmlElement::Size() const {
  const std::string* s = Attribute("size");
  if (!s) return 0;
  char* end = nullptr;
  long v = std::strtol(s->c_str(), &end, 10);
  return v > 0 && v < 100000 ? static_cast<int>(v) : 0;
}

std::vector<THtmlElement*> THtmlElement::Options() const {
  std::vector<THtmlElement*> out;
  for (THtmlElement* c : ChildElements()) {
    if (c->Tag == "option") out.push_back(c);
    else if (c->Tag == "optgroup")
      for (THtmlElement* o : c->ChildElements())
        if (o->Tag == "option") out.push_back(o);
  }
  return out;
}

IHtmlElement* THtmlElement::Option(int index) const {
  std::vector<THtmlElement*> options = Options();
  return index >= 0 && static_cast<size_t>(index) < options.size() ? options[static_cast<size_t>(index)] : nullptr;
}

void THtmlElement::Add(IHtmlElement* option, int index) {
  auto* o = dynamic_cast<THtmlElement*>(option);
  if (!o || Tag != "select" || o->Tag != "option" || !FDocument) return;
  std::unique_ptr<THtmlNode> owned;
  auto& detached = FDocument->FDetached;
  for (auto it = detached.begin(); it != detached.end(); ++it)
    if (it->get() == o) {
      owned.reset(it->release());
      detached.erase(it);
      break;
    }
  if (!owned) return;  // not a new element of this document
  owned->Parent = this;
  std::vector<THtmlElement*> options = Options();
  auto at = Children.end();
  if (index >= 0 && static_cast<size_t>(index) < options.size())
    at = std::find_if(Children.begin(), Children.end(), [&](const auto& c) { return c.get() == options[static_cast<size_t>(index)]; });
  Children.insert(at, std::move(owned));
  ++FDocument->FNodeCount;
}

void THtmlElement::Remove(int index) {
  IHtmlElement* option = Option(index);
  if (!option) return;
  auto* o = static_cast<THtmlElement*>(option);
  auto& siblings = o->Parent->Children;
  siblings.erase(std::find_if(siblings.begin(), siblings.end(), [&](const auto& c) { return c.get() == o; }));
}

int THtmlElement::SelectedIndex() const {
  std::vector<THtmlElement*> options = Options();
  for (size_t i = 0; i < options.size(); ++i)
    if (options[i]->FSelected) return static_cast<int>(i);
  // A drop-down list always shows one.
  return !options.empty() && !Multiple() && Size() <= 1 ? 0 : -1;
}

void THtmlElement::SetSelectedIndex(int index) {
  std::vector<THtmlElement*> options = Options();
  for (size_t i = 0; i < options.size(); ++i) options[i]->FSelected = static_cast<int>(i) == index;
}

THtmlElement* THtmlElement::SelectOwner() const {
  for (THtmlNode* p = Parent; p; p = p->Parent)
    if (p->IsElement() && static_cast<THtmlElement*>(p)->Tag == "select") return static_cast<THtmlElement*>(p);
  return nullptr;
}

bool THtmlElement::Selected() const {
  if (THtmlElement* select = SelectOwner()) {
    std::vector<THtmlElement*> options = select->Options();
    int i = select->SelectedIndex();
    return FSelected || (i >= 0 && options[static_cast<size_t>(i)] == this);
  }
  return FSelected;
}

void THtmlElement::SetSelected(bool selected) {
  THtmlElement* select = SelectOwner();
  if (selected && select && !select->Multiple())
    for (THtmlElement* o : select->Options()) o->FSelected = false;
  FSelected = selected;
}

void THtmlElement::SetInnerText(const std::string& text) {
  Children.clear();
  AppendText(this, text);
  if (Tag == "textarea") FValue = text;
}

IHtmlProgressApplet* THtmlElement::Applet() {
  if (Tag != "applet" && Tag != "object") return nullptr;
  if (!FApplet) FApplet = std::make_unique<THtmlProgress>();
  return FApplet.get();
}

bool THtmlElement::Dispatch(THtmlEventKind kind) {
  bool result = true;
  std::vector<THtmlEventSink*> sinks = FSinks;  // a handler may connect sinks elsewhere
  for (THtmlEventSink* sink : sinks) {
    if (sink->Kind != kind || !sink->Handler) continue;
    if (std::find(FSinks.begin(), FSinks.end(), sink) == FSinks.end()) continue;
    if (!sink->Handler(this)) result = false;
  }
  return result;
}

// ---- the parser ---------------------------------------------------------------------

class THtmlParser {
 public:
  THtmlParser(THtmlDocument& document, std::string_view page)
      : FDoc(document), FPage(page.substr(0, std::min(page.size(), THtmlDocument::MaxPageBytes))) {}

  void Run() {
    FDoc.FRoot = std::make_unique<THtmlElement>(&FDoc, "#document");
    FOpen.push_back(FDoc.FRoot.get());
    size_t text = 0;
    while (FAt < FPage.size() && !Full()) {
      if (FPage[FAt] != '<') {
        ++FAt;
        continue;
      }
      size_t tagStart = FAt;
      if (!MarkupStartsHere()) {
        ++FAt;
        continue;
      }
      Text(FPage.substr(text, tagStart - text));
      Markup();
      text = FAt;
    }
    if (!Full() && text < FPage.size()) Text(FPage.substr(text));
    for (THtmlElement* e : FDoc.Elements()) e->InitialiseState();
  }

 private:
  bool Full() const { return FDoc.FNodeCount >= THtmlDocument::MaxNodes; }
  THtmlElement* Current() const { return FOpen.back(); }

  bool MarkupStartsHere() const {
    if (FAt + 1 >= FPage.size()) return false;
    char c = FPage[FAt + 1];
    return std::isalpha(static_cast<unsigned char>(c)) || c == '/' || c == '!' || c == '?';
  }

  void Text(std::string_view raw) {
    if (raw.empty() || Full()) return;
    ++FDoc.FNodeCount;
    AppendText(Current(), DecodeEntities(raw));
  }

  void Markup() {
    if (FPage.compare(FAt, 4, "<!--") == 0) {
      size_t end = FPage.find("-->", FAt + 4);
      FAt = end == std::string_view::npos ? FPage.size() : end + 3;
      return;
    }
    if (FPage[FAt + 1] == '!' || FPage[FAt + 1] == '?') {
      size_t end = FPage.find('>', FAt);
      FAt = end == std::string_view::npos ? FPage.size() : end + 1;
      return;
    }
    bool closing = FPage[FAt + 1] == '/';
    FAt += closing ? 2 : 1;
    std::string name = Lower(Name());
    std::vector<std::pair<std::string, std::string>> attributes = Attributes();
    if (FAt < FPage.size() && FPage[FAt] == '>') ++FAt;
    if (name.empty()) return;
    if (closing) End(name);
    else Start(name, std::move(attributes));
  }

  std::string_view Name() {
    size_t start = FAt;
    while (FAt < FPage.size() && !IsSpace(FPage[FAt]) && FPage[FAt] != '>' && FPage[FAt] != '/') ++FAt;
    return FPage.substr(start, FAt - start);
  }

  std::vector<std::pair<std::string, std::string>> Attributes() {
    std::vector<std::pair<std::string, std::string>> out;
    for (;;) {
      while (FAt < FPage.size() && (IsSpace(FPage[FAt]) || FPage[FAt] == '/')) ++FAt;
      if (FAt >= FPage.size() || FPage[FAt] == '>') return out;
      size_t start = FAt;
      while (FAt < FPage.size() && !IsSpace(FPage[FAt]) && FPage[FAt] != '>' && FPage[FAt] != '=' &&
             !(FPage[FAt] == '/' && FAt + 1 < FPage.size() && FPage[FAt + 1] == '>'))
        ++FAt;
      std::string name = Lower(FPage.substr(start, FAt - start));
      if (FAt == start) ++FAt;  // a stray "=": step over it
      while (FAt < FPage.size() && IsSpace(FPage[FAt])) ++FAt;
      std::string value;
      if (FAt < FPage.size() && FPage[FAt] == '=') {
        ++FAt;
        while (FAt < FPage.size() && IsSpace(FPage[FAt])) ++FAt;
        if (FAt < FPage.size() && (FPage[FAt] == '"' || FPage[FAt] == '\'')) {
          char quote = FPage[FAt++];
          size_t end = FPage.find(quote, FAt);
          if (end == std::string_view::npos) end = FPage.size();
          value = DecodeEntities(FPage.substr(FAt, end - FAt));
          FAt = std::min(end + 1, FPage.size());
        } else {
          size_t vs = FAt;
          while (FAt < FPage.size() && !IsSpace(FPage[FAt]) && FPage[FAt] != '>') ++FAt;
          value = DecodeEntities(FPage.substr(vs, FAt - vs));
        }
      }
      if (!name.empty() && out.size() < 64 &&
          std::none_of(out.begin(), out.end(), [&](const auto& a) { return a.first == name; }))
        out.emplace_back(std::move(name), std::move(value));
    }
  }

  bool Open(const std::string& tag) const {
    return std::any_of(FOpen.begin() + 1, FOpen.end(), [&](THtmlElement* e) { return e->Tag == tag; });
  }

  void CloseTo(const std::string& tag) {  // pops up to and including the innermost tag
    for (size_t i = FOpen.size(); i-- > 1;)
      if (FOpen[i]->Tag == tag) {
        FOpen.resize(i);
        return;
      }
  }

  void ImpliedEnds(const std::string& tag) {
    if (ClosesParagraph(tag) && Current()->Tag == "p") FOpen.pop_back();
    if (tag == "option" && Current()->Tag == "option") FOpen.pop_back();
    if (tag == "li" && Open("li")) CloseTo("li");
    if ((tag == "td" || tag == "th" || tag == "tr") && (Current()->Tag == "td" || Current()->Tag == "th")) FOpen.pop_back();
    if (tag == "tr" && Current()->Tag == "tr") FOpen.pop_back();
  }

  void Start(const std::string& tag, std::vector<std::pair<std::string, std::string>> attributes) {
    ImpliedEnds(tag);
    auto element = std::make_unique<THtmlElement>(&FDoc, tag);
    element->Attributes = std::move(attributes);
    THtmlElement* e = element.get();
    THtmlElement* parent = Current();
    element->Parent = parent;
    parent->Children.push_back(std::move(element));
    ++FDoc.FNodeCount;
    if (tag == "frame") {
      const std::string* name = e->Attribute("name");
      const std::string* src = e->Attribute("src");
      FDoc.FFrames.push_back({name ? *name : std::string(), src ? *src : std::string(), nullptr});
    }
    if (IsVoid(tag)) return;
    if (IsRawText(tag)) {
      std::string end = "</" + tag;
      size_t at = FAt;
      size_t found = std::string_view::npos;
      for (size_t p = FPage.find("</", at); p != std::string_view::npos; p = FPage.find("</", p + 2))
        if (Lower(FPage.substr(p, end.size())) == end) {
          found = p;
          break;
        }
      std::string_view body = FPage.substr(at, (found == std::string_view::npos ? FPage.size() : found) - at);
      if (!body.empty()) {
        ++FDoc.FNodeCount;
        AppendText(e, tag == "textarea" || tag == "title" ? DecodeEntities(body) : std::string(body));
      }
      if (found == std::string_view::npos) {
        FAt = FPage.size();
      } else {
        size_t close = FPage.find('>', found);
        FAt = close == std::string_view::npos ? FPage.size() : close + 1;
      }
      return;
    }
    if (static_cast<int>(FOpen.size()) <= THtmlDocument::MaxDepth) FOpen.push_back(e);
  }

  void End(const std::string& tag) {
    if (tag == "p" && !Open("p")) return;
    CloseTo(tag);
  }

  THtmlDocument& FDoc;
  std::string_view FPage;
  size_t FAt = 0;
  std::vector<THtmlElement*> FOpen;
};

// ---- THtmlDocument -----------------------------------------------------------------

THtmlDocument::THtmlDocument(std::string url) : FUrl(std::move(url)) {}

THtmlDocument::~THtmlDocument() {
  FDestroying = true;
  FFocused = nullptr;
  // Deep trees are taken apart without deep recursion.
  std::vector<std::unique_ptr<THtmlNode>> pending;
  if (FRoot) pending.push_back(std::move(FRoot));
  while (!pending.empty()) {
    std::unique_ptr<THtmlNode> node = std::move(pending.back());
    pending.pop_back();
    for (auto& c : node->Children) pending.push_back(std::move(c));
    node->Children.clear();
  }
}

void THtmlDocument::Parse(std::string_view page) {
  FFrames.clear();
  FDetached.clear();
  FFocused = nullptr;
  FNodeCount = 0;
  THtmlParser(*this, page).Run();
}

IHtmlElement* THtmlDocument::CreateElement(const std::string& tag) {
  FDetached.push_back(std::make_unique<THtmlElement>(this, Lower(tag)));
  return FDetached.back().get();
}

IHtmlDocument* THtmlDocument::Frame(const std::string& name) {
  for (TFrame& f : FFrames)
    if (f.Name == name) {
      if (!f.Document) f.Document = std::make_unique<THtmlDocument>();
      return f.Document.get();
    }
  return nullptr;
}

std::vector<THtmlElement*> THtmlDocument::Elements() const {
  std::vector<THtmlElement*> out;
  if (!FRoot) return out;
  std::vector<THtmlElement*> stack{FRoot.get()};
  while (!stack.empty()) {
    THtmlElement* e = stack.back();
    stack.pop_back();
    if (e != FRoot.get()) out.push_back(e);
    std::vector<THtmlElement*> children = e->ChildElements();
    for (auto it = children.rbegin(); it != children.rend(); ++it) stack.push_back(*it);
  }
  return out;
}

THtmlElement* THtmlDocument::Find(const std::string& id) const {
  if (id.empty()) return nullptr;
  std::vector<THtmlElement*> elements = Elements();
  for (THtmlElement* e : elements)
    if (const std::string* v = e->Attribute("id"); v && *v == id) return e;
  for (THtmlElement* e : elements)
    if (const std::string* v = e->Attribute("name"); v && *v == id) return e;
  return nullptr;
}

void THtmlDocument::ElementGone(THtmlElement* element) {
  if (FFocused == element) FFocused = nullptr;
}

}  // namespace tq::html
