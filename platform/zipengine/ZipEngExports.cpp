// The two entry points of ZIPENG.DLL (exported undecorated by zipeng.def).
#include <windows.h>

#include "ZipAdd.h"
#include "ZipEngRecords.h"

extern "C" {

int32_t TQ_ZIPENG_STDCALL ZipEngExec(tq::zipeng::TZipParms* parms) {
  if (!parms) return 0;
  try {
    return tq::zipeng::RunAdd(*parms);
  } catch (...) {
    return 0;
  }
}

int32_t TQ_ZIPENG_STDCALL GetZipEngVersion() { return tq::zipeng::kEngineVersion; }

}
