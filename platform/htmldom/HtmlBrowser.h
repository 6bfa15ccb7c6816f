#pragma once
// THtmlBrowser: our page engine's browser window behind IWebBrowser. Loads pages
// from "file://" URLs into the window or into a frame of a frameset page, each
// load later, through the poster it was given (the window's message queue), so
// that a navigation asked for inside an event handler never runs inside it, and
// reports each finished load once through OnDocumentComplete.
//
// What a user does reaches the page through Click, KeyPress and DblClick: the
// connected sinks run first; a click on a radio button or check box changes it
// before, and a link navigates its frame to its href afterwards unless a
// handler returned false.
#include <functional>
#include <memory>
#include <string>

#include "HtmlDocument.h"

namespace tq::html {

class THtmlBrowser : public IWebBrowser {
 public:
  using TPost = std::function<void(std::function<void()>)>;
  // Reads the page at url; false when there is none.
  using TLoad = std::function<bool(const std::string& url, std::string& page)>;
  explicit THtmlBrowser(TPost post, TLoad load = ReadFileUrl);
  ~THtmlBrowser() override;

  void Navigate(const std::string& url) override;
  void NavigateFrame(const std::string& frameName, const std::string& url) override;
  IHtmlDocument* Document() override { return FTop.get(); }
  THtmlDocument* TopDocument() const { return FTop.get(); }
  // The document shown in the named frame (null when none).
  THtmlDocument* FrameDocument(const std::string& frameName) const;

  void Click(IHtmlElement* element);
  void KeyPress(IHtmlElement* element, int keyCode);
  void DblClick(IHtmlElement* element);

  // After a document was replaced (for the renderer), before OnDocumentComplete.
  std::function<void()> OnDocumentReplaced;

  // href relative to the document at base ("file://C:\dist\a.htm" + "b.htm").
  static std::string ResolveUrl(const std::string& base, const std::string& href);
  // "file://C:\dist\a.htm" or "file:///C:/dist/a%20b.htm" -> the file's path.
  static std::string UrlToPath(const std::string& url);
  static bool ReadFileUrl(const std::string& url, std::string& page);

 private:
  std::unique_ptr<THtmlDocument> LoadDocument(const std::string& url, int frameDepth);
  void LoadTop(const std::string& url);
  void LoadFrame(const std::string& frameName, const std::string& url);
  void Later(std::function<void()> work);
  // The frame (name) that shows document; empty for the top document.
  std::string FrameOf(const IHtmlDocument* document) const;
  TPost FPost;
  TLoad FLoad;
  std::unique_ptr<THtmlDocument> FTop;
  std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
};

}  // namespace tq::html
