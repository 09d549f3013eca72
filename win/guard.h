// The one guard where the platform or a host calls in: an exported function,
// a window or dialog procedure, a method that must not throw. The body may
// throw (Magick++, std::bad_alloc); the caller gets the neutral result instead
// and nothing unwinds through the host's or the window manager's frames.
#pragma once

#include <type_traits>
#include <utility>

namespace lorvex {

template <class Result, class Body>
Result Guarded(Result neutral, Body&& body) noexcept
{
    try {
        return std::forward<Body>(body)();
    } catch (...) {
        return neutral;
    }
}

// For bodies without a result.
template <class Body>
void Guarded(Body&& body) noexcept
{
    static_assert(std::is_void<decltype(body())>::value,
                  "a body that returns a result needs the form with a neutral result");
    try {
        std::forward<Body>(body)();
    } catch (...) {
    }
}

}  // namespace lorvex
