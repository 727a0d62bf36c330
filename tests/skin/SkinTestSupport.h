// Shared pieces of SkinUi's tests: folders, the recording engine's test
// exports, a parent window, and control creation through the type table.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "runtime/windows/ComponentTypes.h"
#include "engine/SkinEngineInterface.h"

namespace skin_test {

// The folder of the test program, without a trailing backslash.
std::string ProgramFolder();
// bin\skin_recording and bin\skin_partial: the two builds of the recording engine.
std::string RecordingEngineFolder();
std::string PartialEngineFolder();

// A new empty folder under the temporary folder; removed with its content on
// destruction.
class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& Path() const { return path_; }

  private:
    std::string path_;
};
void RemoveTree(const std::string& path);

// Restores the current directory on destruction.
class CurrentDirectoryGuard {
  public:
    CurrentDirectoryGuard();
    ~CurrentDirectoryGuard();

  private:
    std::string saved_;
};

// The test exports of the recording engine loaded from `folder`.
class RecordingEngine {
  public:
    explicit RecordingEngine(const std::string& folder);
    bool Present() const { return module_ != nullptr; }
    std::vector<std::string> Lines() const;
    void Clear() const { clear_(); }
    int32_t Fire(EngineControl control, int32_t code, int32_t a1 = 0, int32_t a2 = 0,
                 int32_t a3 = 0, int32_t a4 = 0) const {
        return fire_(control, code, a1, a2, a3, a4);
    }
    void SetCreationEvent(int32_t code) const { creationEvent_(code); }
    void SetBlockAnswer(int32_t page, int32_t length, bool none) const {
        blockAnswer_(page, length, none ? 1 : 0);
    }

  private:
    HMODULE module_ = nullptr;
    const char* (*log_)() = nullptr;
    void (*clear_)() = nullptr;
    int32_t (*fire_)(EngineControl, int32_t, int32_t, int32_t, int32_t, int32_t) = nullptr;
    void (*creationEvent_)(int32_t) = nullptr;
    void (*blockAnswer_)(int32_t, int32_t, int32_t) = nullptr;
};

// A hidden top-level window to hold skinned controls.
HWND CreateParentWindow();

// With the fake runtime (FakeSkinSetup.cpp):
// Creates a control of type number `typeNumber` of the skin library through
// its component type, and makes it findable by the fake runtime.
RuntimeWindowObject CreateSkinControl(int typeNumber, HWND parent, uint32_t windowId,
                                      uint32_t componentId, const uint8_t* attributes = nullptr,
                                      uint32_t attributeSize = 0, int32_t left = 4, int32_t top = 4,
                                      int32_t width = 24, int32_t height = 24,
                                      UINT controlId = 100);
const ComponentType& SkinType(int typeNumber);

// Hands SkinUi the fake runtime with a fresh engine search from `folder`
// as the current directory (the search also looks at the system's paths).
void StartSkinUiIn(const std::string& folder);

EngineControl EngineControlOf(RuntimeWindowObject object);

}  // namespace skin_test
