// Typed calls through the declared-function table.
#pragma once

template <typename R, typename... A>
R CallExternal(int32_t index, A... args) {
    static_assert(sizeof...(A) <= 16, "too many arguments");
    using Fn = R(WINAPI*)(A...);
    Fn fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(ResolveExternalFunction(index)));
    return fn(args...);
}
