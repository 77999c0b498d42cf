#include "ui/AboutBox.h"

#include <QDesktopServices>
#include <QFile>
#include <QIcon>
#include <QPainter>
#include <QScreen>
#include <QStringList>
#include <QSvgRenderer>

#include <algorithm>

#include "ui/ControlWidgets.h"
#include "ui_AboutBox.h"

#ifndef LUMBREL_VERSION
#error "LUMBREL_VERSION comes from the project version (see the top CMakeLists.txt)"
#endif

namespace lumbrel {

const char* const AboutDialog::kWebAddress = "en.wikipedia.org/wiki/Morse_code";

QString VersionText(const QString& version) {
    const QStringList parts = version.split(QLatin1Char('.'));
    int numbers[3] = {0, 0, 0};
    for (int i = 0; i < 3 && i < parts.size(); ++i)
        numbers[i] = static_cast<qint16>(static_cast<quint16>(parts[i].toUInt()));
    return AboutDialog::tr("Version %1.%2.%3").arg(numbers[0]).arg(numbers[1]).arg(numbers[2]);
}

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent), ui_(std::make_unique<Ui::AboutForm>()) {
    ui_->setupUi(this);
    GrowDesignedFonts(this);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    ui_->Image1->setPixmap(QIcon(QStringLiteral(":/icons/lumbrel.svg")).pixmap(64, 64));
    ui_->Image1->setAccessibleName(QStringLiteral("Lumbrel"));
    ui_->Image2->setAccessibleName(QStringLiteral("Zelph Software"));
    // The link: reached with Tab like any control, opened with Enter or a click.
    const QString address = QString::fromLatin1(kWebAddress);
    ui_->Label4->setText(QStringLiteral("<a href=\"http://%1\">%1</a>").arg(address.toHtmlEscaped()));
    ui_->Label4->setAccessibleName(address);
    connect(ui_->Label4, &QLabel::linkActivated, this,
            [this] { QDesktopServices::openUrl(LinkAddress()); });  // failures are not reported
    ApplyPaletteColours();
    ui_->Memo1->setPlainText(tr(
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

QUrl AboutDialog::LinkAddress() const {
    return QUrl(QStringLiteral("http://") + QString::fromLatin1(kWebAddress));
}

void AboutDialog::ApplyPaletteColours() {
    // The link and the contact picture in their blue, made lighter on a dark palette.
    const QColor window = palette().color(QPalette::Window);
    QPalette linkPalette = ui_->Label4->palette();
    linkPalette.setColor(QPalette::Link, ReadableOn(QColor(0x1a, 0x4f, 0xd6), window));
    ui_->Label4->setPalette(linkPalette);

    QFile file(QStringLiteral(":/icons/contact.svg"));
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QColor ink = ReadableOn(QColor(0x1d, 0x4f, 0x9c), window);
    QSvgRenderer picture(file.readAll().replace("#1d4f9c", ink.name().toLatin1()));
    // As large as the text beside it: it grows with a desktop font above 10 points.
    const QSizeF size = QSizeF(picture.defaultSize()) * std::max(1.0, font().pointSizeF() / 10);
    const qreal ratio = devicePixelRatioF();
    QPixmap pixmap((size * ratio).toSize());
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    picture.render(&painter, QRectF(QPointF(0, 0), size));
    painter.end();
    ui_->Image2->setPixmap(pixmap);
}

void AboutDialog::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        ApplyPaletteColours();
}

void AboutDialog::showEvent(QShowEvent* event) {
    // FormShow: the version line is rebuilt on every showing.
    ui_->VersionLabel->setText(VersionText(QStringLiteral(LUMBREL_VERSION)));
    ApplyPaletteColours();  // at the scale of the screen it opens on
    QDialog::showEvent(event);
    if (const QScreen* screen = this->screen()) {
        QRect r = frameGeometry();
        r.moveCenter(screen->availableGeometry().center());
        move(r.topLeft());
    }
}

}  // namespace lumbrel
