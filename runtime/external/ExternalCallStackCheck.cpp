// Calls of declared functions with a check of the stack pointer afterwards.
// A 32-bit __stdcall callee removes its own arguments; one declared with the
// wrong argument list (or as __cdecl) leaves the stack off by some bytes, and
// the program must not carry on with it. On x86_64 the caller owns the stack
// and the check does not exist: the words are passed as pointer-sized values.
#include "runtime/external/ExternalFunctions.h"

#include "runtime/process/RuntimeError.h"

#if defined(__i386__)

extern "C" uint64_t QdCallWordsSavingStack(FARPROC address, const uint32_t* words,
                                           int32_t wordCount, int32_t* stackDifference);

// cdecl: [esp+4] address, [esp+8] words, [esp+12] count, [esp+16] difference out.
// EDI holds the stack pointer from before the pushes (callee-saved, so intact
// whatever the callee does to ESP); ESP is restored from it before returning.
asm(R"(
    .text
    .globl _QdCallWordsSavingStack
_QdCallWordsSavingStack:
    pushl %ebp
    movl  %esp, %ebp
    pushl %esi
    pushl %edi
    pushl %ebx
    movl  12(%ebp), %esi
    movl  16(%ebp), %ecx
    movl  %esp, %edi
1:  testl %ecx, %ecx
    jz    2f
    decl  %ecx
    pushl (%esi,%ecx,4)
    jmp   1b
2:  call  *8(%ebp)
    movl  %esp, %ecx
    subl  %edi, %ecx
    movl  %edi, %esp
    movl  20(%ebp), %ebx
    movl  %ecx, (%ebx)
    popl  %ebx
    popl  %edi
    popl  %esi
    popl  %ebp
    ret
)");

namespace ExternalCallDetail {

uint64_t CallWordsChecked(FARPROC address, const uint32_t* words, int32_t wordCount) {
    int32_t difference = 0;
    const uint64_t result = QdCallWordsSavingStack(address, words, wordCount, &difference);
    if (difference != 0) ReportRuntimeError(6, 0, 0);
    return result;
}

}  // namespace ExternalCallDetail

uint32_t CallExternalChecked(FARPROC address, const uint32_t* args, int32_t argCount) {
    return static_cast<uint32_t>(ExternalCallDetail::CallWordsChecked(address, args, argCount));
}

#else

uint32_t CallExternalChecked(FARPROC address, const uint32_t* args, int32_t argCount) {
    using W = UINT_PTR;
    W a[16] = {};
    if (argCount < 0 || argCount > 16) ReportRuntimeError(6, 0, 0);
    for (int32_t i = 0; i < argCount; ++i) a[i] = args[i];
    using Fn = W (*)(W, W, W, W, W, W, W, W, W, W, W, W, W, W, W, W);
    // Surplus arguments are harmless here: the caller cleans its own stack.
    Fn fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(address));
    return static_cast<uint32_t>(fn(a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7], a[8], a[9],
                                    a[10], a[11], a[12], a[13], a[14], a[15]));
}

#endif
