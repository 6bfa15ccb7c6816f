#include "HtmlBrowser.h"

#include <fstream>
#include <sstream>

namespace tq::html {

namespace {

bool StartsWithNoCase(const std::string& s, const char* prefix) {
  size_t n = std::char_traits<char>::length(prefix);
  if (s.size() < n) return false;
  for (size_t i = 0; i < n; ++i)
    if (std::tolower(static_cast<unsigned char>(s[i])) != prefix[i]) return false;
  return true;
}

bool HasScheme(const std::string& href) {
  size_t colon = href.find(':');
  if (colon == std::string::npos || colon < 2) return false;  // "C:" is a drive, not a scheme
  for (size_t i = 0; i < colon; ++i)
    if (!std::isalpha(static_cast<unsigned char>(href[i]))) return false;
  return true;
}

}  // namespace

THtmlBrowser::THtmlBrowser(TPost post, TLoad load) : FPost(std::move(post)), FLoad(std::move(load)) {}

THtmlBrowser::~THtmlBrowser() { *FAlive = false; }

void THtmlBrowser::Later(std::function<void()> work) {
  std::weak_ptr<bool> alive = FAlive;
  FPost([alive, work = std::move(work)] {
    if (auto a = alive.lock(); a && *a) work();
  });
}

void THtmlBrowser::Navigate(const std::string& url) {
  Later([this, url] { LoadTop(url); });
}

void THtmlBrowser::NavigateFrame(const std::string& frameName, const std::string& url) {
  Later([this, frameName, url] { LoadFrame(frameName, url); });
}

std::string THtmlBrowser::UrlToPath(const std::string& url) {
  std::string path = url;
  if (StartsWithNoCase(path, "file:")) {
    path.erase(0, 5);
    while (!path.empty() && (path[0] == '/' || path[0] == '\\')) path.erase(0, 1);
  }
  std::string out;
  for (size_t i = 0; i < path.size(); ++i) {
    if (path[i] == '%' && i + 2 < path.size() && std::isxdigit(static_cast<unsigned char>(path[i + 1])) &&
        std::isxdigit(static_cast<unsigned char>(path[i + 2]))) {
      out += static_cast<char>(std::stoi(path.substr(i + 1, 2), nullptr, 16));
      i += 2;
    } else {
      out += path[i];
    }
  }
#ifdef _WIN32
  for (char& c : out)
    if (c == '/') c = '\\';
#else
  if (!out.empty() && out[0] != '/') out.insert(0, "/");
#endif
  return out;
}

std::string THtmlBrowser::ResolveUrl(const std::string& base, const std::string& href) {
  if (href.empty()) return base;
  if (HasScheme(href)) return href;
  if (href.size() > 1 && href[1] == ':') return "file://" + href;  // a path with its drive
  size_t slash = base.find_last_of("/\\");
  return (slash == std::string::npos ? std::string() : base.substr(0, slash + 1)) + href;
}

bool THtmlBrowser::ReadFileUrl(const std::string& url, std::string& page) {
  std::ifstream in(UrlToPath(url), std::ios::binary);
  if (!in) return false;
  std::ostringstream text;
  text << in.rdbuf();
  page = text.str();
  return true;
}

std::unique_ptr<THtmlDocument> THtmlBrowser::LoadDocument(const std::string& url, int frameDepth) {
  auto document = std::make_unique<THtmlDocument>(url);
  std::string page;
  if (!StartsWithNoCase(url, "about:") && FLoad(url, page)) document->Parse(page);
  else document->Parse("");
  // Frames show their own pages (a frameset inside a frame too, a few levels deep).
  for (THtmlDocument::TFrame& frame : document->Frames()) {
    std::string source = frame.Source.empty() ? std::string("about:blank") : ResolveUrl(url, frame.Source);
    frame.Document = frameDepth < 3 ? LoadDocument(source, frameDepth + 1) : std::make_unique<THtmlDocument>(source);
  }
  return document;
}

void THtmlBrowser::LoadTop(const std::string& url) {
  FTop = LoadDocument(url, 0);
  if (OnDocumentReplaced) OnDocumentReplaced();
  if (OnDocumentComplete) OnDocumentComplete(url);
}

void THtmlBrowser::LoadFrame(const std::string& frameName, const std::string& url) {
  if (!FTop) return;
  for (THtmlDocument::TFrame& frame : FTop->Frames())
    if (frame.Name == frameName) {
      frame.Source = url;
      frame.Document = LoadDocument(url, 1);
      if (OnDocumentReplaced) OnDocumentReplaced();
      if (OnDocumentComplete) OnDocumentComplete(url);
      return;
    }
}

THtmlDocument* THtmlBrowser::FrameDocument(const std::string& frameName) const {
  if (!FTop) return nullptr;
  for (THtmlDocument::TFrame& frame : FTop->Frames())
    if (frame.Name == frameName) return frame.Document.get();
  return nullptr;
}

std::string THtmlBrowser::FrameOf(const IHtmlDocument* document) const {
  if (FTop)
    for (THtmlDocument::TFrame& frame : FTop->Frames())
      if (frame.Document.get() == document) return frame.Name;
  return {};
}

void THtmlBrowser::Click(IHtmlElement* element) {
  auto* e = dynamic_cast<THtmlElement*>(element);
  if (!e || e->Disabled()) return;
  if (e->Tag == "input") {
    const std::string* type = e->Attribute("type");
    std::string t = type ? *type : std::string();
    for (char& c : t) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (t == "radio") e->SetChecked(true);
    else if (t == "checkbox") e->SetChecked(!e->Checked());
  }
  e->Focus();
  std::string href = e->Tag == "a" && e->Attribute("href") ? *e->Attribute("href") : std::string();
  bool isLink = e->Tag == "a" && e->HasAttribute("href");
  THtmlDocument* document = e->Document();
  std::string base = document ? document->Url() : std::string();
  std::string frame = FrameOf(document);
  if (!e->Dispatch(THtmlEventKind::Click) || !isLink) return;  // e may be gone once a handler ran
  std::string target = ResolveUrl(base, href);
  if (frame.empty()) Navigate(target);
  else NavigateFrame(frame, target);
}

void THtmlBrowser::KeyPress(IHtmlElement* element, int keyCode) {
  auto* e = dynamic_cast<THtmlElement*>(element);
  if (!e || !e->Document()) return;
  THtmlDocument* document = e->Document();
  document->SetKeyCode(keyCode);
  e->Dispatch(THtmlEventKind::KeyPress);
  document->SetKeyCode(0);
}

void THtmlBrowser::DblClick(IHtmlElement* element) {
  if (auto* e = dynamic_cast<THtmlElement*>(element)) e->Dispatch(THtmlEventKind::DblClick);
}

}  // namespace tq::html
