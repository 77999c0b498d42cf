#include "ui/WindowPlacement.h"

namespace lumbrel {
namespace {

int ReadInt(const SettingsStore& store, const keys::IntKey& key, int def)
{
    return store.ReadInteger(QString::fromLatin1(key.section), QString::fromLatin1(key.name), def);
}

}  // namespace

WindowPlacement ReadWindowPlacement(const SettingsStore& store, const QRect& current,
                                    const std::vector<QRect>& screens, QPoint home)
{
    const int left = ReadInt(store, keys::Left, current.x());
    const int top = ReadInt(store, keys::Top, current.y());
    const int right = ReadInt(store, keys::Right, current.x() + current.width());
    const int bottom = ReadInt(store, keys::Bottom, current.y() + current.height());

    WindowPlacement p;
    // A rectangle without area (a hand-edited store) keeps the current size.
    const int width = right > left ? right - left : current.width();
    const int height = bottom > top ? bottom - top : current.height();
    p.normal = QRect(left, top, width, height);

    bool onScreen = false;
    for (const QRect& screen : screens)
        onScreen = onScreen || screen.contains(p.normal.topLeft());
    if (!onScreen)
        p.normal.moveTopLeft(home);

    p.maximized = store.Read(keys::Maximized);
    return p;
}

void WriteWindowPlacement(SettingsStore& store, const WindowPlacement& placement)
{
    const QRect& r = placement.normal;
    store.Write(keys::Maximized, placement.maximized);
    store.Write(keys::Left, r.x());
    store.Write(keys::Top, r.y());
    store.Write(keys::Right, r.x() + r.width());
    store.Write(keys::Bottom, r.y() + r.height());
    store.Write(keys::Saved, true);
}

}  // namespace lumbrel
