// Finding and loading SkinEngine.dll, and the table of its entry points that
// the rest of SkinUi calls through.
#pragma once
#include <windows.h>
#include "engine/SkinEngineInterface.h"

// One pointer per engine export SkinUi uses; null for an export the engine
// lacks (and for every entry while no engine is loaded).
struct SkinEngineEntries {
    CreateControlFn createWindowEx;
    CreateControlFn createPictureBoxEx;
    CreateControlFn createToolbarEx;
    CreateControlFn createListboxEx;
    CreateControlFn createIcoListboxEx;
    ControlSendMessageFn controlSendMessage;
    ControPonintSizeSynchroniseFn controPonintSizeSynchronise;
    ControlDestroyFn controlDestroy;
    ControlUpdateCacheFn controlUpdateCache;
    LoadImageExFn loadImageEx;
    DestroyImageExFn destroyImageEx;
    CreateBinExFn createBinEx;
    InsertButton_ToolbarExFn insertButtonToolbarEx;
    GetButtonCount_ToolbarExFn getButtonCountToolbarEx;
    SetButtonSelected_ToolbarExFn setButtonSelectedToolbarEx;
    InsertItem_IcoListboxExFn insertItemIcoListboxEx;
    DeleteItem_IcoListboxExFn deleteItemIcoListboxEx;
    DeleteButton_ToolbarExFn deleteButtonToolbarEx;
};

// The process-wide entry table (all null until an engine is loaded).
const SkinEngineEntries& SkinEngine();

// The engine counts as loaded when it provides CreateControl_WindowEx.
bool SkinEngineLoaded();

// Loads the engine on the first call of the process and resolves its
// entries; later calls do nothing. Nothing is reported when no engine is
// found: each skinned control says so when it is created.
void LoadSkinEngineOnce();

// The library loader used for each candidate path (LoadLibraryA normally).
using SkinLibraryLoader = HMODULE (*)(const char* path);

// Tries the candidate locations in order and returns the first module that
// loads, or null:
//   1. <current directory>\SkinEngine.dll
//   2. <current directory>\lib\SkinEngine\SkinEngine.dll
//   3. SkinEngine.dll through the system's search
//   4. lib\SkinEngine\SkinEngine.dll
//   5. the path stored in C:\SkinEngine.ini, else D:\SkinEngine.ini
// The first two are built in a MAX_PATH buffer; one that does not fit is
// not tried. The stored path is used byte for byte (at most 255 bytes).
HMODULE FindSkinEngine(SkinLibraryLoader load);

// Seams for SkinUi's own tests; the product never calls them.
// Replaces LoadLibraryA for the engine search (null restores it).
void SetSkinLibraryLoaderForTesting(SkinLibraryLoader load);
// Empties the entry table and allows the next code-1 notice to search again.
// The module found before stays loaded.
void ForgetSkinEngineForTesting();
