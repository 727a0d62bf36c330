// The system library: one command, SetAutoStart.
#pragma once

struct SupportLibrary;
const SupportLibrary& SystemLibrary();

// The key whose values Windows starts at logon: below HKEY_LOCAL_MACHINE for
// every user, the same path below HKEY_CURRENT_USER for one. The release
// guide names it for turning automatic start off.
constexpr char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
