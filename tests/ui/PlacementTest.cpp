// The main window's placement in "FormState": restored on every showing, saved at
// closing; a position off every screen comes back at the top-left corner.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>

#include "UiTestSupport.h"
#include "ui/WindowPlacement.h"

namespace lumbrel::test {
namespace {

TEST(Placement, MissingValuesKeepTheCurrentRectangle) {
    const SettingsStore store = SettingsStore::InMemory();
    const WindowPlacement p =
        ReadWindowPlacement(store, QRect(40, 50, 700, 520), {QRect(0, 0, 1280, 800)}, {});
    EXPECT_EQ(p.normal, QRect(40, 50, 700, 520));
    EXPECT_FALSE(p.maximized);
}

TEST(Placement, OffEveryScreenComesBackAtTheTopLeftAndTooLargeWholeOnItsScreen) {
    const std::vector<QRect> two = {QRect(0, 0, 1280, 800), QRect(1280, 0, 1024, 768)};
    const std::vector<QRect> smaller = {QRect(0, 0, 1280, 800), QRect(1280, 0, 800, 600)};
    const struct {
        QRect stored;
        bool maximized;
        const std::vector<QRect>& screens;
        QRect normal;
    } rows[] = {
        {QRect(3000, -900, 700, 520), false, two, QRect(0, 0, 700, 520)},
        {QRect(1300, 100, 700, 520), true, two, QRect(1300, 100, 700, 520)},  // on the second it stays
        {QRect(1900, 100, 700, 900), false, smaller, QRect(1380, 0, 700, 600)},
    };
    for (const auto& row : rows) {
        SettingsStore store = SettingsStore::InMemory();
        Place(store, row.stored, row.maximized);
        const WindowPlacement p = ReadWindowPlacement(store, QRect(), row.screens, QPoint(0, 0));
        EXPECT_EQ(p.normal, row.normal);
        EXPECT_EQ(p.maximized, row.maximized);
    }
}

TEST(Placement, WrittenInOrder) {
    auto backend = std::make_shared<RecordingBackend>();
    SettingsStore store(backend);
    WriteWindowPlacement(store, {QRect(10, 20, 700, 600), true});
    EXPECT_EQ(backend->writes, (QStringList{"FormState/Maximized", "FormState/Left", "FormState/Top",
                                            "FormState/Right", "FormState/Bottom", "FormState/Saved"}));
    EXPECT_EQ(store.Read(keys::Right), 710);
    EXPECT_EQ(store.Read(keys::Bottom), 620);
    EXPECT_TRUE(store.Read(keys::Saved));
    EXPECT_EQ(store.ReadString("FormState", "Maximized", {}), "1");
}

TEST(Placement, WindowOffScreenComesBackAtTheTopLeft) {
    SettingsStore store = SettingsStore::InMemory();
    Place(store, QRect(-5000, -4000, 760, 560), false);
    WindowRig rig(store);
    rig.window->show();
    ProcessEvents();
    // At the corner, give or take the window frame that the platform adds.
    const QPoint home = QGuiApplication::primaryScreen()->availableGeometry().topLeft();
    EXPECT_LE((rig.window->geometry().topLeft() - home).manhattanLength(), 60)
        << rig.window->geometry().x() << "," << rig.window->geometry().y();
    EXPECT_EQ(rig.window->geometry().size(), QSize(760, 560));
}

TEST(Placement, WindowClosedMaximisedComesBackMaximised) {
    SettingsStore store = SettingsStore::InMemory();
    const QRect normal(30, 40, 760, 560);
    Place(store, normal, true);
    WindowRig rig(store);
    rig.window->show();
    ProcessEvents();
    EXPECT_TRUE(rig.window->isMaximized());
    EXPECT_EQ(rig.window->normalGeometry(), normal);
    rig.window->close();
    EXPECT_TRUE(store.Read(keys::Maximized));
    EXPECT_EQ(store.Read(keys::Left), 30);
    EXPECT_EQ(store.Read(keys::Right), 790);
    EXPECT_TRUE(store.Read(keys::Saved));
}

TEST(Placement, ShowingFromTheTrayTakesTheStoredPlacement) {
    SettingsStore store = SettingsStore::InMemory();
    WindowRig rig(store, /*trayAvailable=*/true);
    rig.window->show();
    ProcessEvents();
    const QRect stored(20, 30, 780, 570);
    Place(store, stored, false);
    rig.window->setGeometry(100, 100, 760, 560);
    rig.window->setWindowState(Qt::WindowMinimized);
    ProcessEvents();
    ASSERT_TRUE(rig.window->isHidden());
    rig.window->TrayIcon1Click();
    ProcessEvents();
    EXPECT_EQ(rig.window->geometry(), stored);
}

}  // namespace
}  // namespace lumbrel::test
