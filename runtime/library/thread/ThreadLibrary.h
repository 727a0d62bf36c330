// The thread library: one command, StartThread.
#pragma once

struct SupportLibrary;
const SupportLibrary& ThreadLibrary();
