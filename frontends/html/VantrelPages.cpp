#include "VantrelPages.h"

#include <windows.h>

#include <cstdlib>

#include "Feature.h"
#include "InstallCommand.h"

namespace tq {

bool BrowserGatePasses(bool keyOpened, const std::string& version) {
  if (!keyOpened || version.empty()) return false;
  size_t dot = version.find('.');
  std::string major = dot == std::string::npos || dot == 0 ? version : version.substr(0, dot);
  if (major.empty() || major.size() > 9) return false;
  size_t at = major[0] == '-' || major[0] == '+' ? 1 : 0;
  if (at == major.size()) return false;
  for (size_t i = at; i < major.size(); ++i)
    if (major[i] < '0' || major[i] > '9') return false;
  return std::atoi(major.c_str()) >= 5;
}

namespace {

std::vector<TTreeNode*> InTreeOrder(const TTreeNodes& features) {
  std::vector<TTreeNode*> nodes;
  for (TTreeNode* n = features.GetFirstNode(); n; n = n->GetNext()) nodes.push_back(n);
  return nodes;
}

}  // namespace

void FillCustomPage(const TTreeNodes& features, html::IHtmlDocument& page) {
  html::IHtmlElement* list = page.Item("Features");
  html::IHtmlElement* descriptions = page.Item("Descriptions");
  if (!list || !descriptions) return;
  list->SetMultiple(true);
  for (TTreeNode* node : InTreeOrder(features)) {
    TFeature* f = FeatureOf(node);
    if (!f || f->Display == 0) continue;
    html::IHtmlElement* option = page.CreateElement("option");
    html::IHtmlElement* description = page.CreateElement("option");
    list->Add(option, list->Length());
    descriptions->Add(description, descriptions->Length());
    option->SetText(std::string(static_cast<size_t>(3 * node->Level()), ' ') + f->Name);
    option->SetValue(f->Name);
    if (f->Level <= 4) option->SetSelected(true);
    description->SetText(f->Description);
  }
  list->SetSize(list->Length());
  descriptions->SetSize(descriptions->Length());
}

void TakeCustomChoices(const TTreeNodes& features, html::IHtmlDocument& page, TUserChoices& choices,
                       std::vector<std::string>& chosenTitles) {
  std::vector<std::string> keys;
  for (TTreeNode* node : InTreeOrder(features))
    if (TFeature* f = FeatureOf(node); f && f->Level < 4) keys.push_back(f->Name);
  chosenTitles.clear();
  if (html::IHtmlElement* list = page.Item("Features"))
    for (int i = 0; i < list->Length(); ++i) {
      html::IHtmlElement* option = list->Option(i);
      if (!option->Selected()) continue;
      keys.push_back(option->Value());
      chosenTitles.push_back(option->Text());
    }
  choices.FeatureList = VantrelFeatureList(keys);
}

void FillExistingGroups(const std::string& folder, const std::string& baseName, html::IHtmlDocument& page) {
  if (html::IHtmlElement* group = page.Item("Group")) group->SetValue(baseName);
  html::IHtmlElement* list = page.Item("ExistingGroups");
  if (!list) return;
  for (int i = list->Length() - 1; i >= 0; --i) list->Remove(i);
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "*.*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    std::string name = found.cFileName;
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || name == "." || name == "..") continue;
    html::IHtmlElement* option = page.CreateElement("OPTION");
    option->SetText(name);
    list->Add(option, list->Length());
  } while (FindNextFileA(search, &found));
  FindClose(search);
}

std::string SummaryText(const TTreeNodes& features, TUserChoices& choices,
                        const std::vector<std::string>& chosenTitles) {
  std::string text = "Customer Information:\r\n   Customer Name: " + choices.CustomerName + "\r\n" + "   " +
                     "Company  Name: " + choices.CompanyName + "\r\n" + "Key:           " + choices.Key + "\r\n\r\n" +
                     "Destination Path:" + "\r\n" + "   " + choices.DestinationPath + "\r\n\r\n" +
                     "Installation Type:" + "\r\n" + "   " + InstallTypeName(choices.InstallType);
  if (choices.InstallType == 1) {
    text += "\r\n\r\n\t";
    for (const std::string& title : chosenTitles) text += title + "\r\n   ";
    return text;
  }
  text += "\r\n\r\n   ";
  std::vector<std::string> keys;
  for (TTreeNode* node : InTreeOrder(features)) {
    TFeature* f = FeatureOf(node);
    if (!f || (choices.InstallType == 0 && f->Level > 4)) continue;
    text += std::string(static_cast<size_t>(3 * node->Level()), ' ') + f->Name + "\r\n   ";
    keys.push_back(f->Name);
  }
  choices.FeatureList = VantrelFeatureList(keys);
  return text;
}

}  // namespace tq
