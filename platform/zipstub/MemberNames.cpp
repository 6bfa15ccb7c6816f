#include "MemberNames.h"

#include <cwctype>
#include <vector>

namespace tq::zipstub {
namespace {

// The part before the first dot names a device also with blanks before the
// dot: "NUL .txt" opens NUL.
bool IsDeviceName(std::wstring part) {
  size_t dot = part.find(L'.');
  if (dot != std::wstring::npos) part.resize(dot);
  while (!part.empty() && part.back() == L' ') part.pop_back();
  for (wchar_t& c : part) c = wchar_t(std::towupper(c));
  static const wchar_t* const kDevices[] = {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"};
  for (const wchar_t* d : kDevices)
    if (part == d) return true;
  if (part.size() == 4 && (part.compare(0, 3, L"COM") == 0 || part.compare(0, 3, L"LPT") == 0) &&
      part[3] >= L'0' && part[3] <= L'9')
    return true;
  return false;
}

}  // namespace

std::optional<std::wstring> SafeMemberPath(const std::wstring& name) {
  if (name.empty() || name[0] == L'/' || name[0] == L'\\') return std::nullopt;
  bool folder = name.back() == L'/' || name.back() == L'\\';
  std::vector<std::wstring> parts;
  std::wstring cur;
  for (size_t i = 0; i <= name.size(); ++i) {
    wchar_t c = i < name.size() ? name[i] : L'/';
    if (c == L'/' || c == L'\\') {
      if (cur.empty() || cur == L".") {
        cur.clear();
        continue;
      }
      // ".." and anything Windows would shorten to it (trailing dots, blanks).
      if (cur.back() == L'.' || cur.back() == L' ') return std::nullopt;
      if (IsDeviceName(cur)) return std::nullopt;
      parts.push_back(cur);
      cur.clear();
      continue;
    }
    if (c < 0x20 || c == L':' || c == L'<' || c == L'>' || c == L'"' || c == L'|' || c == L'?' || c == L'*')
      return std::nullopt;
    cur += c;
  }
  if (parts.empty()) return std::nullopt;
  std::wstring out;
  for (size_t i = 0; i < parts.size(); ++i) {
    if (i) out += L'\\';
    out += parts[i];
  }
  if (folder) out += L'\\';
  return out;
}

}  // namespace tq::zipstub
