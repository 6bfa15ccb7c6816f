// The check of the product name as part of file names.
#include "ProductFileName.h"

#include <cctype>

namespace tq {

namespace {

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

// The part before the first dot, without the blanks the file system drops
// before a dot ("NUL .txt" opens the device NUL).
bool IsDeviceName(const std::string& name) {
  std::string base = Upper(name.substr(0, name.find('.')));
  while (!base.empty() && base.back() == ' ') base.pop_back();
  for (const char* device : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"})
    if (base == device) return true;
  return base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0) &&
         std::isdigit(static_cast<unsigned char>(base[3]));
}

}  // namespace

std::string ProductFileNameFault(const std::string& productName) {
  if (productName.empty()) return "it is empty";
  for (char c : productName) {
    if (static_cast<unsigned char>(c) < 0x20) return "it holds a control character";
    if (std::string("\\/:*?\"<>|").find(c) != std::string::npos)
      return std::string("it holds \"") + c + "\", which a file name cannot hold (\\ / : * ? \" < > |)";
  }
  if (productName.find("..") != std::string::npos) return "it holds \"..\"";
  if (productName.back() == ' ' || productName.back() == '.') return "it ends in a blank or a dot";
  if (IsDeviceName(productName)) return "it names a device";
  return {};
}

std::string ProductFileNameMessage(const std::string& productName, const std::string& fault) {
  return "The Product Name on the Information page cannot be used in file names: \"" + productName + "\" - " +
         fault + ".";
}

}  // namespace tq
