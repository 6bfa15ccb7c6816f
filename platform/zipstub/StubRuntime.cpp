// The self-extractor carries no exception machinery: the few run-time
// failures its containers can meet (no memory, impossible lengths) end the
// program at once. This keeps the stub small.
#include <windows.h>

#include <cstddef>

#include "StubResults.h"

namespace {
[[noreturn]] void Die() { ExitProcess(tq::zipstub::srExtractFailed); }
}  // namespace

namespace std {
[[noreturn]] void __throw_length_error(const char*) { Die(); }
[[noreturn]] void __throw_logic_error(const char*) { Die(); }
[[noreturn]] void __throw_out_of_range_fmt(const char*, ...) { Die(); }
[[noreturn]] void __throw_bad_alloc() { Die(); }
[[noreturn]] void __throw_bad_array_new_length() { Die(); }
}  // namespace std

namespace __gnu_cxx {
void __verbose_terminate_handler() { Die(); }
}  // namespace __gnu_cxx

void* operator new(std::size_t n) {
  void* p = HeapAlloc(GetProcessHeap(), 0, n ? n : 1);
  if (!p) Die();
  return p;
}
void* operator new[](std::size_t n) { return operator new(n); }
void operator delete(void* p) noexcept {
  if (p) HeapFree(GetProcessHeap(), 0, p);
}
void operator delete[](void* p) noexcept { operator delete(p); }
void operator delete(void* p, std::size_t) noexcept { operator delete(p); }
void operator delete[](void* p, std::size_t) noexcept { operator delete(p); }
