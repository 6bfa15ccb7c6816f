#pragma once
// The setup page generator. The publisher supplies each setup page as an
// ordinary HTML file (the page's original); the generator writes the page the
// HTML front-end shows: the original with a link to the shared stylesheet and,
// at its insert position, the page's snippet from the program folder, whose
// Back and Next anchors are wired to the neighbouring pages' file names.
//
// Program folder (AppDir) files read: the snippets "<Page>.ins" (the install
// type page uses "InstallTypeDisableComplete.ins" when Complete is disabled)
// and the start page "setup.ins". Work copies written there, anew each time:
// "LicensePlus.ins" and "ReadmePlus.ins" (the snippet with the text file in its
// text area, HTML-escaped) and "ProgressColor.ins" (the progress snippet with
// its first two "#" replaced by the progress bar's background and foreground
// colours, each the decimal number of 0xRRGGBB). Project folder files written:
// each page under its output name and, for all pages, "TQSetup.htm" (setup.ins
// with the welcome page's output name in its second "src=").
//
// Snippet markers: "</textarea>" in the licence and readme snippets, two "#"
// in the progress snippet, and the anchors' "href=" in the order Back, Next.
//
//   THtmlPagesJob job = ProjectHtmlPagesJob(form, true);
//   RunHtmlPagesJob(job);   // raises EHtmlPagesError on the first failure
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "SysUtils.h"

namespace tq {

class TRWInstallForm;

// A page could not be made; the message names the file or the page.
TQ_EXCEPTION_CLASS(EHtmlPagesError, Exception);

// Link flags of a snippet (bits).
enum : uint8_t {
  lfBackTwo = 1,  // Back to the tab two places before
  lfBackOne = 2,  // Back to the tab one place before
  lfNextOne = 8,  // Next to the tab one place after
  lfNextTwo = 16  // Next to the tab two places after
};

// One tab of the Gui page's page editor, in tab order.
struct THtmlPageTab {
  std::string Caption;     // "Welcome", "Customer Info", ...
  std::string Original;    // full path of the publisher's page
  std::string OutputName;  // file name of the generated page
};

struct THtmlPagesJob {
  std::string AppDir;      // with a trailing "\"
  std::string ProjectDir;  // with a trailing "\"
  std::vector<THtmlPageTab> Tabs;  // the included pages, in tab order
  std::vector<int> Make;           // tab positions to make, in order
  bool StartPage = false;          // write TQSetup.htm (all pages)
  bool DisableComplete = false;
  std::string LicenseFile, ReadmeFile;
  uint32_t ProgressBackground = 0x808080;  // 0xRRGGBB
  uint32_t ProgressForeground = 0x008000;
};

// ---- the text rules ----
// Links the stylesheet: after the first ">" following "<head", else a new head
// after the first ">" following "<html", else a new head at the start (any
// letter case; with no ">" after the tag, at the end).
void InsertStyleSheetLink(std::string& page);
// Where the snippet goes: before "<!-- boilerplate", else "</body>", else
// "</html>" (any letter case), else the end.
size_t FindHtmlInsertPos(const std::string& page);
// Writes the Back and Next targets of the snippet's anchors (the first
// "href=" is Back on a page with a Back link, else Next; the second is Next).
// nameOfTab gives the output name of the tab at a position; a target outside
// the tabs is left empty.
void LinkHtmlPage(std::string& snippet, uint8_t flags, int tabPos, int tabCount,
                  const std::function<std::string(int)>& nameOfTab);
// The text as it shows inside a text area: "&", "<" and ">" escaped.
std::string HtmlTextAreaText(const std::string& text);
// The snippet with the text before its first "</textarea>" (at the start when
// it has none).
std::string FillTextArea(const std::string& snippet, const std::string& text);
// The snippet with its first "#" as background and the next as foreground.
std::string FillProgressColours(const std::string& snippet, uint32_t background, uint32_t foreground);
// setup.ins with the welcome page after the opening quote of its second "src=".
std::string FillStartPage(const std::string& setupIns, const std::string& welcomeName);

// The snippet file and link flags of a page by its number (0 Welcome ... 10 Finish).
std::string PageSnippetName(int pageNumber, bool disableComplete);
uint8_t PageLinkFlags(int pageNumber);

// ---- generation ----
// Makes the job's pages and, when asked, the start page.
void RunHtmlPagesJob(const THtmlPagesJob& job);

// ---- the open project ----
// The job for the open project: all tabs (all pages) or the selected one.
THtmlPagesJob ProjectHtmlPagesJob(TRWInstallForm& form, bool allPages);
// The main window's GenerateHtmlPages: the checks and messages around the job.
void GenerateHtmlPages(TRWInstallForm& form, bool allPages);
// "Generate The Pages Now".
void buGenerateThePagesClick(TRWInstallForm& form);
// The Build page's "disable Complete" box: marks the project modified and,
// with the HTML front-end, makes all pages again.
void ckbDisableCompleteClick(TRWInstallForm& form);
// Binds the two and the stylesheet button to the main window.
void InstallPageGenerator(TRWInstallForm& form);

}  // namespace tq
