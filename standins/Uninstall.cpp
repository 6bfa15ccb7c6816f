// Uninstall.exe: stands in for the uninstaller that lies outside Tarnquill.
// Tarnquill copies it as "Uninstall" + product name + ".exe" into every package
// (into the product's folder) and into every distribution. This one takes the
// product name from its own file name, looks for an installed product of that
// name (compared on letters, digits and blanks, ignoring letter case, as the
// package's ProductName keeps only those), and starts Windows Installer's
// removal, msiexec /x {ProductCode}, without waiting for it, so that its own
// file is free to be removed. Exit codes: 0 when the removal was started,
// 1605 (unknown product) when no such product is installed, otherwise the
// platform's error from starting msiexec. It shows no window.
// msiexec.exe comes from the system folder unless TQ_STANDIN_MSIEXEC names
// another program (StandInSupport.h).
#include <windows.h>
#include <msi.h>

#include <cctype>
#include <string>

#include "StandInSupport.h"

namespace {

using namespace tq::standin;

std::string Comparable(const std::string& name) {
  std::string out;
  for (char c : name)
    if (c == ' ' || IsCharAlphaNumericA(c)) out += char(unsigned(c) < 128 ? std::tolower(c) : c);
  return out;
}

// The product code of the installed product named name, or "".
std::string FindProduct(const std::string& name) {
  const std::string wanted = Comparable(name);
  char code[39];
  for (DWORD i = 0; MsiEnumProductsA(i, code) == ERROR_SUCCESS; ++i) {
    char buf[1024];
    DWORD len = sizeof buf;
    if (MsiGetProductInfoA(code, "ProductName", buf, &len) == ERROR_SUCCESS &&
        Comparable(std::string(buf, len)) == wanted)
      return code;
  }
  return "";
}

int Run() {
  std::string base = ProgramBaseName();
  const std::string prefix = "Uninstall";
  if (base.size() <= prefix.size() || CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, base.c_str(),
                                                     int(prefix.size()), prefix.c_str(),
                                                     int(prefix.size())) != CSTR_EQUAL)
    return ERROR_UNKNOWN_PRODUCT;
  std::string code = FindProduct(base.substr(prefix.size()));
  if (code.empty()) return ERROR_UNKNOWN_PRODUCT;

  // msiexec runs in its own folder, so that the product's folder is not held open.
  std::string program = MsiexecPath();
  std::string dir = program.substr(0, program.find_last_of('\\') + 1);
  std::string line = Quoted(program) + " /x " + code;
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      dir.empty() ? nullptr : dir.c_str(), &si, &pi))
    return int(GetLastError());
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return Run(); }
