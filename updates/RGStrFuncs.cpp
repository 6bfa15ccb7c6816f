#include "RGStrFuncs.h"

namespace tq {

std::string AddBackslash(const std::string& S) {
  if (!S.empty() && S.back() == '\\') return S;
  return S + "\\";
}

std::string RemoveTrailingSlash(const std::string& S) {
  if (S.size() > 1 && (S.back() == '\\' || S.back() == '/')) return S.substr(0, S.size() - 1);
  return S;
}

}  // namespace tq
