#pragma once

// The program as the executable starts it once no running instance took a
// pick (programstart::HandOverPick): the command line's answers, the
// one-shot pick, the clipboard keeper and the main window. Returns the exit
// code.
namespace programstart {

int Run(int argc, char* argv[]);

} // namespace programstart
