#include "Guid.h"

#include <windows.h>
#include <rpc.h>

#include "SysUtils.h"

namespace tq {

std::string NewGuidText() {
  UUID id{};
  RPC_STATUS status = UuidCreate(&id);
  if (status != RPC_S_OK && status != RPC_S_UUID_LOCAL_ONLY)
    throw Exception(Format("Cannot create a GUID (error %d)", {static_cast<int>(status)}));
  RPC_CSTR text = nullptr;
  if (UuidToStringA(&id, &text) != RPC_S_OK || !text) throw Exception("Cannot convert a GUID to text");
  std::string result = "{" + UpperCase(reinterpret_cast<const char*>(text)) + "}";
  RpcStringFreeA(&text);
  return result;
}

}  // namespace tq
