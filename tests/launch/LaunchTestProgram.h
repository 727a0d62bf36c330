// A program image header for the launch tests: the real core, thread, system,
// icon and shell libraries, a recording stand-in for the skin library, the
// declared external functions, and the folder picture as constant data.
#pragma once
#include <string>
#include <vector>

#include "runtime/values/Records.h"
#include "ui/skin/SkinCommands.h"

struct SkinCall {
    SkinCommand command;
    std::vector<ArgumentRecord> args;
    std::string text;            // title of an inserted button
    std::vector<uint8_t> bytes;  // image bytes handed to LoadImageEx
    bool folderImage = false;    // LoadImageEx got the built-in folder picture
};

// Installs the header once; clears the recorded calls.
void InstallLaunchTestProgram();
std::vector<SkinCall>& SkinCalls();
std::vector<SkinCall> SkinCallsOf(SkinCommand command);
void SetTestRunDirectory(const std::string& directory);
// Called with the target of every icon save, just before the icon library
// writes it, and just after (null: none). Reset by InstallLaunchTestProgram.
void SetBeforeIconSave(void (*hook)(const char* target));
void SetAfterIconSave(void (*hook)(const char* target));
// InstallLaunchTestProgram with `directory` as the run folder and the global
// lists empty.
void InstallLaunchTestProgramIn(const std::string& directory);
// Frees the global lists and makes them anew, empty.
void ResetGlobalLists();
