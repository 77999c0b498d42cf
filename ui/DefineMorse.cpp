#include "ui/DefineMorse.h"

#include <QShowEvent>
#include <QSignalBlocker>

#include "ui/ControlWidgets.h"
#include "ui_DefineMorse.h"

namespace lumbrel {
namespace {

QString Section(int slot) {
    return SettingsStore::MorseLetterSection(slot);
}
const QString kContentKey = QString::fromLatin1(keys::kContent);
const QString kDisplayKey = QString::fromLatin1(keys::kDisplayText);

}  // namespace

// --- MorseDefinitions -----------------------------------------------------------------

MorseDefinitions::MorseDefinitions(SettingsStore store) : store_(std::move(store)) {}

void MorseDefinitions::Load() {
    list_.clear();
    for (int slot = 1; slot <= kMaxDefinitions; ++slot) {
        const QString content = store_.ReadString(Section(slot), kContentKey, QString());
        if (content.isEmpty())
            continue;
        list_.push_back({store_.ReadString(Section(slot), kDisplayKey, QString()), content});
    }
}

void MorseDefinitions::Save() {
    int slot = 1;
    for (const MorseDefinition& d : list_) {
        store_.WriteString(Section(slot), kContentKey, d.code);
        store_.WriteString(Section(slot), kDisplayKey, d.display);
        ++slot;
    }
    for (; slot <= kMaxDefinitions; ++slot)
        store_.EraseSection(Section(slot));
    list_.clear();
    store_.Sync();
}

int MorseDefinitions::AddNew() {
    if (Full())
        return -1;
    list_.push_back({QStringLiteral("New"), QStringLiteral("-.-.-")});
    return Count() - 1;
}

void MorseDefinitions::Remove(int index) {
    if (Contains(index))
        list_.erase(list_.begin() + index);
}

void MorseDefinitions::SetDisplay(int index, const QString& text) {
    if (Contains(index))
        list_[static_cast<std::size_t>(index)].display = text;
}

void MorseDefinitions::SetCode(int index, const QString& code) {
    if (Contains(index))
        list_[static_cast<std::size_t>(index)].code = code;
}

// --- DefineMorseDialog ----------------------------------------------------------------

DefineMorseDialog::DefineMorseDialog(SettingsStore store, QWidget* parent)
    : QDialog(parent),
      ui_(std::make_unique<Ui::DefineMorseForm>()),
      definitions_(std::move(store)) {
    ui_->setupUi(this);
    GrowDesignedFonts(this);
    // The two fields were designed 12 points high; wider as their font grew.
    for (QLineEdit* edit : {ui_->DisplayEdit, ui_->ContentEdit})
        if (edit->font().pointSizeF() > 12)
            edit->setMaximumWidth(qRound(edit->maximumWidth() * edit->font().pointSizeF() / 12));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    GuardWheel(this);

    connect(ui_->DefinedComboBox, &QComboBox::activated, this, &DefineMorseDialog::DefinedComboBoxChange);
    connect(ui_->DisplayEdit, &QLineEdit::textChanged, this, &DefineMorseDialog::DisplayEditChange);
    connect(ui_->ContentEdit, &QLineEdit::textChanged, this, &DefineMorseDialog::ContentEditChange);
    connect(ui_->NewButton, &QPushButton::clicked, this, &DefineMorseDialog::NewButtonClick);
    connect(ui_->DeleteButton, &QPushButton::clicked, this, &DefineMorseDialog::DeleteButtonClick);
    connect(ui_->DoneButton, &QPushButton::clicked, this, &QDialog::accept);
}

DefineMorseDialog::~DefineMorseDialog() = default;

void DefineMorseDialog::showEvent(QShowEvent* event) {
    if (!event->spontaneous())
        FormShow();
    QDialog::showEvent(event);
}

void DefineMorseDialog::FormShow() {
    definitions_.Load();
    loaded_ = true;
    current_ = -1;
    RebuildSelector();
    SelectAndShow(0);
    ui_->NewButton->setEnabled(!definitions_.Full());
}

void DefineMorseDialog::RebuildSelector() {
    const QSignalBlocker block(ui_->DefinedComboBox);
    ui_->DefinedComboBox->clear();
    for (int i = 0; i < definitions_.Count(); ++i)
        ui_->DefinedComboBox->addItem(definitions_.At(i).display);
}

void DefineMorseDialog::SelectAndShow(int index) {
    {
        const QSignalBlocker block(ui_->DefinedComboBox);
        ui_->DefinedComboBox->setCurrentIndex(definitions_.Contains(index) ? index : -1);
    }
    DefinedComboBoxChange(ui_->DefinedComboBox->currentIndex());
}

void DefineMorseDialog::DefinedComboBoxChange(int index) {
    if (!definitions_.Contains(index))
        return;
    current_ = index;
    const MorseDefinition d = definitions_.At(index);
    ui_->DisplayEdit->setText(d.display);
    ui_->ContentEdit->setText(d.code);
}

void DefineMorseDialog::DisplayEditChange(const QString& text) {
    if (!definitions_.Contains(current_))
        return;
    definitions_.SetDisplay(current_, text);
    const int selected = ui_->DefinedComboBox->currentIndex();
    if (selected >= 0)
        ui_->DefinedComboBox->setItemText(selected, text);
}

void DefineMorseDialog::ContentEditChange(const QString& text) {
    if (definitions_.Contains(current_))
        definitions_.SetCode(current_, text);
}

void DefineMorseDialog::NewButtonClick() {
    if (definitions_.AddNew() < 0)
        return;
    RebuildSelector();
    SelectAndShow(definitions_.Count() - 1);
    ui_->NewButton->setEnabled(!definitions_.Full());
}

void DefineMorseDialog::DeleteButtonClick() {
    const int selected = ui_->DefinedComboBox->currentIndex();
    if (definitions_.Contains(selected)) {
        definitions_.Remove(selected);
        if (selected == current_)
            current_ = -1;
        else if (selected < current_)
            --current_;
    }
    RebuildSelector();
    SelectAndShow(0);
    ui_->NewButton->setEnabled(!definitions_.Full());
}

void DefineMorseDialog::done(int result) {
    if (loaded_) {
        definitions_.Save();
        loaded_ = false;
        current_ = -1;
    }
    QDialog::done(result);
}

}  // namespace lumbrel
