#include "ui/Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QPointer>
#include <QTranslator>

#include <vector>

namespace lumbrel {

bool InstallTranslations(const QLocale& locale) {
    static std::vector<QPointer<QTranslator>> installed;
    for (const QPointer<QTranslator>& t : installed) {
        if (t) {
            QCoreApplication::removeTranslator(t);
            delete t.data();
        }
    }
    installed.clear();

    const auto install = [&](const QString& name, const QString& folder) {
        auto* translator = new QTranslator(QCoreApplication::instance());
        if (!translator->load(locale, name, QStringLiteral("_"), folder)) {
            delete translator;
            return false;
        }
        QCoreApplication::installTranslator(translator);
        installed.emplace_back(translator);
        return true;
    };
    const bool own = install(QStringLiteral("lumbrel"), QStringLiteral(":/i18n"));
    // Qt's own texts only beside ours, so that a window is never half translated.
    if (own)
        install(QStringLiteral("qtbase"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    return own;
}

}  // namespace lumbrel
