// Typed calls through the declared-function table.
#pragma once
#include <cstring>

#if defined(__i386__)
namespace ExternalCallDetail {

// Pushes the words (last first), calls, compares the stack pointer with the
// one saved before the pushes and reports runtime error 6 on a difference.
// Gives back EDX:EAX so that 64-bit results survive.
uint64_t CallWordsChecked(FARPROC address, const uint32_t* words, int32_t wordCount);

template <typename A>
constexpr int32_t WordsOf() {
    static_assert(std::is_trivially_copyable<A>::value, "arguments are plain values");
    static_assert(sizeof(A) == 4 || sizeof(A) == 8, "arguments are 32- or 64-bit words");
    return static_cast<int32_t>(sizeof(A) / 4);
}

template <typename A>
void PutWords(uint32_t* words, int32_t& at, const A& value) {
    std::memcpy(words + at, &value, sizeof(A));
    at += WordsOf<A>();
}

}  // namespace ExternalCallDetail

template <typename R, typename... A>
R CallExternal(int32_t index, A... args) {
    static_assert(sizeof...(A) <= 16, "too many arguments");
    constexpr int32_t kWordCount = (0 + ... + ExternalCallDetail::WordsOf<A>());
    uint32_t words[kWordCount + 1] = {};
    int32_t at = 0;
    (ExternalCallDetail::PutWords(words, at, args), ...);
    (void)at;  // unused for a function without arguments
    const uint64_t raw =
        ExternalCallDetail::CallWordsChecked(ResolveExternalFunction(index), words, kWordCount);
    if constexpr (std::is_void<R>::value) {
        (void)raw;
    } else {
        static_assert(sizeof(R) <= 8 && std::is_trivially_copyable<R>::value,
                      "results are 32- or 64-bit values");
        R result;
        std::memcpy(&result, &raw, sizeof(R));
        return result;
    }
}

#else
// x86_64 has one calling convention in which the caller owns its stack, so a
// callee cannot unbalance it: the call is direct and there is no stack check.
template <typename R, typename... A>
R CallExternal(int32_t index, A... args) {
    static_assert(sizeof...(A) <= 16, "too many arguments");
    using Fn = R(WINAPI*)(A...);
    Fn fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(ResolveExternalFunction(index)));
    return fn(args...);
}
#endif
