#pragma once

// Colours the window code paints next to the skin pictures; the pictures are
// drawn on the same colours, so a strip and a picture on it meet without a seam.

#include <QColor>

namespace ep::palette {

inline const QColor kChrome{0xe9, 0xf0, 0xf8};        // toolbar strip, background of the tabs
inline const QColor kPage{0xf5, 0xf8, 0xfc};          // pop-up body and page panels
inline const QColor kQuestion{244, 245, 235};         // behind the question page
inline const QColor kActiveTitle{255, 255, 255};      // title text of the active window
inline const QColor kInactiveTitle{128, 128, 128};    // title text of an inactive window
inline const QColor kText{0x1e, 0x2f, 0x45};          // body text on the page colour
inline const QColor kFocus{0x17, 0x3f, 0x7a};         // keyboard focus ring on picture buttons
inline const QColor kNote{0x8a, 0x4b, 0x08};          // a note on the form of an answer: amber, never red or green

}  // namespace ep::palette
