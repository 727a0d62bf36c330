#include "tests/launch/LaunchTestProgram.h"

#include "app/common/DeclaredFunctions.h"
#include "app/common/Globals.h"
#include "runtime/library/Commands.h"
#include "runtime/library/core/CoreCommandList.h"
#include "runtime/external/ExternalFunctions.h"
#include "runtime/library/icon/IconLibrary.h"
#include "runtime/process/Runtime.h"
#include "runtime/process/RuntimeState.h"
#include "runtime/library/shell/ShellLibrary.h"
#include "runtime/library/system/SystemLibrary.h"
#include "runtime/library/thread/ThreadLibrary.h"
#include "ui/description/FolderImage.h"

namespace {

std::vector<SkinCall> gCalls;
int32_t gNextImage = 100;

void Record(SkinCommand command, int32_t argCount, ArgumentRecord* args, SkinCall* call = nullptr) {
    SkinCall local;
    SkinCall& c = call ? *call : local;
    c.command = command;
    c.args.assign(args, args + argCount);
    gCalls.push_back(c);
}

void LoadImageEx(ResultRecord* result, int32_t argCount, ArgumentRecord* args) {
    SkinCall call;
    ByteSet bytes = argCount > 0 ? args[0].AsByteSet() : nullptr;
    call.folderImage = bytes && bytes == FolderImage();
    if (bytes) call.bytes.assign(ByteSetBytes(bytes), ByteSetBytes(bytes) + ByteSetLength(bytes));
    Record(SkinCommand::LoadImageEx, argCount, args, &call);
    SetResultInt(result, gNextImage++);
}
void DestroyImageEx(ResultRecord*, int32_t n, ArgumentRecord* a) {
    Record(SkinCommand::DestroyImageEx, n, a);
}
void ControlUpdateCache(ResultRecord*, int32_t n, ArgumentRecord* a) {
    Record(SkinCommand::ControlUpdateCache, n, a);
}
void InsertButton(ResultRecord*, int32_t argCount, ArgumentRecord* args) {
    SkinCall call;
    if (argCount > 4) call.text = TextOrEmpty(args[4].AsText());
    Record(SkinCommand::InsertButton_ToolbarEx, argCount, args, &call);
}
void GetButtonCount(ResultRecord* result, int32_t n, ArgumentRecord* a) {
    int32_t buttons = static_cast<int32_t>(SkinCallsOf(SkinCommand::InsertButton_ToolbarEx).size());
    Record(SkinCommand::GetButtonCount_ToolbarEx, n, a);
    SetResultInt(result, buttons);
}
void SetButtonSelected(ResultRecord*, int32_t n, ArgumentRecord* a) {
    Record(SkinCommand::SetButtonSelected_ToolbarEx, n, a);
}
void InsertItem(ResultRecord*, int32_t n, ArgumentRecord* a) {
    Record(SkinCommand::InsertItem_IcoListboxEx, n, a);
}
void DeleteItem(ResultRecord*, int32_t n, ArgumentRecord* a) {
    Record(SkinCommand::DeleteItem_IcoListboxEx, n, a);
}
void DeleteButton(ResultRecord*, int32_t n, ArgumentRecord* a) {
    Record(SkinCommand::DeleteButton_ToolbarEx, n, a);
}

const CommandFn kStandInCommands[static_cast<int>(SkinCommand::Count)] = {
    LoadImageEx,       DestroyImageEx, ControlUpdateCache, InsertButton, GetButtonCount,
    SetButtonSelected, InsertItem,     DeleteItem,         DeleteButton};

const SupportLibrary kStandInSkin = {"3F7A19C2D8E44B05A6C1E29B7D30F586",
                                     "SKINUI20210101",
                                     2021,
                                     1,
                                     1,
                                     nullptr,
                                     kStandInCommands,
                                     static_cast<int32_t>(SkinCommand::Count),
                                     nullptr,
                                     0};

// The icon library with seams around its one command: the test may act on
// the target name (take it, swap a file in) after the caller chose it and
// before the write, or after the write.
void (*gBeforeIconSave)(const char* target) = nullptr;
void (*gAfterIconSave)(const char* target) = nullptr;

void SaveIconThroughSeam(ResultRecord* result, int32_t n, ArgumentRecord* a) {
    if (gBeforeIconSave && n > 2) gBeforeIconSave(TextOrEmpty(a[2].AsText()));
    IconLibrary().commands[static_cast<int>(IconCommand::SaveIconToFile)](result, n, a);
    if (gAfterIconSave && n > 2) gAfterIconSave(TextOrEmpty(a[2].AsText()));
}

const CommandFn kIconSeamCommands[] = {SaveIconThroughSeam};
SupportLibrary gIconSeam = {};

const SupportLibrary* gLibraries[kSupportLibraryCount] = {};
ProgramImageHeader gHeader = {};

}  // namespace

void InstallLaunchTestProgram() {
    if (!CurrentProgramHeader()) {
        gLibraries[kCoreLibrary] = &CoreLibrary();
        gLibraries[kSkinLibrary] = &kStandInSkin;
        gLibraries[kThreadLibrary] = &ThreadLibrary();
        gLibraries[kSystemLibrary] = &SystemLibrary();
        gIconSeam = IconLibrary();
        gIconSeam.commands = kIconSeamCommands;
        gLibraries[kIconLibrary] = &gIconSeam;
        gLibraries[kShellLibrary] = &ShellLibrary();
        gHeader.buildMode = 3;
        gHeader.constantData = kFolderImageBlock;
        gHeader.constantDataSize = kFolderImageBlockSize;
        gHeader.supportLibraryCount = kSupportLibraryCount;
        gHeader.supportLibraries = gLibraries;
        gHeader.externalFunctionCount = kExternalFunctionCount;
        gHeader.externalDllNames = kExternalDllNames;
        gHeader.externalFunctionNames = kExternalFunctionNames;
        SetProgramHeader(&gHeader);
        InitializeExternalFunctions(gHeader);
    }
    gCalls.clear();
    gBeforeIconSave = nullptr;
    gAfterIconSave = nullptr;
}

void SetBeforeIconSave(void (*hook)(const char* target)) {
    gBeforeIconSave = hook;
}

void SetAfterIconSave(void (*hook)(const char* target)) {
    gAfterIconSave = hook;
}

std::vector<SkinCall>& SkinCalls() {
    return gCalls;
}

std::vector<SkinCall> SkinCallsOf(SkinCommand command) {
    std::vector<SkinCall> calls;
    for (const SkinCall& c : gCalls) {
        if (c.command == command) calls.push_back(c);
    }
    return calls;
}

void SetTestRunDirectory(const std::string& directory) {
    SetRuntimeRunDirectory(directory.c_str());
}

void InstallLaunchTestProgramIn(const std::string& directory) {
    InstallLaunchTestProgram();
    SetTestRunDirectory(directory);
    ResetGlobalLists();
}

void ResetGlobalLists() {
    FreeGlobalLists();
    CreateGlobalLists();
}
