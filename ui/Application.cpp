#include "ui/Application.h"

#include <QIcon>
#include <QMessageBox>
#include <QPointer>
#include <QStyle>
#include <QTimer>

#include <exception>

static void InitLumbrelQrc() {
    Q_INIT_RESOURCE(lumbrel);
}

namespace lumbrel {

void InitUiResources() {
    static const bool done = [] {
        InitLumbrelQrc();
        return true;
    }();
    (void)done;
}

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
    InitUiResources();
    setApplicationName(QString::fromLatin1(kApplicationTitle));
    setOrganizationName(QStringLiteral("Zelph Software"));
    setApplicationVersion(QStringLiteral(LUMBREL_VERSION));
    setDesktopFileName(QStringLiteral("io.github.lumbrel.Lumbrel"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/lumbrel.svg")));
    // Without a desktop theme (no platform theme plugin) Qt falls back to its plain
    // "Windows" look; Fusion is clearer there. A desktop's own style is kept.
    if (style() && style()->name().compare(QLatin1String("windows"), Qt::CaseInsensitive) == 0)
        setStyle(QStringLiteral("Fusion"));
}

bool Application::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        ShowEscapedError(QString::fromLocal8Bit(e.what()));
    } catch (...) {
        ShowEscapedError(tr("An unknown error occurred."));
    }
    return false;
}

void Application::ShowEscapedError(const QString& text) {
    // Shown from the event loop, after the failed reaction has unwound.
    QTimer::singleShot(0, this, [text] {
        QMessageBox::critical(QApplication::activeWindow(), QApplication::applicationName(), text);
    });
}

}  // namespace lumbrel
