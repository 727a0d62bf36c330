// The five skinned component types: a native wrapper window per control with
// the engine's control built over it, property access passed to the engine,
// engine notifications turned into runtime events, and the teardown when the
// wrapper dies.
#pragma once
#include <cstdint>
#include "runtime/windows/ComponentTypes.h"
#include "engine/SkinEngineInterface.h"

// The library declares this many component types; type number n sits at
// index n - 1 of the table, and only WindowEx (1), PictureBoxEx (5),
// ToolbarEx (18), ListboxEx (19) and IcoListboxEx (20) are filled.
constexpr int32_t kSkinDeclaredTypeCount = 35;
const ComponentType* const* SkinComponentTypes();

// The engine control of a loaded component, found through the runtime
// (notification 2007) and the wrapper's "Tab_Control"; 0 when the component
// has no engine control.
EngineControl EngineControlOfComponent(uint32_t windowId, uint32_t componentId);

// The text and caption of the box shown when a skinned control is created
// without an engine.
extern const char kMissingEngineText[];
extern const char kMissingEngineCaption[];

// Seam for SkinUi's own tests (the product never calls it): replaces
// MessageBoxA for the missing-engine warning (null restores it).
using SkinWarningBoxFn = int (*)(HWND owner, const char* text, const char* caption, UINT type);
void SetSkinWarningBoxForTesting(SkinWarningBoxFn box);
