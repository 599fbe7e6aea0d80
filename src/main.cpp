// The program's entry: everything happens in Main; the windows are its
// interactive road.
#include "WindowRoad.h"
#include "modMain.h"

int main(int argc, char** argv) { return orvane::modMain::Main(argc, argv, &orvane::RunWindows); }
