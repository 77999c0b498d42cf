#pragma once
// The main window's placement in section "FormState": the normal (not
// maximised) rectangle as "Left", "Top", "Right", "Bottom" (right and bottom
// exclusive: Right - Left is the width) and "Maximized", plus "Saved".
#include <QRect>

#include <vector>

#include "settings/SettingsStore.h"

namespace lumbrel {

struct WindowPlacement {
    QRect normal;
    bool maximized = false;
};

// The placement to restore. Missing values default to `current` (the window's
// rectangle now). When the top-left corner lies on none of `screens`, the rectangle is
// moved so that its top-left corner is `home` (the top-left corner of the screen).
WindowPlacement ReadWindowPlacement(const SettingsStore& store, const QRect& current,
                                    const std::vector<QRect>& screens, QPoint home);

// Writes "Maximized", then "Left", "Top", "Right", "Bottom", then "Saved" as yes.
void WriteWindowPlacement(SettingsStore& store, const WindowPlacement& placement);

}  // namespace lumbrel
