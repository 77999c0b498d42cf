#pragma once
// What lumbrel-render's two parsers and its two ways of rendering share: whole numbers
// on the command line, the one-line failure, and a character set with no windows.
#include <QString>
#include <QStringList>

#include <cstdio>
#include <optional>

#include "engine/CharacterSet.h"

namespace lumbrel::render {

// A decimal whole number, or nothing.
std::optional<long long> ParseNumber(const QString& text);

// The value after arguments[i] (i moves on to it) as a whole number from low to high;
// why not, naming the option, when it is missing or out of range.
std::optional<QString> TakeWholeNumber(const QStringList& arguments, qsizetype& i, long long low,
                                       long long high, int& out);

// The mask of --word-filter's letters (bit 0 for a); nothing unless all are a to z.
std::optional<int> WordFilterMask(const QString& letters);

void Print(std::FILE* to, const QString& text);
// "lumbrel-render: why" on standard error; returns 1, the status of a failed render.
int Fail(const QString& why);

// Every character of the list is in use; there are no windows to update.
class AllCharacters final : public CharacterWindows {
public:
    int CharacterCount() const override { return maximum_; }
    void SetCharacterCount(int) override {}
    int CharacterCountMaximum() const override { return maximum_; }
    void SetCharacterCountMaximum(int maximum) override { maximum_ = maximum; }
    void SetCharacterCaptions(const QStringList&) override {}
    void ShowCharacterBoxes(int) override {}
    void SetLearningToolsShown(bool) override {}

private:
    int maximum_ = 0;
};

}  // namespace lumbrel::render
