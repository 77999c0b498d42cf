#pragma once
// The define-characters dialog "Define New Morse Characters" (TDefineMorseForm):
// up to 24 user-defined characters in sections "MorseLetter1".."24".
// MorseDefinitions is the dialog's list without widgets; the dialog binds it.
#include <QDialog>
#include <QString>

#include <memory>
#include <vector>

#include "settings/SettingsStore.h"

namespace Ui {
class DefineMorseForm;
}

namespace lumbrel {

struct MorseDefinition {
    QString display;
    QString code;
};

// The definitions being edited, in slot order. UI thread only.
class MorseDefinitions {
public:
    static constexpr int kMaxDefinitions = keys::kMorseLetterSlots;  // 24

    explicit MorseDefinitions(SettingsStore store);

    // A new list from the store: every slot 1..24 whose "Content" is not empty, gaps
    // closed up.
    void Load();
    // Writes definition k (from 1) to "MorseLetter<k>" ("Content", then "Display"),
    // erases the sections after the last, and empties the list.
    void Save();

    int Count() const { return static_cast<int>(list_.size()); }
    bool Contains(int index) const { return index >= 0 && index < Count(); }
    const MorseDefinition& At(int index) const { return list_[static_cast<std::size_t>(index)]; }
    bool Full() const { return Count() >= kMaxDefinitions; }

    // Appends "New" with the code "-.-.-"; returns its index, or -1 when full.
    int AddNew();
    void Remove(int index);
    void SetDisplay(int index, const QString& text);
    void SetCode(int index, const QString& code);

private:
    SettingsStore store_;
    std::vector<MorseDefinition> list_;
};

class DefineMorseDialog final : public QDialog {
    Q_OBJECT
public:
    explicit DefineMorseDialog(SettingsStore store, QWidget* parent = nullptr);
    ~DefineMorseDialog() override;

    const MorseDefinitions& Definitions() const { return definitions_; }
    // The index of CurrentDefinition, or -1 when there is none.
    int CurrentDefinition() const { return current_; }
    Ui::DefineMorseForm& Form() { return *ui_; }

public Q_SLOTS:
    // Every way of closing ends here, and writes the definitions (FormHide).
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();
    void RebuildSelector();
    void SelectAndShow(int index);
    void DefinedComboBoxChange(int index);
    void DisplayEditChange(const QString& text);
    void ContentEditChange(const QString& text);
    void NewButtonClick();
    void DeleteButtonClick();

    std::unique_ptr<Ui::DefineMorseForm> ui_;
    MorseDefinitions definitions_;
    int current_ = -1;
    bool loaded_ = false;
};

}  // namespace lumbrel
