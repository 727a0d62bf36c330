// The two folders beside QuickDock.exe that the program works with. Their
// names are part of what users see: the release ships them and the guide
// names them.
#pragma once

// The categories (its subfolders) and their items (the files in those).
constexpr char kQuickLaunchFolderName[] = "快速启动目录";
// Where each program icon passes through a short-lived ".ico" file.
constexpr char kIconScratchFolderName[] = "临时数据";
