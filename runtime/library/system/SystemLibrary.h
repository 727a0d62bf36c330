// The system library: one command, SetAutoStart.
#pragma once

struct SupportLibrary;
const SupportLibrary& SystemLibrary();
