#include "tests/support/AccessibleReader.h"

AccessibleReader::AccessibleReader(HWND window) {
    if (FAILED(AccessibleObjectFromWindow(window, OBJID_CLIENT, __uuidof(IAccessible),
                                          reinterpret_cast<void**>(&object_))))
        object_ = nullptr;
}

AccessibleReader::~AccessibleReader() {
    if (object_) object_->Release();
}

VARIANT AccessibleReader::Child(LONG id) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

LONG AccessibleReader::Count() const {
    LONG count = -1;
    if (object_) object_->get_accChildCount(&count);
    return count;
}

std::wstring AccessibleReader::Name(LONG id) const {
    BSTR name = nullptr;
    if (object_) object_->get_accName(Child(id), &name);
    std::wstring text = name ? name : L"";
    SysFreeString(name);
    return text;
}

namespace {
LONG Number(IAccessible* object, HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, VARIANT*),
            LONG id) {
    VARIANT value;
    VariantInit(&value);
    if (object) (object->*get)(AccessibleReader::Child(id), &value);
    return value.vt == VT_I4 ? value.lVal : -1;
}
}  // namespace

LONG AccessibleReader::Role(LONG id) const {
    return Number(object_, &IAccessible::get_accRole, id);
}

LONG AccessibleReader::State(LONG id) const {
    return Number(object_, &IAccessible::get_accState, id);
}

std::vector<std::wstring> AccessibleReader::ItemNames() const {
    std::vector<std::wstring> names;
    for (LONG id = 1; id <= Count(); ++id) names.push_back(Name(id));
    return names;
}

LONG AccessibleReader::Focus() const {
    VARIANT focus;
    VariantInit(&focus);
    if (object_) object_->get_accFocus(&focus);
    return focus.vt == VT_I4 ? focus.lVal : -1;
}

std::wstring WideText(const char* ansi) {
    const int count = MultiByteToWideChar(CP_ACP, 0, ansi, -1, nullptr, 0);
    std::wstring wide(size_t(count > 0 ? count : 1), L'\0');
    if (count > 0) MultiByteToWideChar(CP_ACP, 0, ansi, -1, &wide[0], count);
    wide.resize(wide.size() - 1);
    return wide;
}
