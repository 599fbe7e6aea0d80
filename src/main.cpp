// The program's entry: everything happens in runMain; the windows are its
// interactive road.
#include "WindowRoad.h"
#include "CommandLine.h"

int main(int argc, char** argv)
{
    return orvane::CommandLine::runMain(argc, argv, &orvane::runWindows);
}
