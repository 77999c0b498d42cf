// The define-characters dialog adds, changes and deletes up to 24 characters and
// writes them back without gaps when it closes.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include "UiTestSupport.h"
#include "tests/TestSupport.h"
#include "ui/DefineMorse.h"
#include "ui_DefineMorse.h"

namespace lumbrel::test {
namespace {

QString Content(const SettingsStore& store, int slot) {
    return store.ReadString(SettingsStore::MorseLetterSection(slot), QStringLiteral("Content"),
                            QStringLiteral("-"));
}
QString Display(const SettingsStore& store, int slot) {
    return store.ReadString(SettingsStore::MorseLetterSection(slot), QStringLiteral("Display"),
                            QStringLiteral("-"));
}
bool SectionExists(const SettingsStore& store, int slot) {
    const QString s = SettingsStore::MorseLetterSection(slot);
    return store.Raw(s, QStringLiteral("Content")).has_value() ||
           store.Raw(s, QStringLiteral("Display")).has_value();
}

struct DefineRig {
    DefineRig() : store(SettingsStore::InMemory()), dialog(store) {}
    void Show() {
        dialog.show();
        ProcessEvents();
    }
    void Finish() { ui().DoneButton->click(); }
    Ui::DefineMorseForm& ui() { return dialog.Form(); }

