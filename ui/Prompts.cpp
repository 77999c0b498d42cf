#include "ui/Prompts.h"

#include <QApplication>
#include <QFileDialog>
#include <QFontDialog>
#include <QMessageBox>

namespace lumbrel {

void QtPrompts::Message(QWidget* parent, const QString& text, const QString& caption, MessageKind kind)
{
    const QMessageBox::Icon icon = kind == MessageKind::Error     ? QMessageBox::Critical
                                   : kind == MessageKind::Warning ? QMessageBox::Warning
                                                                  : QMessageBox::Information;
    QMessageBox box(icon, caption, text, QMessageBox::Ok, parent);
    box.exec();
}

bool QtPrompts::AskYesNo(QWidget* parent, const QString& text, const QString& caption)
{
    QMessageBox box(QMessageBox::Warning, caption, text, QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

void QtPrompts::Error(QWidget* parent, const QString& text)
{
    QMessageBox box(QMessageBox::Critical, QApplication::applicationName(), text, QMessageBox::Ok, parent);
    box.exec();
}

std::optional<QFont> QtPrompts::ChooseFont(QWidget* parent, const QFont& current, int maxPointSize)
{
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

QString QtPrompts::SaveFileName(QWidget* parent, const QString& title, const QString& filter,
                                const QString& defaultSuffix)
{
    QFileDialog dialog(parent, title, QString(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

AudioFileChoice QtPrompts::ChooseAudioFile(QWidget* parent, const QString& defaultName,
                                           const QStringList& filters, int selected)
{
    QFileDialog dialog(parent, QStringLiteral("Create Audio File"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(filters);
    if (selected >= 0 && selected < filters.size())
        dialog.selectNameFilter(filters[selected]);
    dialog.selectFile(defaultName);
    dialog.setSizeGripEnabled(true);
    // The dialog would check the name as typed, which the record command then gives the
    // type's ending and a transcript beside it: the command asks about the files it
    // really writes instead.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return {dialog.selectedFiles().constFirst(), static_cast<int>(filters.indexOf(dialog.selectedNameFilter()))};
}

QString QtPrompts::OpenFileName(QWidget* parent, const QString& title, const QString& filter)
{
    QFileDialog dialog(parent, title, QString(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QStringLiteral("txt"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

}  // namespace lumbrel
