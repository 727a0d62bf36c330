// The table of the skin library's commands, in SkinCommand order.
#pragma once
#include "runtime/library/Commands.h"
#include "ui/skin/SkinCommands.h"

extern const CommandFn kSkinCommands[static_cast<int>(SkinCommand::Count)];
