// A shortcut's target as the 64-bit system names it, for the 32-bit build
// running on 64-bit Windows (WOW64). There the process sees a 32-bit world:
// its %ProgramFiles% is "C:\Program Files (x86)", so a target stored as
// "%ProgramFiles%\..." (as installers store them) expands to the 32-bit
// folder, and its reads of the System32 folder are redirected to SysWOW64.
// The item's picture must come from the file the 64-bit shell opens.
#pragma once
#include <string>

struct IShellLinkW;

// The target of the loaded `link` whose path this process's shell gave as
// `path`: unchanged outside WOW64; under WOW64 the stored environment
// strings expanded as the 64-bit shell expands them, and a target in
// System32 spelt through "Sysnative", which reaches the 64-bit folder.
std::wstring TargetOnNativeSystem(IShellLinkW* link, const std::wstring& path);

// The same for a target stored as `environmentPath` (environment strings
// unexpanded; empty when the shortcut stores none).
std::wstring MapTargetToNativeSystem(const std::wstring& path, const std::wstring& environmentPath);
