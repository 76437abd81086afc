#pragma once
// Window handlers run guarded: an exception a handler lets escape is shown in
// the standard error box and goes no further, so it never unwinds through the
// toolkit's event delivery and the window keeps working.

#include <functional>
#include <type_traits>
#include <utility>

namespace vadero {

void RunGuarded(const std::function<void()>& work);

// f called with the arguments when it takes them, else with none. A template
// of its own, so that the call left out is never compiled.
template <class F, class... Args>
void CallWithArgsIfTaken(const F& f, Args&&... args) {
    if constexpr (std::is_invocable_v<const F&, Args...>)
        f(std::forward<Args>(args)...);
    else
        f();
}

// The handler f, guarded; the arguments are passed on as they come (references
// stay references, so a handler can still correct them), or dropped when f
// takes none (a signal's value the handler reads from its control anyway).
template <class F>
auto Guarded(F f) {
    return [f = std::move(f)](auto&&... args) {
        RunGuarded([&] { CallWithArgsIfTaken(f, std::forward<decltype(args)>(args)...); });
    };
}

}  // namespace vadero
