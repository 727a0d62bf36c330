// Scoped owners of Win32 resources: each holds one handle, module, registry
// key, file search, local memory block, COM pointer or COM apartment and
// gives it back when the owner goes. Not copyable; moving hands the resource
// on.
#pragma once
#include <windows.h>
#include <objbase.h>

// One resource of Traits::Type. Traits says which value means "none"
// (Empty), whether a value is held (Held) and how to give it back (Close).
template <typename Traits>
class ScopedResource {
  public:
    using Type = typename Traits::Type;

    ScopedResource() = default;
    explicit ScopedResource(Type value) : value_(value) {}
    ScopedResource(const ScopedResource&) = delete;
    ScopedResource& operator=(const ScopedResource&) = delete;
    ScopedResource(ScopedResource&& other) noexcept : value_(other.Release()) {}
    ScopedResource& operator=(ScopedResource&& other) noexcept {
        Reset(other.Release());
        return *this;
    }
    ~ScopedResource() { Reset(); }

    Type Get() const { return value_; }
    bool Valid() const { return Traits::Held(value_); }
    explicit operator bool() const { return Valid(); }
    // Gives back what is held and keeps `value` instead.
    void Reset(Type value = Traits::Empty()) {
        if (Traits::Held(value_)) Traits::Close(value_);
        value_ = value;
    }
    // For functions that store the resource through a pointer.
    Type* Put() {
        Reset();
        return &value_;
    }
    Type Release() {
        const Type value = value_;
        value_ = Traits::Empty();
        return value;
    }

  private:
    Type value_ = Traits::Empty();
};

namespace ScopedTraits {

// Handles that are null when absent: threads, events, timers.
struct Handle {
    using Type = HANDLE;
    static Type Empty() { return nullptr; }
    static bool Held(Type h) { return h != nullptr; }
    static void Close(Type h) { CloseHandle(h); }
};
// File handles: CreateFileA reports failure as INVALID_HANDLE_VALUE.
struct FileHandle {
    using Type = HANDLE;
    static Type Empty() { return INVALID_HANDLE_VALUE; }
    static bool Held(Type h) { return h != INVALID_HANDLE_VALUE && h != nullptr; }
    static void Close(Type h) { CloseHandle(h); }
};
struct FileSearch {
    using Type = HANDLE;
    static Type Empty() { return INVALID_HANDLE_VALUE; }
    static bool Held(Type h) { return h != INVALID_HANDLE_VALUE && h != nullptr; }
    static void Close(Type h) { FindClose(h); }
};
struct Module {
    using Type = HMODULE;
    static Type Empty() { return nullptr; }
    static bool Held(Type m) { return m != nullptr; }
    static void Close(Type m) { FreeLibrary(m); }
};
struct RegistryKey {
    using Type = HKEY;
    static Type Empty() { return nullptr; }
    static bool Held(Type k) { return k != nullptr; }
    static void Close(Type k) { RegCloseKey(k); }
};
// Blocks the system hands out for LocalFree (shell data blocks, messages).
struct LocalMemory {
    using Type = HLOCAL;
    static Type Empty() { return nullptr; }
    static bool Held(Type m) { return m != nullptr; }
    static void Close(Type m) { LocalFree(m); }
};

}  // namespace ScopedTraits

using ScopedHandle = ScopedResource<ScopedTraits::Handle>;
using ScopedFileHandle = ScopedResource<ScopedTraits::FileHandle>;
using ScopedFileSearch = ScopedResource<ScopedTraits::FileSearch>;
using ScopedModule = ScopedResource<ScopedTraits::Module>;
using ScopedRegistryKey = ScopedResource<ScopedTraits::RegistryKey>;
using ScopedLocalMemory = ScopedResource<ScopedTraits::LocalMemory>;

// A COM interface pointer, released when the owner goes.
template <typename Interface>
class ScopedComPtr {
  public:
    ScopedComPtr() = default;
    ScopedComPtr(const ScopedComPtr&) = delete;
    ScopedComPtr& operator=(const ScopedComPtr&) = delete;
    ~ScopedComPtr() {
        if (p_) p_->Release();
    }
    Interface* Get() const { return p_; }
    Interface* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    // For CoCreateInstance and QueryInterface.
    void** PutVoid() { return reinterpret_cast<void**>(&p_); }

  private:
    Interface* p_ = nullptr;
};

// COM on the calling thread for the owner's lifetime. A thread that has
// already entered an apartment of another model keeps its own (the call
// fails and nothing is left at the end).
class ScopedComApartment {
  public:
    explicit ScopedComApartment(DWORD model = COINIT_APARTMENTTHREADED)
        : result_(CoInitializeEx(nullptr, model)) {}
    ScopedComApartment(const ScopedComApartment&) = delete;
    ScopedComApartment& operator=(const ScopedComApartment&) = delete;
    ~ScopedComApartment() {
        if (SUCCEEDED(result_)) CoUninitialize();
    }

  private:
    HRESULT result_;
};

// The system's own error boxes ("no disk in the drive", "cannot open file")
// kept away from the calling thread for the owner's lifetime: what it touches
// simply fails. Bits the thread had are kept; the process's error mode, which
// the programs it starts inherit, is left alone.
class ScopedThreadErrorMode {
  public:
    ScopedThreadErrorMode() {
        const DWORD wanted = GetThreadErrorMode() | SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX;
        changed_ = SetThreadErrorMode(wanted, &previous_) != FALSE;
    }
    ScopedThreadErrorMode(const ScopedThreadErrorMode&) = delete;
    ScopedThreadErrorMode& operator=(const ScopedThreadErrorMode&) = delete;
    ~ScopedThreadErrorMode() {
        if (changed_) SetThreadErrorMode(previous_, nullptr);
    }

  private:
    DWORD previous_ = 0;
    bool changed_ = false;
};
