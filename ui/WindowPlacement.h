#pragma once
// The main window's placement in section "FormState": the normal (not
// maximised) rectangle as "Left", "Top", "Right", "Bottom" (right and bottom
// exclusive: Right - Left is the width) and "Maximized", plus "Saved". Rectangles are in
// device-independent pixels (the window system's logical coordinates), so a window
// keeps its size on a screen of another density.
#include <QRect>

#include <vector>

#include "settings/SettingsStore.h"

namespace lumbrel {

struct WindowPlacement {
    QRect normal;
    bool maximized = false;
};

// The placement to restore. Missing values default to `current` (the window's
// rectangle now). `screens` are the screens' free areas. When the top-left corner lies
// on none of them, the rectangle is moved so that its top-left corner is `home` (the
// top-left corner of the screen). Either way it then fits whole on its screen: made no
// larger than the screen and moved inside it.
WindowPlacement ReadWindowPlacement(const SettingsStore& store, const QRect& current,
                                    const std::vector<QRect>& screens, QPoint home);

// Writes "Maximized", then "Left", "Top", "Right", "Bottom", then "Saved" as yes.
void WriteWindowPlacement(SettingsStore& store, const WindowPlacement& placement);

}  // namespace lumbrel
