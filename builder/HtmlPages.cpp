// The setup page generator over its job: the text rules and the files.
#include "HtmlPages.h"

#include <algorithm>

#include "Classes.h"
#include "FileUtils.h"

namespace tq {

namespace {

const char* const StyleSheetLink = "<link rel=stylesheet type=\"text/css\" href=\"tqstyle.css\">";

// The position of needle in the lower-case copy of text from start; npos for none.
size_t FindNoCase(const std::string& text, const std::string& needle, size_t start = 0) {
  return LowerCase(text).find(needle, start);
}

std::string ReadWhole(const std::string& fileName) {
  TFileStream f(fileName, fmOpenRead | fmShareDenyWrite);
  std::string text(static_cast<size_t>(f.Size()), '\0');
  if (!text.empty()) f.ReadBuffer(text.data(), static_cast<int64_t>(text.size()));
  return text;
}

void WriteWhole(const std::string& fileName, const std::string& text) {
  TFileStream f(fileName, fmCreate);
  if (!text.empty()) f.WriteBuffer(text.data(), static_cast<int64_t>(text.size()));
}

// Same file: both full paths alike in any letter case, with either separator.
bool SamePath(const std::string& a, const std::string& b) {
  auto norm = [](std::string s) {
    for (char& c : s)
      if (c == '/') c = '\\';
    return LowerCase(ExpandFileName(s));
  };
  return !a.empty() && !b.empty() && norm(a) == norm(b);
}

const char* const PageNames[11] = {"Welcome", "License", "Readme", "Customer Info", "Location", "Group",
                                   "Install Type", "Custom", "Install", "Progress", "Finish"};

}  // namespace

void InsertStyleSheetLink(std::string& page) {
  const std::string head = std::string("<head>") + StyleSheetLink + "</head>";
  auto afterTag = [&page](size_t tag) {
    const size_t close = page.find('>', tag);
    return close == std::string::npos ? page.size() : close + 1;
  };
  if (size_t tag = FindNoCase(page, "<head"); tag != std::string::npos)
    page.insert(afterTag(tag), StyleSheetLink);
  else if (size_t html = FindNoCase(page, "<html"); html != std::string::npos)
    page.insert(afterTag(html), head);
  else
    page.insert(0, head);
}

size_t FindHtmlInsertPos(const std::string& page) {
  const std::string lower = LowerCase(page);
  for (const char* mark : {"<!-- boilerplate", "</body>", "</html>"})
    if (size_t at = lower.find(mark); at != std::string::npos) return at;
  return page.size();
}

void LinkHtmlPage(std::string& snippet, uint8_t flags, int tabPos, int tabCount,
                  const std::function<std::string(int)>& nameOfTab) {
  const size_t href = FindNoCase(snippet, "href=");
  if (href == std::string::npos) return;
  const size_t split = std::min(snippet.size(), href + 5 + 2);
  std::string head = snippet.substr(0, split), rest = snippet.substr(split);
  auto target = [&](int pos) { return pos >= 0 && pos < tabCount ? nameOfTab(pos) : std::string(); };
  auto intoHead = [&head](const std::string& name) { head.insert(head.empty() ? 0 : head.size() - 1, name); };
  bool back = false;
  if (flags & (lfBackTwo | lfBackOne)) {
    intoHead(target(tabPos - ((flags & lfBackTwo) ? 2 : 1)));
    back = true;
  }
  if (flags & (lfNextOne | lfNextTwo)) {
    const std::string name = target(tabPos + ((flags & lfNextTwo) ? 2 : 1));
    if (!back) {
      intoHead(name);
    } else if (size_t next = FindNoCase(rest, "href="); next != std::string::npos) {
      rest.insert(std::min(rest.size(), next + 6), name);
    }
  }
  snippet = head + rest;
}

std::string HtmlTextAreaText(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      default: out += c;
    }
  }
  return out;
}

std::string FillTextArea(const std::string& snippet, const std::string& text) {
  const size_t end = FindNoCase(snippet, "</textarea>");
  std::string out = snippet;
  out.insert(end == std::string::npos ? 0 : end, HtmlTextAreaText(text));
  return out;
}

