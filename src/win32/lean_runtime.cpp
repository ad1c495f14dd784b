// valdremo.exe links its C++ runtime statically. The runtime's defaults for
// these few hooks drag in exception unwinding, threads and a symbol
// demangler (about 150 KiB) for failures this program never recovers from
// anyway, so the program supplies its own: allocation straight from the
// process heap, and a plain stop on a call of a pure virtual function.
#include <windows.h>

#include <cstddef>
#include <cstdlib>
#include <new>

void* operator new(std::size_t size) {
  void* memory = HeapAlloc(GetProcessHeap(), 0, size != 0 ? size : 1);
  if (memory == nullptr) std::abort();  // nothing sensible is left to do
  return memory;
}
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete(void* memory) noexcept {
  if (memory != nullptr) HeapFree(GetProcessHeap(), 0, memory);
}
void operator delete[](void* memory) noexcept { operator delete(memory); }
void operator delete(void* memory, std::size_t) noexcept { operator delete(memory); }
void operator delete[](void* memory, std::size_t) noexcept { operator delete(memory); }

#if defined(__GNUC__)
extern "C" void __cxa_pure_virtual() { std::abort(); }
#endif
