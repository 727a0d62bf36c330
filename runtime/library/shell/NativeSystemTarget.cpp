#include "runtime/library/shell/NativeSystemTarget.h"

#include <windows.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <cwchar>
#include <vector>

#include "runtime/win32/ScopedOwners.h"

namespace {

bool RunsUnderWow64() {
    static const bool wow64 = [] {
        BOOL answer = FALSE;
        return IsWow64Process(GetCurrentProcess(), &answer) && answer;
    }();
    return wow64;
}

bool SameIgnoringCase(const wchar_t* a, const wchar_t* b, size_t length) {
    return CompareStringOrdinal(a, static_cast<int>(length), b, static_cast<int>(length), TRUE) ==
           CSTR_EQUAL;
}

// The variables whose value a WOW64 process sees for the 32-bit side, and
// the ones that hold the 64-bit side's value there.
struct NativeVariable {
    const wchar_t* seen;
    const wchar_t* native;
};
const NativeVariable kNativeVariables[] = {
    {L"%ProgramFiles%", L"%ProgramW6432%"},
    {L"%CommonProgramFiles%", L"%CommonProgramW6432%"},
};

std::wstring ExpandAsNativeSystem(const std::wstring& stored) {
    std::wstring text;
    for (size_t at = 0; at < stored.size();) {
        bool replaced = false;
        for (const NativeVariable& variable : kNativeVariables) {
            const size_t length = std::wcslen(variable.seen);
            if (stored.size() - at >= length &&
                SameIgnoringCase(stored.c_str() + at, variable.seen, length)) {
                text += variable.native;
                at += length;
                replaced = true;
                break;
            }
        }
        if (!replaced) text += stored[at++];
    }
    const DWORD needed = ExpandEnvironmentStringsW(text.c_str(), nullptr, 0);
    if (needed == 0) return stored;
    std::vector<wchar_t> expanded(needed + 1, L'\0');
    if (ExpandEnvironmentStringsW(text.c_str(), expanded.data(), needed + 1) == 0) return stored;
    return expanded.data();
}

// "Sysnative" is the name under which a WOW64 process reaches the real
// System32 folder; the system's own name is redirected to SysWOW64.
std::wstring NativeSystemFolder(const std::wstring& path) {
    wchar_t windows[MAX_PATH] = {};
    const UINT length = GetSystemWindowsDirectoryW(windows, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return path;
    std::wstring base(windows);
    if (base.back() != L'\\') base += L'\\';
    const std::wstring system = base + L"System32";
    if (path.size() < system.size() ||
        !SameIgnoringCase(path.c_str(), system.c_str(), system.size()))
        return path;
    if (path.size() > system.size() && path[system.size()] != L'\\') return path;
    return base + L"Sysnative" + path.substr(system.size());
}

// The target as stored with its environment strings; empty when the
// shortcut keeps none (or the shell cannot hand it out).
std::wstring EnvironmentTarget(IShellLinkW* link) {
    ScopedComPtr<IShellLinkDataList> data;
    if (FAILED(link->QueryInterface(IID_IShellLinkDataList, data.PutVoid()))) return {};
    DWORD flags = 0;
    if (FAILED(data->GetFlags(&flags)) || !(flags & SLDF_HAS_EXP_SZ)) return {};
    void* copied = nullptr;
    if (FAILED(data->CopyDataBlock(EXP_SZ_LINK_SIG, &copied)) || !copied) return {};
    ScopedLocalMemory block(copied);
    const EXP_SZ_LINK* stored = static_cast<const EXP_SZ_LINK*>(copied);
    if (stored->cbSize < sizeof(EXP_SZ_LINK)) return {};
    return std::wstring(stored->swzTarget, wcsnlen(stored->swzTarget, MAX_PATH));
}

}  // namespace

std::wstring TargetOnNativeSystem(IShellLinkW* link, const std::wstring& path) {
    // Only a WOW64 process pays for the second look at the shortcut.
    if (!RunsUnderWow64()) return path;
    return MapTargetToNativeSystem(path, EnvironmentTarget(link));
}

std::wstring MapTargetToNativeSystem(const std::wstring& path,
                                     const std::wstring& environmentPath) {
    if (!RunsUnderWow64()) return path;
    return NativeSystemFolder(environmentPath.empty() ? path
                                                      : ExpandAsNativeSystem(environmentPath));
}
