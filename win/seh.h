// Containing a processor fault (an access violation, an illegal instruction)
// in someone else's code that we call on our thread: the call ends, the host
// goes on.
//     LORVEX_TRY { call } LORVEX_EXCEPT_ALL { after a fault } LORVEX_END_TRY
// A fault leaves the guarded block by a jump: keep objects with destructors
// out of it, and read what it wrote through volatile variables.
#pragma once
#include <windows.h>

#if defined(__WINE__)
#include <wine/exception.h>
#define LORVEX_TRY __TRY
#define LORVEX_EXCEPT_ALL __EXCEPT_ALL
#define LORVEX_END_TRY __ENDTRY
#elif defined(_MSC_VER)
#define LORVEX_TRY __try
#define LORVEX_EXCEPT_ALL __except (EXCEPTION_EXECUTE_HANDLER)
#define LORVEX_END_TRY
#else
// GCC for Windows has no __try: while a guarded block runs, a vectored
// handler sends a fault on this thread back to the block's start. Exceptions
// raised by RaiseException (C++ ones included) are left to their own handlers.
namespace lorvex::seh {
struct Frame {
    void* jump[5];    // __builtin_setjmp's buffer
    Frame* outer;     // the enclosing guarded block of this thread
    void* chain;      // x86: the thread's handler chain when the block began
};
void Enter(Frame& frame);
void Leave(Frame& frame);
}  // namespace lorvex::seh
#define LORVEX_TRY                                              \
    {                                                           \
        ::lorvex::seh::Frame lorvexSehFrame;                    \
        if (__builtin_setjmp(lorvexSehFrame.jump) == 0) {       \
            ::lorvex::seh::Enter(lorvexSehFrame);
#define LORVEX_EXCEPT_ALL                                       \
            ::lorvex::seh::Leave(lorvexSehFrame);               \
        } else {
#define LORVEX_END_TRY                                          \
        }                                                       \
    }
#endif