    SettingsStore store;
    DefineMorseDialog dialog;
};

TEST(DefineCharacters, CaptionAndControls) {
    DefineRig rig;
    EXPECT_EQ(rig.dialog.windowTitle(), "Define New Morse Characters");
    EXPECT_EQ(rig.ui().NewButton->text(), "New");
    EXPECT_EQ(rig.ui().DeleteButton->text(), "Delete");
    EXPECT_EQ(rig.ui().DoneButton->text(), "Finish");
    EXPECT_EQ(rig.ui().DisplayEdit->maxLength(), 6);
}

TEST(DefineCharacters, EmptyStoreThenNewAndFinish) {
    DefineRig rig;
    DefineCharacter(rig.store, 5, "-..-", "x");  // a stray section above: erased on finish
    rig.store.WriteString(SettingsStore::MorseLetterSection(5), QStringLiteral("Content"), QString());
    rig.Show();
    EXPECT_EQ(rig.ui().DefinedComboBox->count(), 0);
    EXPECT_TRUE(rig.ui().NewButton->isEnabled());
    rig.ui().DeleteButton->click();                       // nothing to delete
    rig.ui().DisplayEdit->setText(QStringLiteral("zz"));  // nothing to change
    EXPECT_EQ(rig.dialog.Definitions().Count(), 0);

    rig.ui().NewButton->click();
    ASSERT_EQ(rig.dialog.Definitions().Count(), 1);
    EXPECT_EQ(rig.ui().DefinedComboBox->currentText(), "New");
    EXPECT_EQ(rig.ui().DisplayEdit->text(), "New");
    EXPECT_EQ(rig.ui().ContentEdit->text(), "-.-.-");
    rig.Finish();
    EXPECT_FALSE(rig.dialog.isVisible());
    EXPECT_EQ(Content(rig.store, 1), "-.-.-");
    EXPECT_EQ(Display(rig.store, 1), "New");
    for (int slot = 2; slot <= 24; ++slot)
        EXPECT_FALSE(SectionExists(rig.store, slot)) << slot;
}

TEST(DefineCharacters, GapsCloseUp) {
    DefineRig rig;
    DefineCharacter(rig.store, 1, ".-.-.", "AR");
    DefineCharacter(rig.store, 2, "...-.-", "SK");
    DefineCharacter(rig.store, 4, "-...-", "BT");
    rig.Show();
    EXPECT_EQ(rig.ui().DefinedComboBox->count(), 3);
    EXPECT_EQ(rig.ui().DisplayEdit->text(), "AR");  // the first is shown
    rig.Finish();
    EXPECT_EQ(Display(rig.store, 3), "BT");
    EXPECT_EQ(Content(rig.store, 3), "-...-");
    EXPECT_FALSE(SectionExists(rig.store, 4));
}

TEST(DefineCharacters, DeleteTheFirstOfThree) {
    DefineRig rig;
    DefineCharacter(rig.store, 1, ".-.-.", "AR");
    DefineCharacter(rig.store, 2, "...-.-", "SK");
    DefineCharacter(rig.store, 3, "-...-", "BT");
    rig.Show();
    rig.ui().DeleteButton->click();
    EXPECT_EQ(rig.ui().DefinedComboBox->count(), 2);
    EXPECT_EQ(rig.ui().DisplayEdit->text(), "SK");
    rig.Finish();
    EXPECT_EQ(Display(rig.store, 1), "SK");
    EXPECT_EQ(Display(rig.store, 2), "BT");
    EXPECT_FALSE(SectionExists(rig.store, 3));
}

TEST(DefineCharacters, TwentyFourAtMost) {
    DefineRig rig;
    rig.Show();
    for (int i = 0; i < 24; ++i)
        rig.ui().NewButton->click();
    EXPECT_EQ(rig.dialog.Definitions().Count(), 24);
    EXPECT_FALSE(rig.ui().NewButton->isEnabled());
    rig.ui().DeleteButton->click();
    EXPECT_TRUE(rig.ui().NewButton->isEnabled());
    rig.ui().NewButton->click();
    rig.Finish();
    EXPECT_EQ(Content(rig.store, 24), "-.-.-");
    rig.Show();
    EXPECT_FALSE(rig.ui().NewButton->isEnabled());
    rig.Finish();
}

TEST(DefineCharacters, TypingChangesTheSelectedDefinition) {
    DefineRig rig;
    rig.Show();
    rig.ui().NewButton->click();
    rig.ui().DisplayEdit->setText(QStringLiteral("AR"));
    EXPECT_EQ(rig.ui().DefinedComboBox->currentText(), "AR");
    rig.ui().ContentEdit->setText(QStringLiteral(".-.-.-.-.-.-"));  // 12 symbols, stored whole
    rig.Finish();
    EXPECT_EQ(Display(rig.store, 1), "AR");
    EXPECT_EQ(Content(rig.store, 1), ".-.-.-.-.-.-");
}

TEST(DefineCharacters, DeletingTheLastLeavesNoCurrentDefinition) {
    DefineRig rig;
    DefineCharacter(rig.store, 1, ".-.-.", "AR");
    rig.Show();
    rig.ui().DeleteButton->click();
    EXPECT_EQ(rig.dialog.CurrentDefinition(), -1);
    EXPECT_EQ(rig.ui().DisplayEdit->text(), "AR");  // the fields keep their text
    rig.ui().DisplayEdit->setText(QStringLiteral("XY"));
    EXPECT_EQ(rig.dialog.Definitions().Count(), 0);
    rig.Finish();
    EXPECT_FALSE(SectionExists(rig.store, 1));
}

TEST(DefineCharacters, AnEmptyCodeIsNotLoadedAgain) {
    DefineRig rig;
    DefineCharacter(rig.store, 1, ".-.-.", "AR");
    DefineCharacter(rig.store, 2, "...-.-", "SK");
    rig.Show();
    rig.ui().ContentEdit->clear();
    rig.Finish();
    EXPECT_EQ(Content(rig.store, 1), "");
    rig.Show();
    EXPECT_EQ(rig.ui().DefinedComboBox->count(), 1);
    EXPECT_EQ(rig.ui().DisplayEdit->text(), "SK");
    rig.dialog.close();  // the title bar's close writes as well
    EXPECT_EQ(Display(rig.store, 1), "SK");
    EXPECT_FALSE(SectionExists(rig.store, 2));
}

}  // namespace
}  // namespace lumbrel::test
