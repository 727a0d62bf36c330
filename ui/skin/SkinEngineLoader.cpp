#include "ui/skin/SkinEngineLoader.h"

#include <cstring>

#include "runtime/win32/ScopedOwners.h"

namespace {

SkinEngineEntries gEngine{};
bool gEngineSearched = false;
SkinLibraryLoader gLoader = nullptr;  // null: LoadLibraryA

HMODULE LoadWithSystem(const char* path) {
    return LoadLibraryA(path);
}

constexpr char kEngineFileName[] = "SkinEngine.dll";
constexpr char kEngineBesideSuffix[] = "\\SkinEngine.dll";
constexpr char kEngineSubfolderSuffix[] = "\\lib\\SkinEngine\\SkinEngine.dll";
constexpr char kEngineSubfolderPath[] = "lib\\SkinEngine\\SkinEngine.dll";
constexpr DWORD kPathBufferSize = MAX_PATH;
constexpr DWORD kStoredPathMaxBytes = 255;

HANDLE OpenSettingsFile(const char* path) {
    return CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

// <current directory><suffix> in the fixed buffer; false when it does not fit
// (or the current directory cannot be read at all).
bool BuildBesideCandidate(const char* suffix, char (&buffer)[kPathBufferSize]) {
    DWORD length = GetCurrentDirectoryA(kPathBufferSize, buffer);
    if (length == 0 || length >= kPathBufferSize) return false;
    size_t suffixLength = std::strlen(suffix);
    if (length + suffixLength + 1 > kPathBufferSize) return false;
    std::memcpy(buffer + length, suffix, suffixLength + 1);
    return true;
}

// The stored path is handed on exactly as read, line break and all: the
// file holds nothing but the path.
HMODULE LoadFromSettingsFile(SkinLibraryLoader load) {
    ScopedFileHandle file(OpenSettingsFile("C:\\SkinEngine.ini"));
    if (!file.Valid()) file.Reset(OpenSettingsFile("D:\\SkinEngine.ini"));
    if (!file.Valid()) return nullptr;
    char path[kStoredPathMaxBytes + 1] = {};
    DWORD read = 0;
    if (!ReadFile(file.Get(), path, kStoredPathMaxBytes, &read, nullptr)) read = 0;
    path[read] = '\0';
    return load(path);
}

template <typename Fn>
void Resolve(HMODULE module, const char* name, Fn* entry) {
    *entry = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

void ResolveEntries(HMODULE module, SkinEngineEntries* e) {
    Resolve(module, "CreateControl_WindowEx", &e->createWindowEx);
    Resolve(module, "CreateControl_PictureBoxEx", &e->createPictureBoxEx);
    Resolve(module, "CreateControl_ToolbarEx", &e->createToolbarEx);
    Resolve(module, "CreateControl_ListboxEx", &e->createListboxEx);
    Resolve(module, "CreateControl_IcoListboxEx", &e->createIcoListboxEx);
    Resolve(module, "ControlSendMessage", &e->controlSendMessage);
    Resolve(module, "ControPonintSizeSynchronise", &e->controPonintSizeSynchronise);
    Resolve(module, "ControlDestroy", &e->controlDestroy);
    Resolve(module, "ControlUpdateCache", &e->controlUpdateCache);
    Resolve(module, "LoadImageEx", &e->loadImageEx);
    Resolve(module, "DestroyImageEx", &e->destroyImageEx);
    Resolve(module, "CreateBinEx", &e->createBinEx);
    Resolve(module, "InsertButton_ToolbarEx", &e->insertButtonToolbarEx);
    Resolve(module, "GetButtonCount_ToolbarEx", &e->getButtonCountToolbarEx);
    Resolve(module, "SetButtonSelected_ToolbarEx", &e->setButtonSelectedToolbarEx);
    Resolve(module, "InsertItem_IcoListboxEx", &e->insertItemIcoListboxEx);
    Resolve(module, "DeleteItem_IcoListboxEx", &e->deleteItemIcoListboxEx);
    Resolve(module, "DeleteButton_ToolbarEx", &e->deleteButtonToolbarEx);
}

}  // namespace

const SkinEngineEntries& SkinEngine() {
    return gEngine;
}

bool SkinEngineLoaded() {
    return gEngine.createWindowEx != nullptr;
}

HMODULE FindSkinEngine(SkinLibraryLoader load) {
    char path[kPathBufferSize];
    HMODULE module = nullptr;
    if (BuildBesideCandidate(kEngineBesideSuffix, path)) module = load(path);
    if (!module && BuildBesideCandidate(kEngineSubfolderSuffix, path)) module = load(path);
    if (!module) module = load(kEngineFileName);
    if (!module) module = load(kEngineSubfolderPath);
    if (!module) module = LoadFromSettingsFile(load);
    return module;
}

void LoadSkinEngineOnce() {
    if (gEngineSearched) return;
    gEngineSearched = true;
    HMODULE module = FindSkinEngine(gLoader ? gLoader : LoadWithSystem);
    if (module) ResolveEntries(module, &gEngine);
}

void SetSkinLibraryLoaderForTesting(SkinLibraryLoader load) {
    gLoader = load;
}

void ForgetSkinEngineForTesting() {
    gEngine = SkinEngineEntries{};
    gEngineSearched = false;
}
