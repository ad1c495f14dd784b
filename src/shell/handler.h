// Adapts a plain routine to the one shape the event bindings hold, so each
// handler is written with the arguments its event carries and nothing else.
#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>
#include <utility>

#include "window/definition.h"

namespace valdremo {
namespace detail {

template <typename R, typename... Args>
constexpr std::size_t ArgumentCount(R (*)(Shell&, Args...)) {
  static_assert((std::is_same_v<Args, std::int32_t> && ...),
                "handler arguments are signed 32-bit integers");
  static_assert(sizeof...(Args) <= 5, "an event carries at most five arguments");
  return sizeof...(Args);
}

template <auto F, std::size_t... I>
HandlerResult Call(Shell& shell, const std::int32_t* args, std::index_sequence<I...>) {
  using Result = decltype(F(shell, args[I]...));
  if constexpr (std::is_void_v<Result>) {
    F(shell, args[I]...);
    return HandlerResult{false, 0};
  } else {
    return HandlerResult{true, static_cast<std::int32_t>(F(shell, args[I]...))};
  }
}

}  // namespace detail

// Bind<&OnSomething> is the Handler for `void OnSomething(Shell&, ...)` or
// `std::int32_t OnSomething(Shell&, ...)`.
template <auto F>
HandlerResult Bind(Shell& shell, const std::int32_t* args) {
  return detail::Call<F>(shell, args, std::make_index_sequence<detail::ArgumentCount(F)>{});
}

}  // namespace valdremo
