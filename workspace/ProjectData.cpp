#include "ProjectData.h"

namespace tq {

namespace {

// The 11 setup pages in page-number order, as their property names.
#define TQ_PAGES(X)                                                                           \
  X(Welcome) X(License) X(Readme) X(CustInfo) X(Location) X(Group) X(InstallType) X(Custom) \
      X(Install) X(Progress) X(Finish)

}  // namespace

const TSetupPage SetupPages[11] = {
    {"Welcome", "Welcome", &THtmlPagesNames::OrigWelcome, &THtmlPagesNames::Welcome, &THtmlSupportPages::Welcome},
    {"License", "License", &THtmlPagesNames::OrigLicense, &THtmlPagesNames::License, &THtmlSupportPages::License},
    {"Readme", "Readme", &THtmlPagesNames::OrigReadme, &THtmlPagesNames::Readme, &THtmlSupportPages::Readme},
    {"Customer Info", "CustInfo", &THtmlPagesNames::OrigCustInfo, &THtmlPagesNames::CustInfo,
     &THtmlSupportPages::CustInfo},
    {"Location", "Location", &THtmlPagesNames::OrigLocation, &THtmlPagesNames::Location,
     &THtmlSupportPages::Location},
    {"Group", "Group", &THtmlPagesNames::OrigGroup, &THtmlPagesNames::Group, &THtmlSupportPages::Group},
    {"Install Type", "InstallType", &THtmlPagesNames::OrigInstallType, &THtmlPagesNames::InstallType,
     &THtmlSupportPages::InstallType},
    {"Custom", "Custom", &THtmlPagesNames::OrigCustom, &THtmlPagesNames::Custom, &THtmlSupportPages::Custom},
    {"Install", "Install", &THtmlPagesNames::OrigInstall, &THtmlPagesNames::Install, &THtmlSupportPages::Install},
    {"Progress", "Progress", &THtmlPagesNames::OrigProgress, &THtmlPagesNames::Progress,
     &THtmlSupportPages::Progress},
    {"Finish", "Finish", &THtmlPagesNames::OrigFinish, &THtmlPagesNames::Finish, &THtmlSupportPages::Finish},
};

const TSetupPage* SetupPageByCaption(const std::string& caption) {
  for (const TSetupPage& page : SetupPages)
    if (caption == page.Caption) return &page;
  return nullptr;
}

const TPropertyTable& THtmlPagesNames::ClassProperties() {
  static const TPropertyTable table = [] {
    TPropertyBuilder<THtmlPagesNames> b("THtmlPagesNames", TComponent::ClassProperties());
#define TQ_ORIG(P) b.String("Orig" #P, &THtmlPagesNames::Orig##P);
#define TQ_OUT(P) b.String(#P, &THtmlPagesNames::P);
    TQ_PAGES(TQ_ORIG)
    TQ_PAGES(TQ_OUT)
#undef TQ_ORIG
#undef TQ_OUT
    return b.Build();
  }();
  return table;
}

THtmlSupportPages::THtmlSupportPages(TComponent* owner) : TComponent(owner) {
#define TQ_NEW(P) P = new TStringList;
  TQ_PAGES(TQ_NEW)
#undef TQ_NEW
}

THtmlSupportPages::~THtmlSupportPages() {
#define TQ_FREE(P) delete P;
  TQ_PAGES(TQ_FREE)
#undef TQ_FREE
}

const TPropertyTable& THtmlSupportPages::ClassProperties() {
  static const TPropertyTable table = [] {
    TPropertyBuilder<THtmlSupportPages> b("THtmlSupportPages", TComponent::ClassProperties());
#define TQ_LIST(P) b.Strings(#P, [](THtmlSupportPages& o) { return o.P; });
    TQ_PAGES(TQ_LIST)
#undef TQ_LIST
    return b.Build();
  }();
  return table;
}

TFlashSupport::TFlashSupport(TComponent* owner) : TComponent(owner), SupportFiles(new TStringList) {}

TFlashSupport::~TFlashSupport() { delete SupportFiles; }

const TPropertyTable& TFlashSupport::ClassProperties() {
  static const TPropertyTable table =
      TPropertyBuilder<TFlashSupport>("TFlashSupport", TComponent::ClassProperties())
          .Strings("SupportFiles", [](TFlashSupport& o) { return o.SupportFiles; })
          .Build();
  return table;
}

const TPropertyTable& TCompilerSettings::ClassProperties() {
  static const TPropertyTable table =
      TPropertyBuilder<TCompilerSettings>("TCompilerSettings", TComponent::ClassProperties())
          .Boolean("VB6", &TCompilerSettings::VB6)
          .Boolean("VB5", &TCompilerSettings::VB5)
          .Boolean("CLR", &TCompilerSettings::CLR)
          .Boolean("BdePro", &TCompilerSettings::BdePro)
          .Boolean("BdeEnterprise", &TCompilerSettings::BdeEnterprise)
          .Build();
  return table;
}

const TPropertyTable& TGeneralInfo::ClassProperties() {
  static const TPropertyTable table =
      TPropertyBuilder<TGeneralInfo>("TGeneralInfo", TComponent::ClassProperties())
          .String("ProductName", &TGeneralInfo::ProductName)
          .String("ProductVersion", &TGeneralInfo::ProductVersion)
          .String("Manufacturer", &TGeneralInfo::Manufacturer)
          .String("ProductCode", &TGeneralInfo::ProductCode)
          .String("PackageCode", &TGeneralInfo::PackageCode)
          .Boolean("PerUser", &TGeneralInfo::PerUser)
          .Build();
  return table;
}

const TPropertyTable& TIncludePages::ClassProperties() {
  static const TPropertyTable table =
      TPropertyBuilder<TIncludePages>("TIncludePages", TComponent::ClassProperties())
          .Boolean("LicenseHtml", &TIncludePages::LicenseHtml)
          .Boolean("ReadmeHtml", &TIncludePages::ReadmeHtml)
          .Boolean("CustInfoHtml", &TIncludePages::CustInfoHtml)
          .Boolean("GroupHtml", &TIncludePages::GroupHtml)
          .Boolean("LicenseFlash", &TIncludePages::LicenseFlash)
          .Boolean("ReadmeFlash", &TIncludePages::ReadmeFlash)
          .Boolean("CustInfoFlash", &TIncludePages::CustInfoFlash)
          .Boolean("GroupFlash", &TIncludePages::GroupFlash)
          .Boolean("HtmlUi", &TIncludePages::HtmlUi)
          .Boolean("FlashUi", &TIncludePages::FlashUi)
          .Boolean("AllPages", &TIncludePages::AllPages)
          .String("FlashMovie", &TIncludePages::FlashMovie)
          .Build();
  return table;
}

const TPropertyTable& THtmlUiFontOptions::ClassProperties() {
  static const TPropertyTable table =
      TPropertyBuilder<THtmlUiFontOptions>("THtmlUiFontOptions", TComponent::ClassProperties())
          .Object("BackNextCancelFont", [](THtmlUiFontOptions& o) { return o.BackNextCancelFont; })
          .Object("OtherTextFont", [](THtmlUiFontOptions& o) { return o.OtherTextFont; })
          .Build();
  return table;
}

}  // namespace tq
