#pragma once
// Vantrel's page protocol pieces that work on the page document and the user's
// choices alone: the browser gate, the custom-features page (filled from the
// feature tree, read back by its Next link), the existing-groups list and the
// summary text.
//
// Summary (CR LF line ends):
//   Customer Information:
//      Customer Name: <customer>
//      Company  Name: <company>
//   Key:           <key>
//   (empty line) Destination Path: / "   " <location> / (empty line)
//   Installation Type: / "   " <type name>
// then, for Custom, an empty line, a tab and each chosen title followed by CR LF
// and three blanks; for Typical (features of Level 4 or less) and Complete (all)
// an empty line, three blanks and for each feature in tree order three blanks
// per level, its key, CR LF and three blanks; these two also make FeatureList
// anew from the keys listed.
#include <string>
#include <vector>

#include "FrontEndForm.h"
#include "HtmlInterfaces.h"
#include "TreeView.h"

namespace tq {

// keyOpened: the Internet Explorer key opened. Passes for a version whose text
// before its first "." (all of it without one, or when it starts with one) is
// an integer of at least 5.
bool BrowserGatePasses(bool keyOpened, const std::string& version);

// The custom page: every listed feature (Display not 0) as an option of
// "Features" (three blanks per level and the key; value the key; selected for
// Level 4 or less) and of "Descriptions" (its description); several
// selections; each select as tall as its options.
void FillCustomPage(const TTreeNodes& features, html::IHtmlDocument& page);
// The custom page's Next: FeatureList := the keys of Level below 4, then the
// value of each selected option of "Features"; chosenTitles := those options' texts.
void TakeCustomChoices(const TTreeNodes& features, html::IHtmlDocument& page, TUserChoices& choices,
                       std::vector<std::string>& chosenTitles);
// The group page's list: Group := baseName, "ExistingGroups" := one option per
// sub-folder of folder (with its backslash) other than "." and "..".
void FillExistingGroups(const std::string& folder, const std::string& baseName, html::IHtmlDocument& page);

std::string SummaryText(const TTreeNodes& features, TUserChoices& choices,
                        const std::vector<std::string>& chosenTitles);

}  // namespace tq
