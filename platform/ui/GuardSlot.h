// Slots that hand their errors to the program's error handler instead of unwinding through Qt.
#pragma once

#include "platform/ui/LbApplication.h"

#include <QObject>

#include <cstddef>
#include <functional>
#include <tuple>
#include <type_traits>
#include <utility>

namespace lb::ui {

namespace detail {

template <class F, class Tuple, std::size_t... I>
constexpr bool invocableWithFirst(std::index_sequence<I...>)
{
    return std::is_invocable_v<F&, std::tuple_element_t<I, Tuple>...>;
}

template <class F, class Tuple, std::size_t... I>
void invokeWithFirst(F& f, Tuple& args, std::index_sequence<I...>)
{
    std::invoke(f, std::get<I>(args)...);
}

// Calls `f` with as many of the signal's leading arguments as it takes, as Qt does for a
// plain functor.
template <std::size_t N, class F, class Tuple>
void invokeWithLeading(F& f, Tuple& args)
{
    if constexpr (invocableWithFirst<F, Tuple>(std::make_index_sequence<N>{})) {
        invokeWithFirst(f, args, std::make_index_sequence<N>{});
    } else {
        static_assert(N > 0, "the slot takes arguments the signal does not give");
        if constexpr (N > 0)
            invokeWithLeading<N - 1>(f, args);
    }
}

} // namespace detail

// Wraps `slot` for QObject::connect: an lb::Abort ends the command silently, any other error
// goes to LbApplication::reportError with `context` as its sender, and the event loop goes on.
// Use it for every connection to our own code:
//     connect(button, &QPushButton::clicked, this, guardSlot(this, [this] { Button1Click(); }));
// `context` is normally also the connection's context object, so it outlives the slot.
template <class F>
auto guardSlot(QObject* context, F slot)
{
    return [context, slot = std::move(slot)](auto&&... args) mutable {
        LbApplication::guarded(context, [&] {
            auto arguments = std::forward_as_tuple(args...);
            detail::invokeWithLeading<sizeof...(args)>(slot, arguments);
            return true;
        });
    };
}

// The same for a member function of `object`, which is also the error's sender.
template <class T, class R, class... Args>
auto guardSlot(T* object, R (T::*method)(Args...))
{
    return guardSlot(static_cast<QObject*>(object), [object, method](Args... args) { (object->*method)(args...); });
}

} // namespace lb::ui
