#pragma once
// HTML Help, loaded at run time from the system folder. Every call is safe when
// it could not be loaded: it then does nothing and answers false.
#include <cstdint>
#include <string>

namespace tq {

constexpr unsigned HH_DISPLAY_TOC_CMD = 1;
constexpr unsigned HH_DISPLAY_INDEX_CMD = 2;
constexpr unsigned HH_HELP_CONTEXT_CMD = 15;

class THtmlHelpLibrary {
 public:
  THtmlHelpLibrary() = default;
  THtmlHelpLibrary(const THtmlHelpLibrary&) = delete;
  THtmlHelpLibrary& operator=(const THtmlHelpLibrary&) = delete;
  ~THtmlHelpLibrary() { Unload(); }
  // Loads hhctrl.ocx with its HtmlHelpA and HtmlHelpW entry points; false when
  // it or an entry point is missing.
  bool Load();
  void Unload();
  bool Loaded() const { return FHtmlHelpA != nullptr; }
  // HtmlHelpA with no owner window; false without the library.
  bool Call(const std::string& helpFile, unsigned command, uintptr_t data);

 private:
  void* FModule = nullptr;
  void* FHtmlHelpA = nullptr;
  void* FHtmlHelpW = nullptr;
};

}  // namespace tq
