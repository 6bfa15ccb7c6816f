// BrindleProj.ocx: stands in for the updates-menu control that packages built
// with update support carry. Tarnquill takes it from the authoring machine's
// system folder (not from its program directory) and the package registers it
// on installation (SelfReg). The real control adds the product's updates menu;
// this one is a DLL whose registration entry points succeed without writing
// anything and which offers no classes.
#include <windows.h>

extern "C" {

HRESULT __stdcall DllRegisterServer() { return S_OK; }
HRESULT __stdcall DllUnregisterServer() { return S_OK; }
HRESULT __stdcall DllCanUnloadNow() { return S_OK; }
HRESULT __stdcall DllGetClassObject(REFCLSID, REFIID, void** object) {
  if (object) *object = nullptr;
  return CLASS_E_CLASSNOTAVAILABLE;
}

}  // extern "C"
