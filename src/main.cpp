// The program's entry: everything happens in Main.
#include "modMain.h"

int main(int argc, char** argv) { return orvane::modMain::Main(argc, argv); }
