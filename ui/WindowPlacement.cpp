#include "ui/WindowPlacement.h"

#include <algorithm>

namespace lumbrel {
namespace {

int ReadInt(const SettingsStore& store, const keys::IntKey& key, int def) {
    return store.ReadInteger(QString::fromLatin1(key.section), QString::fromLatin1(key.name), def);
}

}  // namespace

WindowPlacement ReadWindowPlacement(const SettingsStore& store, const QRect& current,
                                    const std::vector<QRect>& screens, QPoint home) {
    const int left = ReadInt(store, keys::Left, current.x());
    const int top = ReadInt(store, keys::Top, current.y());
    const int right = ReadInt(store, keys::Right, current.x() + current.width());
    const int bottom = ReadInt(store, keys::Bottom, current.y() + current.height());

    WindowPlacement p;
    // A rectangle without area (a hand-edited store) keeps the current size.
    const int width = right > left ? right - left : current.width();
    const int height = bottom > top ? bottom - top : current.height();
    p.normal = QRect(left, top, width, height);

    const QRect* onScreen = nullptr;
    for (const QRect& screen : screens)
        if (!onScreen && screen.contains(p.normal.topLeft()))
            onScreen = &screen;
    if (!onScreen) {
        p.normal.moveTopLeft(home);
        for (const QRect& screen : screens)
            if (!onScreen && screen.contains(home))
                onScreen = &screen;
    }
    if (onScreen) {
        // Shown whole: no larger than the screen, and inside it.
        const QRect& screen = *onScreen;
        p.normal.setSize(p.normal.size().boundedTo(screen.size()));
        p.normal.moveLeft(
            std::clamp(p.normal.left(), screen.left(), screen.left() + screen.width() - p.normal.width()));
        p.normal.moveTop(
            std::clamp(p.normal.top(), screen.top(), screen.top() + screen.height() - p.normal.height()));
    }

    p.maximized = store.Read(keys::Maximized);
    return p;
}

void WriteWindowPlacement(SettingsStore& store, const WindowPlacement& placement) {
    const QRect& r = placement.normal;
    store.Write(keys::Maximized, placement.maximized);
    store.Write(keys::Left, r.x());
    store.Write(keys::Top, r.y());
    store.Write(keys::Right, r.x() + r.width());
    store.Write(keys::Bottom, r.y() + r.height());
    store.Write(keys::Saved, true);
}

}  // namespace lumbrel
