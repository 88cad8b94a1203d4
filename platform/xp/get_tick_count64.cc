// Windows XP's kernel32 has no GetTickCount64, but the static thread
// library of the MinGW-w64 toolchain imports it, so a program linked with it
// would not even start on XP ("entry point not found"). This file defines
// the import slot itself: the linker then takes it from here instead of
// from kernel32's import library, and at run time the slot calls the real
// function where kernel32 has it (Vista and later) and otherwise counts the
// milliseconds from the performance counter, which XP has and which, unlike
// GetTickCount, does not wrap after 49.7 days.
//
// Linked into every Windows program (not through a static library, whose
// member the linker would not pull in for a symbol that a later library
// asks for).
#include <windows.h>

namespace {

using TickCount64 = ULONGLONG(WINAPI*)();

ULONGLONG WINAPI millisecondsFromPerformanceCounter() {
  LARGE_INTEGER frequency, counter;
  if (!::QueryPerformanceFrequency(&frequency) || frequency.QuadPart == 0 ||
      !::QueryPerformanceCounter(&counter)) {
    return ::GetTickCount();
  }
  const ULONGLONG ticks = static_cast<ULONGLONG>(counter.QuadPart);
  const ULONGLONG perSecond = static_cast<ULONGLONG>(frequency.QuadPart);
  return ticks / perSecond * 1000 + ticks % perSecond * 1000 / perSecond;
}

ULONGLONG WINAPI tickCount64() {
  static const TickCount64 real = reinterpret_cast<TickCount64>(reinterpret_cast<void*>(
      ::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "GetTickCount64")));
  return real ? real() : millisecondsFromPerformanceCounter();
}

}  // namespace

// The import slot under the name the compiler gives it: a leading
// underscore and the stdcall suffix on 32-bit Windows, neither on 64-bit.
#if defined(__i386__)
#define ZEPO_IMPORT_SLOT "__imp__GetTickCount64@0"
#else
#define ZEPO_IMPORT_SLOT "__imp_GetTickCount64"
#endif
extern "C" {
TickCount64 zepoGetTickCount64Slot __asm__(ZEPO_IMPORT_SLOT) = &tickCount64;
}
