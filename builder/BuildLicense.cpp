// The licence text step: the project's licence goes into the template's
// licence dialog (LicenseAgreementDlg, control AgreementText) as rich text, so
// that a package installed without a setup front-end shows it.
#include "BuildSteps.h"

#include <exception>

#include "BuildProject.h"
#include "Classes.h"
#include "FileUtils.h"

namespace tq {

namespace {

const char* const RichTextHead = "{\\rtf1\\ansi \\deff0{\\fonttbl{\\f0\\froman Times New Roman;}}\\pard\\plain\\fs18 ";
const char* const UpdateAgreementText =
    "UPDATE Control SET Text=? WHERE Dialog_='LicenseAgreementDlg' and Control='AgreementText'";

}  // namespace

std::string LicenseRichText(const std::string& text) {
  std::string rtf = RichTextHead;
  for (char c : text) {
    if (c == '\0') break;
    switch (c) {
      case '\r': break;
      case '\n': rtf += " \\par "; break;
      case '\\': case '{': case '}':
        rtf += '\\';
        rtf += c;
        break;
      default: rtf += c;
    }
  }
  return rtf + "}";
}

std::string LicenseTextSource(const TBuildProject& project, const TBuildResults& results) {
  const std::string& chosen = project.LicenseFile;
  if (project.HtmlUi && project.LicenseHtml && !chosen.empty() && FileExists(chosen)) return chosen;
  const std::string& found = results.FoundLicenseFile;
  if (!found.empty() && FileExists(found)) return found;
  return {};
}

void WriteLicenseText(TBuild& build) {
  const TBuildProject& project = ProjectOf(build);
  const std::string source = LicenseTextSource(project, build.FResults);
  if (source.empty()) return;
  // A licence that cannot be opened ends the build.
  TFileStream file(source, fmOpenRead | fmShareDenyWrite);
  try {
    std::string text(static_cast<size_t>(file.Size()), '\0');
    if (!text.empty()) file.ReadBuffer(text.data(), static_cast<int64_t>(text.size()));
    build.RunStatement(UpdateAgreementText, {LicenseRichText(text)});
  } catch (const std::exception& e) {
    // The build goes on: the dialog keeps the template's text.
    if (project.Log) project.Log("The licence text " + source + " was not written into the package: " + e.what());
  }
}

}  // namespace tq
