// The program's entry: everything happens in runMain; the interactive road
// opens the window library.
#include "CommandLine.h"
#include "Modules.h"

#ifdef ORVANE_WITH_JEMALLOC
// The allocator's settings, read by jemalloc when the process starts. Big
// diagrams and long texts fill hundreds of megabytes of fresh memory, and
// with 4 KiB pages the page faults cost as much as the work itself (half of
// the time of a 5,000-state generation); 2 MiB pages make them rare. Memory
// is handed back to the system as before, after jemalloc's usual delay.
extern "C" {
extern const char* malloc_conf;
const char* malloc_conf = "thp:always,metadata_thp:auto,narenas:1";
}
#endif

int main(int argc, char** argv)
{
    return orvane::CommandLine::runMain(argc, argv, &orvane::Modules::runWindows);
}
