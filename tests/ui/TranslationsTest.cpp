// The German translation: complete, with every argument and access key of its texts,
// and, installed from the locale, what the main window's menus and options show.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QSet>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include "UiTestSupport.h"
#include "decoder/FistReport.h"
#include "ui/Drills.h"
#include "ui/SendWindow.h"
#include "ui/Translations.h"

namespace lumbrel::test {
namespace {

struct TsMessage {
    QString context, source, translation, type;
};

std::vector<TsMessage> ReadTs(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << qPrintable(path);
    std::vector<TsMessage> messages;
    QString context;
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (xml.name() == QLatin1String("message")) {
            messages.push_back({context, {}, {}, {}});
        } else if (xml.name() == QLatin1String("source") && !messages.empty()) {
            messages.back().source = xml.readElementText();
        } else if (xml.name() == QLatin1String("translation") && !messages.empty()) {
            messages.back().type = xml.attributes().value(QLatin1String("type")).toString();
            messages.back().translation = xml.readElementText(QXmlStreamReader::IncludeChildElements);
        }
    }
    EXPECT_FALSE(xml.hasError()) << qPrintable(xml.errorString());
    return messages;
}

// The places a text is filled in ("%1 %n"), in order of number; each once, as the
// forms of a plural each hold them.
std::string Arguments(const QString& text) {
    QStringList found;
    for (const QRegularExpressionMatch& m : QRegularExpression(QStringLiteral("%(\\d+|n)")).globalMatch(text))
        found << m.captured();
    found.removeDuplicates();
    found.sort();
    return found.join(QLatin1Char(' ')).toStdString();
}

// The access key of a caption ("&Datei" -> "d"), or empty; "&&" and "&nbsp;" are none.
QString AccessKey(const QString& caption) {
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("(?:^|[^&])&([^&\\s;])(?![a-z]+;)")).match(caption);
    return m.hasMatch() ? m.captured(1).toLower() : QString();
}

TEST(Translations, GermanIsCompleteWithItsArgumentsAndAccessKeys) {
    // The test lumbrel-translations-current hands over the file lupdate made of the sources.
    const QString path = qEnvironmentVariableIsSet("LUMBREL_CHECK_TS")
                             ? qEnvironmentVariable("LUMBREL_CHECK_TS")
                             : QStringLiteral(LUMBREL_GERMAN_TS);
    const std::vector<TsMessage> messages = ReadTs(path);
    ASSERT_GT(messages.size(), 300u);
    for (const TsMessage& m : messages) {
        SCOPED_TRACE(qPrintable(m.context + QStringLiteral(": ") + m.source));
        EXPECT_EQ(m.type, QString()) << "unfinished or gone from the sources";
        EXPECT_FALSE(m.translation.isEmpty());
        EXPECT_EQ(Arguments(m.translation), Arguments(m.source));
        EXPECT_EQ(AccessKey(m.translation).isEmpty(), AccessKey(m.source).isEmpty())
            << qPrintable(m.translation);
    }
}

TEST(Translations, GermanLocaleShowsGermanWindowsWithUniqueAccessKeys) {
    ASSERT_TRUE(InstallTranslations(QLocale(QLocale::German, QLocale::Germany)));
    struct English {
        ~English() { InstallTranslations(QLocale(QLocale::English, QLocale::UnitedStates)); }
    } english;
    WindowRig rig;
    MainWindow& w = *rig.window;

    const struct {
        const char* menu;
        const char* title;
    } menus[] = {{"File1", "&Datei"}, {"SessionMenu", "&Sitzung"}, {"TextMenu", "&Text"}};
    for (const auto& m : menus) {
        const auto* menu = w.findChild<QMenu*>(QLatin1String(m.menu));
        ASSERT_NE(menu, nullptr) << m.menu;
        EXPECT_EQ(menu->title(), QString::fromUtf8(m.title));
    }
    EXPECT_EQ(w.findChild<QAction*>(QStringLiteral("Configure1"))->text(),
              QStringLiteral("&Einstellungen..."));
    // A text of the core (the options model) and one of Qt's own.
    EXPECT_EQ(qobject_cast<QComboBox*>(w.Widget(ControlId::DisplayDelayComboBox))->itemText(0),
              QStringLiteral("Verbergen"));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Abbrechen"));

    // No two commands of one menu, nor two menus of the bar, share an access key.
    std::vector<const QMenu*> all = {nullptr};
    for (const QMenu* menu : w.findChildren<QMenu*>())
        all.push_back(menu);
    for (const QMenu* menu : all) {
        QSet<QString> keys;
        for (const QAction* a : menu ? menu->actions() : w.menuBar()->actions()) {
            const QString key = AccessKey(a->text());
            EXPECT_TRUE(key.isEmpty() || !keys.contains(key)) << qPrintable(
                (menu ? menu->objectName() : QStringLiteral("menu bar")) + QStringLiteral(": ") + a->text());
            keys.insert(key);
        }
    }
    // Nor two captions of the drills window, its tabs' pages together.
    w.DrillsAction()->trigger();
    DrillsDialog* drills = w.Drills();
    ASSERT_NE(drills, nullptr);
    QStringList captions;
    for (const QAbstractButton* b : drills->findChildren<QAbstractButton*>())
        captions << b->text();
    for (const QLabel* l : drills->findChildren<QLabel*>())
        captions << l->text();
    for (const QTabWidget* t : drills->findChildren<QTabWidget*>())
        for (int i = 0; i < t->count(); ++i)
            captions << t->tabText(i);
    QSet<QString> keys;
    for (const QString& caption : captions) {
        const QString key = AccessKey(caption);
        EXPECT_TRUE(key.isEmpty() || !keys.contains(key)) << qPrintable(QStringLiteral("Drills: ") + caption);
        keys.insert(key);
    }
    EXPECT_GE(keys.size(), 10);
    drills->close();
    // The Send window's lines from the key and the sound below it.
    ProcessEvents(2);
    w.findChild<QAction*>(QStringLiteral("Send1"))->trigger();
    ASSERT_NE(w.Sending(), nullptr);
    EXPECT_TRUE(w.Sending()->StatusLabel()->text().startsWith(QStringLiteral("Tastatur: ")))
        << qPrintable(w.Sending()->StatusLabel()->text());
    w.Sending()->reject();
    // And a text to send that holds none.
    QTemporaryDir dir;
    QFile empty(dir.filePath(QStringLiteral("empty.txt")));
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    empty.close();
    QString problem;
    EXPECT_TRUE(SendingTextLines(empty.fileName(), false, 1, 1, &problem).isEmpty());
    EXPECT_TRUE(problem.endsWith(QStringLiteral(" enthält keinen Text zum Geben."))) << qPrintable(problem);
    // And the fist report's notes: an L keyed with a character gap after its dot.
    const KeyTimeline l{{{0, 60}, {246, 426}, {486, 546}, {606, 666}}};
    EXPECT_EQ(
        FistReport::Measure(l, TimelineDecoder::Decode(l), QStringLiteral("l")).notes,
        QStringList(QStringLiteral("L als ED gelesen: die Pause nach dem 1. Punkt war 3.1 Punktlängen")));
}

}  // namespace
}  // namespace lumbrel::test
