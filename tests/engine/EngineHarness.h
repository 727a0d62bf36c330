// Drives SkinEngine.dll the way the skinned-control layer does: loads it by
// name, makes wrapper windows with the layer's window procedure, creates
// controls over them and records the events the engine raises.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "tests/engine/SkinDataBuilder.h"
#include "engine/SkinEngineInterface.h"

struct EngineApi {
    HMODULE module = nullptr;
    CreateControlFn createWindowEx = nullptr;
    CreateControlFn createPictureBox = nullptr;
    CreateControlFn createToolbar = nullptr;
    CreateControlFn createListbox = nullptr;
    CreateControlFn createIcoListbox = nullptr;
    ControlSendMessageFn send = nullptr;
    ControPonintSizeSynchroniseFn synchronise = nullptr;
    ControlDestroyFn destroy = nullptr;
    ControlUpdateCacheFn updateCache = nullptr;
    LoadImageExFn loadImage = nullptr;
    DestroyImageExFn destroyImage = nullptr;
    CreateBinExFn createBin = nullptr;
    InsertButton_ToolbarExFn insertButton = nullptr;
    GetButtonCount_ToolbarExFn buttonCount = nullptr;
    SetButtonSelected_ToolbarExFn setButtonSelected = nullptr;
    InsertItem_IcoListboxExFn insertItem = nullptr;
    DeleteItem_IcoListboxExFn deleteItem = nullptr;
    DeleteButton_ToolbarExFn deleteButton = nullptr;
};
const EngineApi& Engine();

struct RecordedEvent {
    EngineControl control;
    int32_t code, a1, a2, a3, a4;
};
extern std::vector<RecordedEvent> gEvents;
// Runs inside the engine's callback, after the event is recorded.
extern std::function<void(const RecordedEvent&)> gOnEvent;
int32_t WINAPI RecordEvent(EngineControl control, int32_t code, int32_t a1, int32_t a2, int32_t a3,
                           int32_t a4);

// A plain window the controls sit on (a stand-in for the program's
// windows); left clicks that reach it are counted.
HWND MakeHost(HWND parent, int x, int y, int width, int height);
extern int gHostClicks;
// A wrapper window with the skinned-control layer's procedure.
HWND MakeWrapper(HWND host, int x, int y, int width, int height);
// Creates a control on a new wrapper; the result is the "Tab_Control" value.
EngineControl CreateOn(CreateControlFn create, HWND host, int x, int y, int width, int height,
                       const uint8_t* attributes, int32_t eventBase = 10,
                       HWND* wrapperOut = nullptr);
HWND WrapperOf(EngineControl control);

void Pump(DWORD milliseconds);
void Click(HWND wrapper, int x, int y);
void PostMouse(HWND window, UINT message, int x, int y, WPARAM keys = 0);

// Attribute access as the layer does it.
int32_t ReadAttribute(EngineControl control, int32_t index);
bool WriteAttribute(EngineControl control, int32_t index, int32_t value);

// Control attribute blocks.
Bytes WindowExBlock(int32_t opacity, const Bytes& skin);
Bytes PictureBoxBlock(const Bytes& skin, const Bytes& png);
Bytes ToolbarBlock(const Bytes& skin, int32_t buttonHeight = 36);
Bytes ListboxBlock(const Bytes& skin, const Bytes& items, int32_t visible);
Bytes IcoListboxBlock(const Bytes& skin, int32_t iconSize, int32_t cellWidth, int32_t cellHeight);
Bytes ColourSkin(int32_t kind);

// Screen pixels of a window (opaque 0xFFRRGGBB).
PixelImage Capture(HWND window);
bool SavePng(const PixelImage& image, const char* fileName);  // beside the test program
uint32_t Average(const PixelImage& image, int x, int y, int width, int height);
int CountMatching(const PixelImage& image, int x, int y, int width, int height,
                  const std::function<bool(uint32_t)>& test);
int Luma(uint32_t pixel);
int ColourDistance(uint32_t a, uint32_t b);
void InsertIcon(EngineControl list, int32_t image, const char* title);

// Counts of GDI objects and kernel handles in use. Where the system does not
// report them (Wine answers 0), they are estimated from the handle tables:
// a burst of new objects fills the free slots first, so the highest index it
// reaches grows with every object still held.
long GdiObjectsInUse();
long KernelHandlesInUse();
