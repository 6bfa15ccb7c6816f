// A stand-in for the command a self-extractor starts: writes its command line
// and working folder (UTF-8, one per line) to "cmdline.txt" beside itself and
// ends with exit code 7.
#include <windows.h>

#include <string>

static std::string Utf8(const std::wstring& w) {
  int n = WideCharToMultiByte(CP_UTF8, 0, w.c_str(), int(w.size()), nullptr, 0, nullptr, nullptr);
  std::string s(size_t(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.c_str(), int(w.size()), s.data(), n, nullptr, nullptr);
  return s;
}

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  wchar_t self[MAX_PATH * 2], cwd[MAX_PATH * 2];
  DWORD n = GetModuleFileNameW(nullptr, self, MAX_PATH * 2);
  std::wstring path(self, n);
  path = path.substr(0, path.find_last_of(L'\\') + 1) + L"cmdline.txt";
  DWORD c = GetCurrentDirectoryW(MAX_PATH * 2, cwd);
  std::string text = Utf8(GetCommandLineW()) + "\n" + Utf8(std::wstring(cwd, c)) + "\n";
  HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return 1;
  DWORD w = 0;
  WriteFile(h, text.data(), DWORD(text.size()), &w, nullptr);
  CloseHandle(h);
  return 7;
}
