#pragma once

// The whole program as its executable starts it: the command line, a pick
// handed to the running instance, the one-shot pick, the clipboard keeper and
// the main window. Returns the exit code.
namespace programstart {

int Run(int argc, char* argv[]);

} // namespace programstart
