#include "app/ProgramStart.h"

int main(int argc, char* argv[])
{
    return programstart::Run(argc, argv);
}
