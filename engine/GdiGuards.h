// Scoped owners of the GDI objects the engine creates while painting.
#pragma once
#include <windows.h>

class ScopedGdiObject {
  public:
    explicit ScopedGdiObject(HGDIOBJ object = nullptr) : object_(object) {}
    ~ScopedGdiObject() { Reset(); }
    ScopedGdiObject(const ScopedGdiObject&) = delete;
    ScopedGdiObject& operator=(const ScopedGdiObject&) = delete;
    void Reset(HGDIOBJ object = nullptr) {
        if (object_) DeleteObject(object_);
        object_ = object;
    }
    HGDIOBJ Get() const { return object_; }

  private:
    HGDIOBJ object_;
};

class ScopedMemoryDc {
  public:
    explicit ScopedMemoryDc(HDC reference) : dc_(CreateCompatibleDC(reference)) {}
    ~ScopedMemoryDc() {
        if (dc_) DeleteDC(dc_);
    }
    ScopedMemoryDc(const ScopedMemoryDc&) = delete;
    ScopedMemoryDc& operator=(const ScopedMemoryDc&) = delete;
    HDC Get() const { return dc_; }

  private:
    HDC dc_;
};

class ScopedSelect {
  public:
    ScopedSelect(HDC dc, HGDIOBJ object)
        : dc_(dc), previous_(object ? SelectObject(dc, object) : nullptr) {}
    ~ScopedSelect() {
        if (previous_) SelectObject(dc_, previous_);
    }
    ScopedSelect(const ScopedSelect&) = delete;
    ScopedSelect& operator=(const ScopedSelect&) = delete;

  private:
    HDC dc_;
    HGDIOBJ previous_;
};
