#pragma once
// The four styles of generated C. A diagram stores its default style as the
// caption of the menu command that generates it; the caption is the style's
// name wherever a user sees or a file keeps it.

#include <QString>

#include <optional>

namespace orvane {

enum class Methodology { SwitchCase, DirectPointers, PointerArray, Hierarchical };

inline const QString kCaptionPointerArray = QStringLiteral("&Pointer Array...");
inline const QString kCaptionDirectPointers = QStringLiteral("&Direct Pointers...");
inline const QString kCaptionSwitchCase = QStringLiteral("&Switch Case...");
inline const QString kCaptionHierarchical = QStringLiteral("&Hierarchical Switch Case...");

// The menu caption of a style.
inline const QString& methodologyCaption(Methodology m)
{
    switch (m) {
    case Methodology::SwitchCase:
        return kCaptionSwitchCase;
    case Methodology::DirectPointers:
        return kCaptionDirectPointers;
    case Methodology::PointerArray:
        return kCaptionPointerArray;
    case Methodology::Hierarchical:
        return kCaptionHierarchical;
    }
    return kCaptionSwitchCase;
}

}  // namespace orvane