std::string FillProgressColours(const std::string& snippet, uint32_t background, uint32_t foreground) {
  std::string out = snippet;
  size_t at = 0;
  for (uint32_t colour : {background, foreground}) {
    at = out.find('#', at);
    if (at == std::string::npos) break;
    const std::string value = IntToStr(static_cast<int64_t>(colour & 0xFFFFFF));
    out.replace(at, 1, value);
    at += value.size();
  }
  return out;
}

std::string FillStartPage(const std::string& setupIns, const std::string& welcomeName) {
  std::string out = setupIns;
  size_t first = FindNoCase(out, "src=");
  if (first == std::string::npos) return out;
  size_t second = FindNoCase(out, "src=", first + 4);
  if (second == std::string::npos) return out;
  out.insert(std::min(out.size(), second + 5), welcomeName);
  return out;
}

std::string PageSnippetName(int pageNumber, bool disableComplete) {
  static const char* const snippets[11] = {"Welcome.ins", "License.ins", "Readme.ins", "CustInfo.ins",
                                           "Location.ins", "Group.ins", "InstallType.ins", "Custom.ins",
                                           "Install.ins", "Progress.ins", "Finish.ins"};
  if (pageNumber == 6 && disableComplete) return "InstallTypeDisableComplete.ins";
  return pageNumber >= 0 && pageNumber < 11 ? snippets[pageNumber] : "";
}

uint8_t PageLinkFlags(int pageNumber) {
  static const uint8_t flags[11] = {8, 10, 10, 10, 10, 10, 18, 10, 1, 0, 0};
  return pageNumber >= 0 && pageNumber < 11 ? flags[pageNumber] : 0;
}

void RunHtmlPagesJob(const THtmlPagesJob& job) {
  const int tabCount = static_cast<int>(job.Tabs.size());
  auto nameOfTab = [&job](int pos) { return job.Tabs[static_cast<size_t>(pos)].OutputName; };
  for (int t : job.Make) {
    if (t < 0 || t >= tabCount) continue;
    const THtmlPageTab& tab = job.Tabs[static_cast<size_t>(t)];
    int page = -1;
    for (int i = 0; i < 11; ++i)
      if (tab.Caption == PageNames[i]) page = i;
    if (page < 0) continue;
    const std::string output = job.ProjectDir + tab.OutputName;
    if (tab.OutputName.empty())
      throw EHtmlPagesError("The " + tab.Caption + " page has no output file name");
    // The publisher's own page is never overwritten.
    if (SamePath(output, tab.Original))
      throw EHtmlPagesError("The " + tab.Caption + " page would be written over its original " + tab.Original +
                            "; give it another output file name");

    std::string snippetFile = job.AppDir + PageSnippetName(page, job.DisableComplete);
    if (page == 1 || page == 2) {
      const std::string plus = job.AppDir + (page == 1 ? "LicensePlus.ins" : "ReadmePlus.ins");
      WriteWhole(plus, FillTextArea(ReadWhole(snippetFile), ReadWhole(page == 1 ? job.LicenseFile : job.ReadmeFile)));
      snippetFile = plus;
    } else if (page == 9) {
      const std::string coloured = job.AppDir + "ProgressColor.ins";
      WriteWhole(coloured, FillProgressColours(ReadWhole(snippetFile), job.ProgressBackground, job.ProgressForeground));
      snippetFile = coloured;
    }

    std::string text = ReadWhole(tab.Original);
    InsertStyleSheetLink(text);
    const size_t at = FindHtmlInsertPos(text);
    std::string snippet = ReadWhole(snippetFile);
    LinkHtmlPage(snippet, PageLinkFlags(page), t, tabCount, nameOfTab);
    text.insert(at, snippet);
    WriteWhole(output, text);
  }
  if (job.StartPage) {
    std::string welcome;
    for (const THtmlPageTab& tab : job.Tabs)
      if (tab.Caption == "Welcome") welcome = tab.OutputName;
    WriteWhole(job.ProjectDir + "TQSetup.htm", FillStartPage(ReadWhole(job.AppDir + "setup.ins"), welcome));
  }
}

}  // namespace tq
