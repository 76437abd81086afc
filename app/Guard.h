#pragma once
// Window handlers run guarded: an exception a handler lets escape is shown in
// the standard error box and goes no further, so it never unwinds through the
// toolkit's event delivery and the window keeps working.

#include <functional>
#include <type_traits>
#include <utility>

namespace vadero {

void RunGuarded(const std::function<void()>& work);

// The handler f, guarded; the arguments are passed on as they come (references
// stay references, so a handler can still correct them), or dropped when f
// takes none (a signal's value the handler reads from its control anyway).
template <class F>
auto Guarded(F f) {
    return [f = std::move(f)](auto&&... args) {
        if constexpr (std::is_invocable_v<const F&, decltype(args)...>)
            RunGuarded([&] { f(std::forward<decltype(args)>(args)...); });
        else
            RunGuarded([&] { f(); });
    };
}

}  // namespace vadero
