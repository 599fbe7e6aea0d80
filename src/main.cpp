// The program's entry: everything happens in runMain; the interactive road
// opens the window library.
#include "CommandLine.h"
#include "Modules.h"

int main(int argc, char** argv)
{
    return orvane::CommandLine::runMain(argc, argv, &orvane::Modules::runWindows);
}
