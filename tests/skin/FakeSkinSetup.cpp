// The helpers of SkinTestSupport.h that work with the fake runtime.
#include "runtime/process/Runtime.h"
#include "tests/skin/FakeRuntime.h"
#include "tests/skin/SkinTestSupport.h"
#include "ui/skin/SkinCommands.h"
#include "ui/skin/SkinControls.h"
#include "ui/skin/SkinControls.h"
#include "ui/skin/SkinEngineLoader.h"
#include "ui/skin/SkinUiLibrary.h"

namespace skin_test {

const ComponentType& SkinType(int typeNumber) {
    return *SkinComponentTypes()[typeNumber - 1];
}

RuntimeWindowObject CreateSkinControl(int typeNumber, HWND parent, uint32_t windowId,
                                      uint32_t componentId, const uint8_t* attributes,
                                      uint32_t attributeSize, int32_t left, int32_t top,
                                      int32_t width, int32_t height, UINT controlId) {
    ComponentCreateArgs args{};
    args.attributes = attributes;
    args.attributeSize = attributeSize;
    args.style = 0;
    args.parent = parent;
    args.controlId = controlId;
    args.left = left;
    args.top = top;
    args.width = width;
    args.height = height;
    args.windowId = windowId;
    args.componentId = componentId;
    RuntimeWindowObject object = SkinType(typeNumber).create(args);
    fake_runtime::RegisterComponent(windowId, componentId, object);
    return object;
}

void StartSkinUiIn(const std::string& folder) {
    SetCurrentDirectoryA(folder.c_str());
    ForgetSkinEngineForTesting();
    SkinUiLibrary().notify(kLibraryNotifyInit, reinterpret_cast<intptr_t>(&fake_runtime::Notify),
                           0);
}

EngineControl EngineControlOf(RuntimeWindowObject object) {
    HWND wrapper = WindowObjectHandle(object);
    return reinterpret_cast<EngineControl>(GetPropA(wrapper, kEngineControlProperty));
}

}  // namespace skin_test
