// Records shared byte for byte with a host or with the system keep the layout
// of the 32-bit Windows build: LORVEX_LAYOUT32 pins each one beside its
// declaration when compiling for x86. On x64 the records that hold pointers
// or handles grow with them, in the same field order, and keep the sizes the
// compiler gives them; the pointer-free records have one size everywhere.
#pragma once

#ifdef __cplusplus
#define LORVEX_STATIC_ASSERT static_assert
#else
#define LORVEX_STATIC_ASSERT _Static_assert
#endif

#if defined(__i386__) || defined(_M_IX86)
#define LORVEX_LAYOUT32(condition, record) LORVEX_STATIC_ASSERT(condition, record " keeps its 32-bit layout")
#else
#define LORVEX_LAYOUT32(condition, record) LORVEX_STATIC_ASSERT(1, record)
#endif
