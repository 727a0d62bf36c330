// A program that only carries resources: the damaged icon groups of the
// hostile tests. It is never started.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    return 0;
}
