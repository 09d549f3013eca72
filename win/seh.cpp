// The guarded blocks of win/seh.h where the compiler has no __try of its own.
#include "win/seh.h"

#if !defined(__WINE__) && !defined(_MSC_VER)

namespace lorvex::seh {
namespace {

thread_local Frame* tInnermost = nullptr;

bool IsFault(DWORD code)
{
    switch (code) {
    case EXCEPTION_ACCESS_VIOLATION:
    case EXCEPTION_IN_PAGE_ERROR:
    case EXCEPTION_ILLEGAL_INSTRUCTION:
    case EXCEPTION_PRIV_INSTRUCTION:
    case EXCEPTION_INT_DIVIDE_BY_ZERO:
    case EXCEPTION_INT_OVERFLOW:
    case EXCEPTION_DATATYPE_MISALIGNMENT:
    case EXCEPTION_ARRAY_BOUNDS_EXCEEDED:
        return true;
    default:
        return false;
    }
}

LONG CALLBACK OnException(EXCEPTION_POINTERS* info)
{
    Frame* frame = tInnermost;
    if (!frame || !IsFault(info->ExceptionRecord->ExceptionCode))
        return EXCEPTION_CONTINUE_SEARCH;
    tInnermost = frame->outer;
#if defined(__i386__)
    // Frames the faulting code registered lie on the stack we abandon.
    reinterpret_cast<NT_TIB*>(NtCurrentTeb())->ExceptionList =
        static_cast<EXCEPTION_REGISTRATION_RECORD*>(frame->chain);
#endif
    __builtin_longjmp(frame->jump, 1);
}

}  // namespace

void Enter(Frame& frame)
{
    static const PVOID handler = AddVectoredExceptionHandler(1, OnException);
    (void)handler;
    frame.outer = tInnermost;
    frame.chain = reinterpret_cast<NT_TIB*>(NtCurrentTeb())->ExceptionList;
    tInnermost = &frame;
}

void Leave(Frame& frame) { tInnermost = frame.outer; }

}  // namespace lorvex::seh

#endif
