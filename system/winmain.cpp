// Entry point: the whole life of the process is RunProgram's.
#include <windows.h>

#include "startup.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return RunProgram(); }
