#include "app/ProgramStart.h"

// The windows as a module of their own, with Qt Gui, Qt Widgets and the rest
// of the program: the executable (app/main.cpp) loads it only once no running
// instance has taken a pick, so that handing a pick over costs Qt Core alone.
extern "C" __attribute__((visibility("default"))) int tintora_windows_main(int argc, char* argv[])
{
    return programstart::Run(argc, argv);
}
