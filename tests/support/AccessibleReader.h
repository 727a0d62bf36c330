// What a screen reader learns of a window through its accessible object
// (also across processes): names, roles, states and the focus of the
// object (child id CHILDID_SELF) and of its items (1..n).
#pragma once
#include <windows.h>
#include <oleacc.h>

#include <string>
#include <vector>

class AccessibleReader {
  public:
    explicit AccessibleReader(HWND window);
    ~AccessibleReader();
    AccessibleReader(const AccessibleReader&) = delete;
    AccessibleReader& operator=(const AccessibleReader&) = delete;

    IAccessible* Object() const { return object_; }
    static VARIANT Child(LONG id);
    LONG Count() const;
    std::wstring Name(LONG id) const;
    LONG Role(LONG id) const;
    LONG State(LONG id) const;
    std::vector<std::wstring> ItemNames() const;
    // The child id that has the focus; -1 when the object has none.
    LONG Focus() const;

  private:
    IAccessible* object_ = nullptr;
};

// Text of the ANSI code page as UTF-16, for comparing with names.
std::wstring WideText(const char* ansi);
