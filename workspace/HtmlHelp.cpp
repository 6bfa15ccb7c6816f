#include "HtmlHelp.h"

#include <windows.h>

namespace tq {

namespace {
using THtmlHelpA = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);
}

bool THtmlHelpLibrary::Load() {
  Unload();
  char system[MAX_PATH + 1] = {};
  UINT n = GetSystemDirectoryA(system, sizeof system);
  if (n == 0 || n >= sizeof system) return false;
  std::string path = std::string(system) + "\\hhctrl.ocx";
  HMODULE module = LoadLibraryA(path.c_str());
  if (!module) return false;
  FARPROC a = GetProcAddress(module, "HtmlHelpA");
  FARPROC w = GetProcAddress(module, "HtmlHelpW");
  if (!a || !w) {
    FreeLibrary(module);
    return false;
  }
  FModule = module;
  FHtmlHelpA = reinterpret_cast<void*>(a);
  FHtmlHelpW = reinterpret_cast<void*>(w);
  return true;
}

void THtmlHelpLibrary::Unload() {
  if (FModule) FreeLibrary(static_cast<HMODULE>(FModule));
  FModule = FHtmlHelpA = FHtmlHelpW = nullptr;
}

bool THtmlHelpLibrary::Call(const std::string& helpFile, unsigned command, uintptr_t data) {
  if (!FHtmlHelpA) return false;
  reinterpret_cast<THtmlHelpA>(FHtmlHelpA)(nullptr, helpFile.c_str(), command, static_cast<DWORD_PTR>(data));
  return true;
}

}  // namespace tq
