#include "ui/AboutBox.h"

#include <QDesktopServices>
#include <QIcon>
#include <QMouseEvent>
#include <QScreen>
#include <QStringList>

#include "ui_AboutBox.h"

#ifndef LUMBREL_VERSION
#error "LUMBREL_VERSION comes from the project version (see the top CMakeLists.txt)"
#endif

namespace lumbrel {

const char* const AboutDialog::kWebAddress = "en.wikipedia.org/wiki/Morse_code";

QString VersionText(const QString& version)
{
    const QStringList parts = version.split(QLatin1Char('.'));
    int numbers[3] = {0, 0, 0};
    for (int i = 0; i < 3 && i < parts.size(); ++i)
        numbers[i] = static_cast<qint16>(static_cast<quint16>(parts[i].toUInt()));
    return QStringLiteral("Version %1.%2.%3").arg(numbers[0]).arg(numbers[1]).arg(numbers[2]);
}

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent), ui_(std::make_unique<Ui::AboutForm>())
{
    ui_->setupUi(this);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    ui_->Image1->setPixmap(QIcon(QStringLiteral(":/icons/lumbrel.svg")).pixmap(64, 64));
    ui_->Image2->setPixmap(QIcon(QStringLiteral(":/icons/contact.svg")).pixmap(QSize(220, 28)));
    ui_->Label4->setText(QString::fromLatin1(kWebAddress));
    ui_->Label4->installEventFilter(this);
    ui_->Memo1->setPlainText(QStringLiteral(
        "The Koch method teaches Morse code by ear, at full speed from the first lesson.\n\n"
        "Set the character speed to the speed you want to reach in the end (20 words per minute "
        "or more) and start with only two characters. Listen to a five-minute session of random "
        "groups and copy it on paper, then compare your copy with the text that Lumbrel shows.\n\n"
        "When your copy reaches 90 percent accuracy, add one more character and carry on. Because "
        "every character is heard at full speed from the start, you learn its sound as a whole "
        "rhythm instead of counting dots and dashes, and there is no slow-speed plateau to break "
        "through later.\n\n"
        "If the full speed is too hard at first, keep the character speed and slow down the "
        "effective speed, which only stretches the gaps between characters and words."));
    connect(ui_->Button1, &QPushButton::clicked, this, [this] {
        if (mp3Help_)
            mp3Help_();
    });
}

AboutDialog::~AboutDialog() = default;

QUrl AboutDialog::LinkAddress() const { return QUrl(QStringLiteral("http://") + ui_->Label4->text()); }

void AboutDialog::showEvent(QShowEvent* event)
{
    // FormShow: the version line is rebuilt on every showing.
    ui_->VersionLabel->setText(VersionText(QStringLiteral(LUMBREL_VERSION)));
    QDialog::showEvent(event);
    if (const QScreen* screen = this->screen()) {
        QRect r = frameGeometry();
        r.moveCenter(screen->availableGeometry().center());
        move(r.topLeft());
    }
}

bool AboutDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ui_->Label4 && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        QDesktopServices::openUrl(LinkAddress());  // failures are not reported
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace lumbrel
