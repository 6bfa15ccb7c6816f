// The updates-menu control is registered by the package (SelfReg), which
// looks its entry points up by their plain names.
#include <windows.h>
#include <unknwn.h>

#include <gtest/gtest.h>

namespace tq::testing {
namespace {

TEST(BrindleProjStandIn, RegistersAndUnregistersThroughItsPlainEntryPoints) {
  HMODULE ocx = LoadLibraryA(TQ_BRINDLEPROJ);
  ASSERT_NE(ocx, nullptr) << TQ_BRINDLEPROJ;
  using TEntry = HRESULT(__stdcall*)();
  for (const char* name : {"DllRegisterServer", "DllUnregisterServer", "DllCanUnloadNow"}) {
    auto entry = reinterpret_cast<TEntry>(reinterpret_cast<void*>(GetProcAddress(ocx, name)));
    ASSERT_NE(entry, nullptr) << name;
    EXPECT_EQ(entry(), S_OK) << name;
  }
  using TGetClassObject = HRESULT(__stdcall*)(REFCLSID, REFIID, void**);
  auto get = reinterpret_cast<TGetClassObject>(reinterpret_cast<void*>(GetProcAddress(ocx, "DllGetClassObject")));
  ASSERT_NE(get, nullptr);
  void* object = &object;
  EXPECT_EQ(get(IID_NULL, IID_IUnknown, &object), CLASS_E_CLASSNOTAVAILABLE);
  EXPECT_EQ(object, nullptr);
  FreeLibrary(ocx);
}

}  // namespace
}  // namespace tq::testing
