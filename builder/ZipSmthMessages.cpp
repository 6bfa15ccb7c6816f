// The zip component's messages: texts from the string table, shown in a
// plain message box unless the component runs unattended.
#include <windows.h>

#include "Prompts.h"
#include "ZipSmth.h"

namespace tq {

std::string TZipSmith::LoadZipStr(int ident, const std::string& def) {
  char buf[1024];
  int n = LoadStringA(GetModuleHandleA(nullptr), UINT(ident), buf, sizeof buf);
  if (n > 0) return std::string(buf, size_t(n));
  if (!def.empty()) return def;
  return "ZipMsgXX.res is probably not linked to the executable\nMissing String ID is: " + IntToStr(ident);
}

EZipSmith::EZipSmith(int ident, bool display)
    : Exception(TZipSmith::LoadZipStr(ident)), Display(display), Ident(ident) {}

EZipSmith::EZipSmith(int ident, TVarArgs args, bool display)
    : Exception(Format(TZipSmith::LoadZipStr(ident), args)), Display(display), Ident(ident) {}

EZipSmith::EZipSmith(const std::string& text, bool display) : Exception(text), Display(display), Ident(0) {}

void TZipSmith::ShowZipMessage(int ident, const std::string& extra) {
  std::string text = LoadZipStr(ident) + extra;
  FMessage = text;
  FErrCode = ident;
  if (!Unattended) ShowMessage(text);
  if (OnMessage) OnMessage(this, 0, text);
}

void TZipSmith::ShowZipException(const EZipSmith& e) {
  FMessage = e.Message;
  FErrCode = e.Ident;
  if (e.Display && !Unattended) ShowMessage(e.Message);
  if (OnMessage) OnMessage(this, 0, e.Message);
}

}  // namespace tq
