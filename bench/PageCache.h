// Emptying the machine's page cache before a cold start, as at logon, when
// neither the program's files nor the shared libraries it loads have been
// read since the machine started.
#pragma once
#include <string>

// The host program that writes back and drops the cache (scripts/bench
// writes it; it needs root). Without one, cold figures are not taken.
void SetPageCacheDropper(const std::string& program);
bool PageCacheCanBeDropped();
// Drops the cache and waits until that is done; false when it failed.
bool DropPageCache();
