// The setup dialog reads every key it edits at its showing and writes every one,
// in order, when OK is clicked.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>

#include "UiTestSupport.h"
#include "ui/Configure.h"
#include "ui/ControlWidgets.h"
#include "ui/SendSetup.h"

namespace lumbrel::test {
namespace {

struct SetupRig {
    SetupRig() : backend(std::make_shared<RecordingBackend>()), store(backend), dialog(store) {}
    ~SetupRig() { dialog.hide(); }

    void Show(int count) {
        dialog.SetCharacterCount(count);
        dialog.show();
        ProcessEvents();
    }
    void Ok() {
        backend->writes.clear();
        dialog.OkayButton()->click();
    }

    std::shared_ptr<RecordingBackend> backend;
    SettingsStore store;
    ConfigureDialog dialog;
};

TEST(SetupDialog, CaptionPagesAndNoWayOutButOk) {
    SetupRig rig;
    EXPECT_EQ(rig.dialog.windowTitle(), "Configure Codes");
    EXPECT_EQ(rig.dialog.Pages()->count(), 4);
    EXPECT_EQ(rig.dialog.Pages()->tabText(0), "General Setup");
    EXPECT_EQ(rig.dialog.Pages()->tabText(1), "Morse Character Setup");
    EXPECT_EQ(rig.dialog.Pages()->tabText(2), "Common Words");
    EXPECT_EQ(rig.dialog.Pages()->tabText(3), "Sending");
    EXPECT_EQ(rig.dialog.OkayButton()->toolTip(), "Finished!");
    EXPECT_FALSE(rig.dialog.windowFlags() &
                 (Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    rig.Show(5);
    EXPECT_EQ(rig.dialog.minimumSize(), rig.dialog.maximumSize());  // a dialog frame of fixed size
    rig.dialog.reject();
    EXPECT_TRUE(rig.dialog.isVisible());
    rig.dialog.close();
    EXPECT_TRUE(rig.dialog.isVisible());
    rig.Ok();
    EXPECT_FALSE(rig.dialog.isVisible());
    EXPECT_EQ(rig.dialog.result(), QDialog::Accepted);
}

#ifndef Q_OS_WIN
TEST(SetupDialog, TheCallbackNoteSpeaksOfThisSystem) {
    SetupRig rig;
    rig.Show(5);
    // No advice about Windows libraries; the box keeps its object, key and meaning.
    for (const QWidget* w : rig.dialog.findChildren<QWidget*>()) {
        QString text = w->toolTip();
        if (const auto* label = qobject_cast<const QLabel*>(w))
            text += label->text();
        else if (const auto* button = qobject_cast<const QAbstractButton*>(w))
            text += button->text();
        EXPECT_FALSE(text.contains("Windows") || text.contains(".DLL", Qt::CaseInsensitive))
            << w->objectName().toStdString() << ": " << text.toStdString();
    }
    EXPECT_EQ(rig.dialog.CallbackCheckBox()->text(), "Use Sound System Callbacks");
    EXPECT_TRUE(rig.dialog.findChild<QLabel*>("Label3")->text().contains("sound system's own thread"));
}
#endif

TEST(SetupDialog, ShowingReadsEveryKeyAndAnEmptyStoreShowsTheDefaults) {
    using D = ConfigureDialog;
    const struct {
        const keys::IntKey* key;
        int stored;
        QVariant (*shown)(D&);
        QVariant byDefault, whenStored;
    } rows[] = {
        {&keys::Callback, 1, [](D& d) -> QVariant { return d.CallbackCheckBox()->isChecked(); }, false, true},
        {&keys::Port, 3, [](D& d) -> QVariant { return d.ComPortRadioGroup()->Index(); }, 0, 3},
        {&keys::Pause, 7, [](D& d) -> QVariant { return d.StartingPauseSpinEdit()->value(); }, 1,
         7},  // not the designed 5
        {&keys::UseMfj, 1, [](D& d) -> QVariant { return d.MFJOrderCheckBox()->isChecked(); }, false, true},
        {&keys::SpeedDitherSize, 1, [](D& d) -> QVariant { return d.SpeedDitherSize()->Index(); }, 0, 1},
        {&keys::StraightKeyFist, 1, [](D& d) -> QVariant { return d.StraightKeyFistRadioGroup()->Index(); },
         0, 1},
        {&keys::FavourRecent, 1, [](D& d) -> QVariant { return d.RecentAdditionsCheckBox()->isChecked(); },
         false, true},
        {&keys::FavourMissed, 1, [](D& d) -> QVariant { return d.FavourMissedCheckBox()->isChecked(); },
         false, true},
        {&keys::Mp3BitRate, 5, [](D& d) -> QVariant { return d.MP3ComboBox()->currentText(); }, "32 Kbps",
         "96 Kbps"},
        {&keys::EffectiveMode, 1, [](D& d) -> QVariant { return d.EffectiveSpeedRadioGroup()->Index(); }, 0,
         1},
        {&keys::CommonWordsSize, 2, [](D& d) -> QVariant { return d.CommonWordsGroupBox()->Index(); }, 0, 2},
        {&keys::MaxWordLength, 9, [](D& d) -> QVariant { return d.WordLengthSpinEdit()->value(); }, 20, 9},
        {&keys::WordFilter, 0b101, [](D& d) -> QVariant { return d.WordFilter(); }, 0x3FFFFFFu, 0b101u},
    };
    SetupRig empty;
    SetupRig stored;
    for (const auto& row : rows)
        stored.store.Write(*row.key, row.stored);
    stored.store.Write(keys::Session, 30);  // read at creation only
    EXPECT_EQ(empty.dialog.SessionLength(), 5);
    empty.Show(5);
    stored.Show(5);
    for (const auto& row : rows) {
        EXPECT_EQ(row.shown(empty.dialog), row.byDefault) << row.key->name;
        EXPECT_EQ(row.shown(stored.dialog), row.whenStored) << row.key->name;
    }
    for (int n = 0; n < ConfigureDialog::kLetterBoxes; ++n) {
        EXPECT_EQ(empty.dialog.LetterBox(n)->text(), QString(QChar(u'A' + n)));
        EXPECT_TRUE(empty.dialog.LetterBox(n)->isChecked());
        EXPECT_EQ(stored.dialog.LetterBox(n)->isChecked(), n == 0 || n == 2) << n;
    }
    EXPECT_EQ(stored.dialog.SessionLength(), 5);
}

TEST(SetupDialog, OkWritesEveryKeyInOrder) {
    SetupRig rig;
    rig.Show(5);
    rig.dialog.SessionLengthSpinEdit()->setValue(15);
    rig.dialog.StartingPauseSpinEdit()->setValue(3);
    rig.dialog.ComPortRadioGroup()->Button(2)->click();
    rig.dialog.StraightKeyFistRadioGroup()->Button(1)->click();
    rig.dialog.EffectiveSpeedRadioGroup()->Button(1)->click();
    rig.dialog.CommonWordsGroupBox()->Button(3)->click();
    rig.dialog.MP3ComboBox()->setCurrentIndex(7);
    rig.dialog.WordLengthSpinEdit()->setValue(50);
    rig.dialog.RecentAdditionsCheckBox()->setChecked(true);
    rig.dialog.FavourMissedCheckBox()->setChecked(true);
    auto* sending = rig.dialog.findChild<SendingSetupPage*>();
    sending->ModeBox()->setCurrentIndex(3);
    sending->SpeedBox()->setValue(72);  // above the fastest: 60
    sending->KeyRigBox()->click();
    rig.Ok();
    EXPECT_EQ(rig.store.Read(keys::KeyRig), 1);
    rig.Show(5);
    EXPECT_TRUE(sending->KeyRigBox()->isChecked()) << "read back when Setup shows again";
    EXPECT_EQ(rig.store.Read(keys::SendingMode), 3);
    EXPECT_EQ(rig.store.Read(keys::SendingSpeed), 60);
    EXPECT_EQ(rig.store.Read(keys::DitKeyCode), 37);
    const QStringList expected = {"Setup/Callback",
                                  "Setup/Session",
                                  "Setup/Pause",
                                  "Setup/Port",
                                  "Setup/Port Device",
                                  "Setup/Use MFJ",
                                  "Setup/Speed Dither Size",
                                  "Setup/Straight Key Fist",
                                  "Setup/Favour Recent",
                                  "Setup/Favour Missed",
                                  "Setup/Introduce Character",
                                  "Setup/Group Length",
                                  "Setup/MP3 Bit Rate",
                                  "Setup/Effective Mode",
                                  "Setup/Session1",
                                  "Setup/Session2",
                                  "Setup/Word Filter",
                                  "Setup/Common Words Size",
                                  "Setup/Max Word Length",
                                  "Sending/Keyer Mode",
                                  "Sending/Keyer Speed",
                                  "Sending/Weighting",
                                  "Sending/Dash Ratio",
                                  "Sending/Dot Memory",
                                  "Sending/Sidetone Volume",
                                  "Sending/Dit Key",
                                  "Sending/Dah Key",
                                  "Sending/Straight Key",
                                  "Sending/Serial Key Device",
                                  "Sending/MIDI Key",
                                  "Sending/MIDI Port",
                                  "Sending/Key Rig"};
    EXPECT_EQ(rig.backend->writes, expected);
    EXPECT_EQ(rig.store.Read(keys::Callback), 0);
    EXPECT_EQ(rig.store.Read(keys::Session), 15);
    EXPECT_EQ(rig.store.Read(keys::Pause), 3);
    EXPECT_EQ(rig.store.Read(keys::Port), 2);
    EXPECT_EQ(rig.store.Read(keys::UseMfj), 0);
    EXPECT_EQ(rig.store.Read(keys::SpeedDitherSize), 0);
    EXPECT_EQ(rig.store.Read(keys::StraightKeyFist), 1);
    EXPECT_EQ(rig.store.Read(keys::FavourRecent), 1);
    EXPECT_EQ(rig.store.Read(keys::FavourMissed), 1);
    EXPECT_EQ(rig.store.Read(keys::Mp3BitRate), 7);
    EXPECT_EQ(rig.store.Read(keys::EffectiveMode), 1);
    EXPECT_EQ(rig.store.Read(keys::Session1), 0x1F);
    EXPECT_EQ(rig.store.Read(keys::Session2), 0);
    EXPECT_EQ(rig.store.Read(keys::WordFilter), 0x3FFFFFF);
    EXPECT_EQ(rig.store.Read(keys::CommonWordsSize), 3);
    EXPECT_EQ(rig.store.Read(keys::MaxWordLength), 50);
    EXPECT_EQ(rig.dialog.SessionLength(), 15);
}

TEST(SetupDialog, SerialDeviceIsKeptWithAPortAndClearedByOff) {
    SetupRig rig;
    rig.store.Write(keys::Port, 1);
    rig.store.Write(keys::PortDevice, QStringLiteral("/dev/ttyUSB0"));
    rig.Show(5);
    EXPECT_EQ(rig.dialog.PortDeviceComboBox()->currentText(), QStringLiteral("/dev/ttyUSB0"));
    EXPECT_TRUE(rig.dialog.PortDeviceComboBox()->isEnabled());
    rig.dialog.PortDeviceComboBox()->setEditText(QStringLiteral(" /dev/ttyACM0 "));
    rig.Ok();
    EXPECT_EQ(rig.store.Read(keys::PortDevice), QStringLiteral("/dev/ttyACM0"));

    rig.Show(5);
    rig.dialog.ComPortRadioGroup()->Button(0)->click();  // "Off" switches keying off
    EXPECT_FALSE(rig.dialog.PortDeviceComboBox()->isEnabled());
    rig.Ok();
    EXPECT_EQ(rig.store.Read(keys::Port), 0);
    EXPECT_EQ(rig.store.Read(keys::PortDevice), QString());
}

TEST(SetupDialog, FiveCharactersShowFiveBoxes) {
    SetupRig rig;
    rig.Show(5);
    const QStringList captions = {"K", "M", "R", "S", "U"};
    for (int t = 0; t < 5; ++t) {
        EXPECT_FALSE(rig.dialog.CharacterBox(t)->isHidden());
        EXPECT_TRUE(rig.dialog.CharacterBox(t)->isChecked());
        EXPECT_EQ(rig.dialog.CharacterBox(t)->text(), captions[t]);
    }
    for (int t = 5; t < ConfigureDialog::kCharacterBoxes; ++t)
        EXPECT_TRUE(rig.dialog.CharacterBox(t)->isHidden()) << t;
    // Unchecking R writes 0x1B.
    rig.dialog.CharacterBox(2)->click();
    rig.Ok();
    EXPECT_EQ(rig.store.Read(keys::Session1), 27);
    EXPECT_EQ(rig.store.Read(keys::Session2), 0);
}

TEST(SetupDialog, FortyCharactersAllChecked) {
    SetupRig rig;
    rig.Show(40);
    rig.dialog.UncheckButton()->click();
    EXPECT_FALSE(rig.dialog.CharacterBox(17)->isChecked());
    rig.dialog.CheckButton()->click();
    EXPECT_TRUE(rig.dialog.CharacterBox(39)->isChecked());
    EXPECT_FALSE(rig.dialog.CharacterBox(40)->isChecked());  // hidden boxes stay unchecked
    rig.Ok();
    EXPECT_EQ(rig.store.Read(keys::Session1), -1);
    EXPECT_EQ(rig.store.Read(keys::Session2), 255);
}

TEST(SetupDialog, CharacterBoxesFollowTheStoredMaskAndCount) {
    SetupRig rig;
    rig.store.Write(keys::Session1, 0b1011);
    rig.dialog.LoadCharacterChecks(4);  // while hidden, as the main window does
    EXPECT_EQ(rig.dialog.CharacterCount(), 4);
    EXPECT_TRUE(rig.dialog.CharacterBox(0)->isChecked());
    EXPECT_FALSE(rig.dialog.CharacterBox(2)->isChecked());
    EXPECT_TRUE(rig.dialog.CharacterBox(3)->isChecked());
    EXPECT_TRUE(rig.dialog.CharacterBox(4)->isHidden());
    rig.dialog.SetCharacterCaption(41, QStringLiteral("ar"));
    EXPECT_EQ(rig.dialog.CharacterBox(41)->text(), "AR");
}

TEST(SetupDialog, CallbackTwoShowsUncheckedAndWritesZero) {
    SetupRig rig;
    rig.store.Write(keys::Callback, 2);
    rig.Show(2);
    EXPECT_FALSE(rig.dialog.CallbackCheckBox()->isChecked());
    rig.Ok();
    EXPECT_EQ(rig.store.Read(keys::Callback), 0);
}

TEST(SetupDialog, WordLetterButtonsKeepTheHighBits) {
    SetupRig rig;
    rig.store.Write(keys::WordFilter, -1);
    rig.Show(40);
    rig.dialog.CommonWordsUncheckAllButton()->click();
    EXPECT_EQ(rig.dialog.WordFilter(), 0xFC000000u);
    rig.dialog.LetterBox(3)->click();
    EXPECT_EQ(rig.dialog.WordFilter(), 0xFC000008u);
    rig.Ok();
    EXPECT_EQ(static_cast<std::uint32_t>(rig.store.Read(keys::WordFilter)), 0xFC000008u);

    rig.store.Write(keys::WordFilter, 0);
    rig.Show(40);
    rig.dialog.CommonWordsCheckAllButton()->click();
    EXPECT_EQ(rig.dialog.WordFilter(), 0x3FFFFFFu);
}

TEST(SetupDialog, TypedBitRateThatNamesNoItemWritesMinusOne) {
    SetupRig rig;
    rig.Show(2);
    rig.dialog.MP3ComboBox()->setEditText(QStringLiteral("999 Kbps"));
    rig.Ok();
    EXPECT_EQ(rig.store.Read(keys::Mp3BitRate), -1);
    rig.Show(2);
    rig.dialog.MP3ComboBox()->setEditText(QStringLiteral("80Kbps"));
    rig.Ok();
    EXPECT_EQ(rig.store.Read(keys::Mp3BitRate), 4);
}

TEST(SetupDialog, StoredValuesAreBoundedByTheControls) {
    SetupRig rig;
    rig.store.Write(keys::Port, 9);
    rig.store.Write(keys::StraightKeyFist, -5);
    rig.store.Write(keys::Pause, 0);
    rig.Show(2);
    EXPECT_EQ(rig.dialog.ComPortRadioGroup()->Index(), 4);
    EXPECT_EQ(rig.dialog.StraightKeyFistRadioGroup()->Index(), -1);
    EXPECT_EQ(rig.dialog.StartingPauseSpinEdit()->value(), 1);
    rig.Ok();
    EXPECT_EQ(rig.store.Read(keys::StraightKeyFist), -1);
}

TEST(SetupDialog, DefineButtonRunsItsAction) {
    SetupRig rig;
    int opened = 0;
    rig.dialog.SetDefineAction([&] { ++opened; });
    rig.dialog.DefineButton()->click();
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(rig.dialog.DefineButton()->text(), "Define");
}

TEST(SetupDialog, NothingIsClippedAtAFourteenPointFont) {
    const QFont desktop = QApplication::font();
    QFont large = desktop;
    large.setPointSize(14);
    QApplication::setFont(large);
    {
        SetupRig rig;
        rig.Show(40);
        for (int page = 0; page < rig.dialog.Pages()->count(); ++page) {
            rig.dialog.Pages()->setCurrentIndex(page);
            ProcessEvents();
            for (QWidget* w : rig.dialog.Pages()->widget(page)->findChildren<QWidget*>()) {
                const auto* label = qobject_cast<QLabel*>(w);
                if (!w->isVisible() || (!label && !qobject_cast<QAbstractButton*>(w)))
                    continue;
                // A wrapped note needs its height at the width it got.
                const QSize need = label && label->wordWrap() ? QSize(label->minimumSizeHint().width(),
                                                                      label->heightForWidth(label->width()))
                                                              : w->sizeHint();
                EXPECT_LE(need.width(), w->width()) << w->objectName().toStdString();
                EXPECT_LE(need.height(), w->height())
                    << (label ? label->text() : w->objectName()).toStdString();
            }
        }
        rig.Ok();
    }
    QApplication::setFont(desktop);
}

}  // namespace
}  // namespace lumbrel::test
