// Seams for SkinUi's own tests. The product never calls these.
#pragma once
#include <windows.h>
#include "ui/skin/SkinEngineLoader.h"

// Replaces LoadLibraryA for the engine search (null restores it).
void SetSkinLibraryLoaderForTesting(SkinLibraryLoader load);
// Empties the entry table and allows the next code-1 notice to search again.
// The module found before stays loaded.
void ForgetSkinEngineForTesting();

// Replaces MessageBoxA for the missing-engine warning (null restores it).
using SkinWarningBoxFn = int (*)(HWND owner, const char* text, const char* caption, UINT type);
void SetSkinWarningBoxForTesting(SkinWarningBoxFn box);
