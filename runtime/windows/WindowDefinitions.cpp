// The process's window definitions and the names a runtime error report
// shows for a window and component.
#include "runtime/process/RuntimeError.h"
#include "runtime/windows/UiDescription.h"

namespace {

UiDescription gDescription;

const char* WindowDisplayName(const WindowDefinition& window) {
    if (!window.name.empty() || window.elements.empty()) return window.name.c_str();
    return window.elements[0].name.c_str();
}

}  // namespace

UiDescription& RuntimeUiDescription() {
    return gDescription;
}

WindowDefinition* FindWindowDefinition(uint32_t windowId) {
    return FindWindowDefinition(&gDescription, windowId);
}

ErrorSubjectNames LookUpErrorSubject(uint32_t windowId, uint32_t componentId) {
    ErrorSubjectNames names;
    const WindowDefinition* window = FindWindowDefinition(windowId);
    if (!window) return names;
    names.windowFound = true;
    names.windowName = WindowDisplayName(*window);
    const ElementDefinition* element = FindElement(window, componentId);
    if (element && !element->isMenuEntry) {
        names.componentFound = true;
        names.componentName = element->name.c_str();
    }
    return names;
}
