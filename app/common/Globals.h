// The program's six globals: created before the start window is loaded, freed
// by the exit routine.
#pragma once
#include <windows.h>
#include <cstdint>
#include "runtime/values/Values.h"

// One category of the panel: parallel arrays, element k describes item k.
struct LaunchCategory {
    ValueArray images;  // int32 image handles (owned by the skin engine)
    ValueArray paths;   // Text, full path of each item file (owned here)
    // ByteSet, the file's own name in UTF-16 when its path gives the short
    // name the file system keeps for it (its own has characters code page 936
    // lacks), else null; owned here. Null: no item has one.
    ValueArray ownNames = nullptr;
};

extern ValueArray ImageRegistry;  // int32: every image handle the scan obtained
extern ValueArray CategoryList;   // LaunchCategory records, in toolbar order
extern int32_t SavedScreenWidth;  // the primary screen's width: the slides move relative to it
extern LONG_PTR PanelPreviousWndProc;
extern int32_t CurrentCategory;
// 0 hidden, 1 shown, 32 sliding. Tested-and-set atomically by the slides.
extern volatile LONG PanelState;

constexpr LONG kPanelHidden = 0;
constexpr LONG kPanelShown = 1;
constexpr LONG kPanelSliding = 32;

void CreateGlobalLists();
void FreeGlobalLists();
// Frees an array of LaunchCategory records with their arrays and texts.
void FreeCategoryList(ValueArray categories);
