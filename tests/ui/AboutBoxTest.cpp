// The about box: the version line from the build's version, and the web link.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include "UiTestSupport.h"
#include "ui/AboutBox.h"
#include "ui_AboutBox.h"

namespace lumbrel::test {
namespace {

TEST(AboutBox, VersionText) {
    EXPECT_EQ(VersionText(QStringLiteral("2.10.3.7")), "Version 2.10.3");
    EXPECT_EQ(VersionText(QStringLiteral("0.1.0")), "Version 0.1.0");
    EXPECT_EQ(VersionText(QStringLiteral("65535.32768.1")), "Version -1.-32768.1");
    EXPECT_EQ(VersionText(QStringLiteral("3")), "Version 3.0.0");
}

TEST(AboutBox, ShowsTheBuildVersionOnEveryShowing) {
    AboutDialog about;
    about.Form().VersionLabel->clear();
    about.show();
    ProcessEvents();
    EXPECT_EQ(about.Form().VersionLabel->text(), VersionText(QStringLiteral(LUMBREL_VERSION)));
    about.hide();
    about.Form().VersionLabel->clear();
    about.show();
    EXPECT_FALSE(about.Form().VersionLabel->text().isEmpty());
    about.hide();
}

TEST(AboutBox, LinkMethodAndMp3Help) {
    AboutDialog about;
    EXPECT_EQ(about.LinkAddress().toString(), QStringLiteral("http://") + AboutDialog::kWebAddress);
    EXPECT_TRUE(about.Form().Label4->text().contains(AboutDialog::kWebAddress));
    EXPECT_EQ(about.Form().Label4->toolTip(), "Click here to see the Website");
    EXPECT_TRUE(about.Form().Memo1->isReadOnly());
    EXPECT_TRUE(about.Form().Memo1->toPlainText().contains("90 percent"));
    EXPECT_EQ(about.Form().Label5->text(), "Comments and Bug Reports to:");
    int opened = 0;
    about.SetMp3HelpAction([&] { ++opened; });
    about.Form().Button1->click();
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(about.Form().Button1->text(), "MP3 Recording");
}

}  // namespace
}  // namespace lumbrel::test
