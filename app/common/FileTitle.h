// The titles under which items are shown.
#pragma once
#include "runtime/values/Values.h"

// The file name of a path, without its extension unless keepExtension; null
// for a path that ends in "\" (a new text).
Text FileTitle(const char* path, bool keepExtension);
