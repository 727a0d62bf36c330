// The shell library: reading shortcuts and opening files through the shell.
// (Kept apart from the shell's own headers, which use the same name.)
#pragma once

struct SupportLibrary;
const SupportLibrary& ShellLibrary();
