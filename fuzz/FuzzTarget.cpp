// One libFuzzer target: ORVANE_FUZZ_ENTRY names the entry of FuzzEntries.h
// that receives the inputs; ORVANE_FUZZ_GUI asks for a QGuiApplication on
// the offscreen platform, as batch mode has one.

#include "FuzzEntries.h"

#include <QGuiApplication>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
#if ORVANE_FUZZ_GUI
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "orvane-fuzz";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
#endif
    orvane::fuzz::setup();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    orvane::fuzz::ORVANE_FUZZ_ENTRY(data, size);
    return 0;
}
