// The process entry: hands the program image header and the start routine to
// the runtime, which never returns.
#include <windows.h>

#include "app/ProgramImage.h"
#include "app/dock/StartUp.h"
#include "runtime/process/Runtime.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    RunProgram(kProgramHeader, StartUp);
}
