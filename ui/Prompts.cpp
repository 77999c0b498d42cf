#include "ui/Prompts.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontDialog>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/ControlWidgets.h"

namespace lumbrel {

void Prompts::DetailedMessage(QWidget* parent, const QString& text, const QString&, const QString& caption,
                              MessageKind kind) {
    Message(parent, text, caption, kind);
}

void QtPrompts::Message(QWidget* parent, const QString& text, const QString& caption, MessageKind kind) {
    DetailedMessage(parent, text, QString(), caption, kind);
}

void QtPrompts::DetailedMessage(QWidget* parent, const QString& text, const QString& details,
                                const QString& caption, MessageKind kind) {
    const QMessageBox::Icon icon = kind == MessageKind::Error     ? QMessageBox::Critical
                                   : kind == MessageKind::Warning ? QMessageBox::Warning
                                                                  : QMessageBox::Information;
    QMessageBox box(icon, caption, text, QMessageBox::Ok, parent);
    box.setDetailedText(details);
    box.exec();
}

bool QtPrompts::AskYesNo(QWidget* parent, const QString& text, const QString& caption) {
    QMessageBox box(QMessageBox::Warning, caption, text, QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

void QtPrompts::Error(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Critical, QApplication::applicationName(), text, QMessageBox::Ok, parent);
    box.exec();
}

std::optional<QFont> QtPrompts::ChooseFont(QWidget* parent, const QFont& current, int maxPointSize) {
    QFontDialog dialog(current, parent);
    dialog.setWindowTitle(QObject::tr("Select Font"));
    // The dialog lists the usual sizes and accepts any typed size; a size above the
    // largest allowed comes back as the largest.
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    QFont font = dialog.selectedFont();
    if (font.pointSize() > maxPointSize)
        font.setPointSize(maxPointSize);
    return font;
}

std::optional<FontChoice> Prompts::ChooseFontAndColour(QWidget* parent, const FontChoice& current,
                                                       int maxPointSize) {
    std::optional<QFont> font = ChooseFont(parent, current.font, maxPointSize);
    if (!font)
        return std::nullopt;
    return FontChoice{*font, current.colour};
}

namespace {

// A small square of the colour, for the Colour button.
QIcon Swatch(const QColor& colour, int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(colour);
    QPainter painter(&pixmap);
    painter.setPen(QApplication::palette().color(QPalette::WindowText));
    painter.drawRect(0, 0, size - 1, size - 1);
    return QIcon(pixmap);
}

}  // namespace

std::optional<FontChoice> QtPrompts::ChooseFontAndColour(QWidget* parent, const FontChoice& current,
                                                         int maxPointSize) {
    QDialog dialog(parent);
    dialog.setWindowTitle(QObject::tr("Select Font"));
    // The toolkit's font dialog, embedded without its own buttons.
    auto* fonts = new QFontDialog(current.font, &dialog);
    fonts->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog);
    fonts->setWindowFlags(Qt::Widget);

    FontChoice chosen = current;
    auto* colour = new QPushButton(QObject::tr("&Colour..."), &dialog);
    colour->setAccessibleName(QObject::tr("Colour"));
    colour->setToolTip(QObject::tr("The colour of the text"));
    const int swatch = colour->fontMetrics().height();
    colour->setIconSize(QSize(swatch, swatch));
    colour->setIcon(Swatch(chosen.colour, swatch));
    QObject::connect(colour, &QPushButton::clicked, &dialog, [&] {
        const QColor c = QColorDialog::getColor(chosen.colour, &dialog, QObject::tr("Select Colour"));
        if (!c.isValid())
            return;
        chosen.colour = c;
        colour->setIcon(Swatch(c, swatch));
    });

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* row = new QHBoxLayout;
    row->addWidget(colour);
    row->addStretch(1);
    row->addWidget(buttons);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(fonts, 1);
    layout->addLayout(row);
    GuardWheel(&dialog);

    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    chosen.font = fonts->currentFont();
    if (chosen.font.pointSize() > maxPointSize)
        chosen.font.setPointSize(maxPointSize);
    return chosen;
}

QString QtPrompts::SaveFileName(QWidget* parent, const QString& title, const QString& filter,
                                const QString& defaultSuffix) {
    QFileDialog dialog(parent, title, startFolder_, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

AudioFileChoice QtPrompts::ChooseAudioFile(QWidget* parent, const QString& defaultName,
                                           const QStringList& filters, int selected) {
    QFileDialog dialog(parent, QObject::tr("Create Audio File"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(filters);
    if (selected >= 0 && selected < filters.size())
        dialog.selectNameFilter(filters[selected]);
    if (!startFolder_.isEmpty())
        dialog.setDirectory(startFolder_);
    dialog.selectFile(defaultName);
    dialog.setSizeGripEnabled(true);
    // The dialog would check the name as typed, which the record command then gives the
    // type's ending and a transcript beside it: the command asks about the files it
    // really writes instead.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return {dialog.selectedFiles().constFirst(),
            static_cast<int>(filters.indexOf(dialog.selectedNameFilter()))};
}

QString QtPrompts::OpenFileName(QWidget* parent, const QString& title, const QString& filter) {
    QFileDialog dialog(parent, title, startFolder_, filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QStringLiteral("txt"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

}  // namespace lumbrel
