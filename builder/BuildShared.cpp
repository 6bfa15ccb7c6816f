// What the table steps of a build share: the results they hand on, the choice
// tabs they walk, the key suffix and the message drain.
#include "BuildSteps.h"

#include "Forms.h"
#include "choices.h"
#include "main.h"

namespace tq {

int DisableCustomFlag = 1;
std::string FoundLicenseFile;
std::string FoundReadmeFile;

TChoice* BuiltChoice(const TRWInstallForm& form, int tab) {
  TControlItems& tabs = form.tcChoices->Tabs();
  if (tab < 0 || tab >= tabs.Count()) return nullptr;
  return dynamic_cast<TChoice*>(tabs.GetObjectAt(tab));
}

std::string ProjectKeySuffix(const TRWInstallForm& form) {
  if (form.FProjectType != 1) return {};
  std::string code = form.edPackageCode->Text();
  std::string inner = code.size() >= 2 ? code.substr(1, code.size() - 2) : std::string();
  return "." + StringReplace(inner, "-", "_", rfReplaceAll);
}

void DrainMessages() { Application->ProcessMessages(); }

}  // namespace tq
