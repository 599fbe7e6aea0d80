#pragma once
// The inputs the fuzzers feed, run through the program's own entry points.
// The fuzz targets call these for every generated input; the regression test
// replays the kept inputs through the same functions. A fault shows as a
// crash, a sanitizer report, or a failed check that prints what broke and
// aborts.

#include <cstddef>
#include <cstdint>

namespace orvane::fuzz {

// Creates the private work folder the entries write into and points the
// debug log there. Call once before the first input.
void setup();

// The bytes as a diagram file: loaded, opened as a document (the load
// sequence), generated in every methodology (the hierarchical one with a
// child diagram CHILD.fsm beside the input and in its child folder),
// listed, and written as the HTML page text; then saved and loaded again,
// which must succeed and give the same list and code.
void diagramFile(const std::uint8_t* data, std::size_t size);

// The bytes as a diagram file drawn as a picture: the metafile, the SVG and
// the HTML page with its picture, which must leave the diagram as it was.
// Needs a QGuiApplication (the fonts measure and draw the texts).
void diagramPicture(const std::uint8_t* data, std::size_t size);

// The bytes as a command line: arguments separated by NUL bytes (no real
// argument holds one). Run in the work folder, which holds a few diagram
// files and folders that arguments may name; the error log goes there too.
void commandLine(const std::uint8_t* data, std::size_t size);

}  // namespace orvane::fuzz
