#pragma once
// The project's data objects stored in the project file beside the items: the
// setup page names and support files, the Flash support files (held by the main
// window), and the carriers that exist only while the file is written or read
// (compiler settings, general information, included pages, page fonts).
#include <string>

#include "Classes.h"
#include "Component.h"
#include "Graphics.h"

namespace tq {

// Source (Orig...) and output file names of the 11 setup pages.
class THtmlPagesNames : public TComponent {
 public:
  using TComponent::TComponent;
  TQ_PUBLISHED(THtmlPagesNames)
  std::string OrigWelcome, OrigLicense, OrigReadme, OrigCustInfo, OrigLocation, OrigGroup,
      OrigInstallType, OrigCustom, OrigInstall, OrigProgress, OrigFinish;
  std::string Welcome, License, Readme, CustInfo, Location, Group, InstallType, Custom, Install,
      Progress, Finish;
};

// Support files of each setup page.
class THtmlSupportPages : public TComponent {
 public:
  explicit THtmlSupportPages(TComponent* owner);
  ~THtmlSupportPages() override;
  TQ_PUBLISHED(THtmlSupportPages)
  TStringList *Welcome, *License, *Readme, *CustInfo, *Location, *Group, *InstallType, *Custom,
      *Install, *Progress, *Finish;
};

// One of the 11 setup pages, in page-number order (the number is the index in
// SetupPages): its tab caption on the Gui page, its key (the property name in
// THtmlPagesNames and THtmlSupportPages), its original, output name and
// support files.
struct TSetupPage {
  const char* Caption;  // "Welcome", ..., "Customer Info", ..., "Install Type", ...
  const char* Key;      // "Welcome", ..., "CustInfo", ..., "InstallType", ...
  std::string THtmlPagesNames::*Original;
  std::string THtmlPagesNames::*Output;
  TStringList* THtmlSupportPages::*Support;
};
extern const TSetupPage SetupPages[11];
// The page whose tab reads caption; nullptr for none.
const TSetupPage* SetupPageByCaption(const std::string& caption);

// Support files of the Flash user interface.
class TFlashSupport : public TComponent {
 public:
  explicit TFlashSupport(TComponent* owner);
  ~TFlashSupport() override;
  TQ_PUBLISHED(TFlashSupport)
  TStringList* SupportFiles;
};

// The Compiler menu's run-time choices.
class TCompilerSettings : public TComponent {
 public:
  using TComponent::TComponent;
  TQ_PUBLISHED(TCompilerSettings)
  bool VB6 = false, VB5 = false, CLR = false, BdePro = false, BdeEnterprise = false;
};

// The Info page's fields.
class TGeneralInfo : public TComponent {
 public:
  using TComponent::TComponent;
  TQ_PUBLISHED(TGeneralInfo)
  std::string ProductName, ProductVersion, Manufacturer, ProductCode, PackageCode;
  bool PerUser = false;
};

// Which setup pages the user interface includes.
class TIncludePages : public TComponent {
 public:
  using TComponent::TComponent;
  TQ_PUBLISHED(TIncludePages)
  bool LicenseHtml = false, ReadmeHtml = false, CustInfoHtml = false, GroupHtml = false;
  bool LicenseFlash = false, ReadmeFlash = false, CustInfoFlash = false, GroupFlash = false;
  bool HtmlUi = false, FlashUi = false, AllPages = false;
  std::string FlashMovie;
};

// The fonts of the setup pages: Back/Next/Cancel buttons and other text. The
// fonts are given by whoever writes or reads the object.
class THtmlUiFontOptions : public TComponent {
 public:
  using TComponent::TComponent;
  TQ_PUBLISHED(THtmlUiFontOptions)
  TFont* BackNextCancelFont = nullptr;
  TFont* OtherTextFont = nullptr;
};

}  // namespace tq
