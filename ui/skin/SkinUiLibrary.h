// SkinUi as a support library of the program image header.
#pragma once

struct SupportLibrary;
// The skin library's entry for the runtime's support-library table.
const SupportLibrary& SkinUiLibrary();
