// Which picture an item gets, decided from names alone: the item's own file
// name and the target its shortcut names (both any bytes the user's files
// hold).
#pragma once

// Only shortcuts get a picture, and only with the extension written exactly
// ".lnk".
bool IsShortcutItem(const char* path);

enum class TargetPicture { None, ProgramIcon, FolderPicture };

// A program's icon for a target whose extension is exactly ".exe" (not
// ".EXE"), the folder picture for a target the system reports as a folder,
// else none. The extension is read from `ownName`: the target's own name,
// which its path gives in short form where code page 936 cannot hold it.
TargetPicture PictureForTarget(const char* target, const char* ownName);
