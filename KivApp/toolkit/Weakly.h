#pragma once

#include <QPointer>
#include <functional>
#include <type_traits>
#include <utility>

namespace kiv {

// Returns a callable for a callback that may outlive `object`: called with any arguments, it runs
// `f` (a member function of T, or anything callable with a T& first) on `*object` with them
// while the object exists, and once it has been destroyed does nothing and returns a
// value-initialised result. T is a QObject.
template <class T, class F> auto weakly(T* object, F f)
{
    return [guard = QPointer<T>(object), f = std::move(f)](auto&&... arguments) {
        using Result = std::invoke_result_t<F&, T&, decltype(arguments)...>;
        if (!guard)
            return Result();
        return std::invoke(f, *guard, std::forward<decltype(arguments)>(arguments)...);
    };
}

} // namespace kiv
