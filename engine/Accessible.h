// What screen readers and other assistive technology learn of the engine's
// controls: a control that describes itself answers WM_GETOBJECT with an
// IAccessible whose children (1..n) are its items, named by the titles it
// draws.
#pragma once
#include <windows.h>
#include <oleacc.h>

#include <memory>
#include <string>

class AccessibleSource {
  public:
    AccessibleSource() = default;
    AccessibleSource(const AccessibleSource&) = delete;
    AccessibleSource& operator=(const AccessibleSource&) = delete;
    // Accessible objects outlive what they describe when their clients keep
    // them; this tells them it is gone.
    virtual ~AccessibleSource() { *alive_ = nullptr; }
    std::shared_ptr<AccessibleSource* const> Liveness() const { return alive_; }

    // The window whose client area the accessible object stands for.
    virtual HWND AccessibleWindow() const = 0;
    virtual LONG AccessibleRole() const = 0;
    // The object's own name; by default the window's text.
    virtual std::wstring AccessibleName() const;
    virtual int ItemCount() const { return 0; }
    virtual LONG ItemRole() const { return ROLE_SYSTEM_LISTITEM; }
    virtual std::wstring ItemName(int) const { return std::wstring(); }
    // In the window's client coordinates.
    virtual RECT ItemBox(int) const { return RECT{}; }
    virtual bool ItemSelected(int) const { return false; }
    // The item that has the keyboard focus while the window has it, or -1.
    virtual int FocusedItem() const { return -1; }
    // The item at a point of the client area, or -1.
    virtual int ItemAt(int, int) const { return -1; }
    // The default action of the items (item >= 0) or of the object itself;
    // null when there is none.
    virtual const wchar_t* ActionName(int item) const = 0;
    // Performs the default action. Called from the window's own message
    // queue (AccessibleActionMessage), never inside the client's call: the
    // caller, often another process, is not held while the program reacts.
    virtual void Perform(int item) = 0;

  private:
    std::shared_ptr<AccessibleSource*> alive_ = std::make_shared<AccessibleSource*>(this);
};

// Answers WM_GETOBJECT when the request is for the source's client area;
// false leaves the message to the window.
bool AnswerAccessibleRequest(AccessibleSource& source, WPARAM wParam, LPARAM lParam,
                             LRESULT& result);
// Tells assistive technology that something happened to an item (-1: to
// the object itself) of the window's accessible object.
void NotifyAccessible(DWORD event, HWND window, int item);
// The message a control posts to its own window to perform a default action
// (wParam: the item).
UINT AccessibleActionMessage();
