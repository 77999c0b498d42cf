#pragma once
// Scores what a learner copied against the text that was sent.
//
// Both texts are compared without regard to case or white space: letters count in
// either case, and any run of spaces, tabs and line breaks is one group boundary that
// costs nothing whether it was copied or not. The alignment is an edit-distance
// alignment of the characters (every dropped, added or wrong character is one error)
// that, among the alignments with the fewest errors, keeps groups together: a group
// that was missed is shown dropped as a whole and the groups after it line up again.
//
// A prosign counts as one character however it is written: "^ar" as the display shows
// a joined run, "<ar>", or "+" for ^ar, "=" for ^bt and "(" for ^kn. A user-defined
// character of several letters ("AR") counts as one character of the sent text.
//
// Accuracy is the share of the characters sent that were copied right, less the
// characters added: 100 * max(0, sent - dropped - wrong - added) / sent.
#include <QChar>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <utility>
#include <vector>

namespace lumbrel {

class CopyScore {
public:
    // What one column of the aligned pair shows.
    enum class Mark : std::uint8_t {
        Correct,   // the same character on both lines
        Wrong,     // a different character was copied
        Dropped,   // sent, not copied
        Added,     // copied, not sent
        Boundary,  // a group boundary on either line; never an error
    };

    // A character as it is shown: in lower case, a prosign as "^ar" (or as the sign it
    // was written as: "+"), a user-defined character by its display text ("ar").
    struct Column {
        QString sent;    // empty where nothing was sent (Added, Boundary)
        QString copied;  // empty where nothing was copied (Dropped, Boundary)
        Mark mark = Mark::Correct;
    };

    // One character of the texts and what became of it.
    struct Tally {
        QString character;
        int sent = 0;     // times it was sent
        int dropped = 0;  // of those, not copied
        int wrong = 0;    // of those, copied as another character
        int added = 0;    // times it was copied where nothing was sent
        int Missed() const { return dropped + wrong; }
    };

    // A sent character and what was copied for it instead (empty: nothing).
    struct Confusion {
        QString sent;
        QString copied;
        int count = 0;
    };

    // The share that the Koch method asks for before the next character is added.
    static constexpr int kKochThresholdPercent = 90;
    // Gap shown on the line that has no character in a column.
    static constexpr char16_t kGap = u'_';

    CopyScore() = default;

    // Aligns and scores; fast enough for texts of tens of thousands of characters.
    // multiLetter: the user-defined characters of more than one letter, as the sent
    // text shows them.
    static CopyScore Score(const QString& sent, const QString& copy, const QStringList& multiLetter = {});

    // The text as it is compared: lower case, groups separated by single spaces, no
    // leading or trailing space, a prosign written "^ar" (the signs + = ( as themselves).
    static QString Normalise(const QString& text);
    // The characters of a sent text, as Score counts them.
    static int CountCharacters(const QString& sent, const QStringList& multiLetter = {});
    // The columns a column takes when shown: its longer text, at least 1.
    static int ColumnWidth(const Column& column);

    const std::vector<Column>& Columns() const { return columns_; }

    int CharactersSent() const { return sent_; }
    int Correct() const { return correct_; }
    int Wrong() const { return wrong_; }
    int Dropped() const { return dropped_; }
    int Added() const { return added_; }
    int Errors() const { return wrong_ + dropped_ + added_; }

    // Percent of the characters sent, 0 when nothing was sent.
    double Accuracy() const;
    // Accuracy in tenths of a percent, rounded down: 899 is 89.9 %, never shown as 90.0 %.
    int AccuracyTenths() const;
    // "93.4%": one decimal, rounded down.
    QString AccuracyText() const;
    // At least 90 % of the characters sent (and something was sent).
    bool ReachesKochThreshold() const;
    // Errors that would have to go for the 90 %; 0 when it is reached.
    int ErrorsAboveThreshold() const;

    // Every character that was sent or added, in the order of first appearance in the
    // sent text (added-only characters after them).
    const std::vector<Tally>& Tallies() const { return tallies_; }
    // Most frequent first; ties in the order of first appearance.
    const std::vector<Confusion>& Confusions() const { return confusions_; }
    // The characters missed most (dropped or wrong), most first, at most `count`.
    std::vector<Tally> MostMissed(int count) const;
    // What a sent character was most often taken for; empty when never wrong.
    QString MostTakenFor(const QString& sent) const;

    // False when the texts were too far apart in length for an exact alignment within
    // the work limit: the errors are then an upper bound.
    bool Exact() const { return exact_; }

    // The aligned pair as text: blocks of a "sent" line, a "copy" line and a line of
    // marks ('^' wrong, '-' dropped, '+' added), each at most `width` columns and
    // broken at group boundaries where possible, blocks separated by an empty line.
    QStringList AlignedLines(int width = 72) const;
    // The same breaking as ranges [first, last) of Columns(), for other renderings.
    std::vector<std::pair<std::size_t, std::size_t>> Rows(int width = 72) const;

private:
    void CountColumns();

    std::vector<Column> columns_;
    std::vector<Tally> tallies_;
    std::vector<Confusion> confusions_;
    int sent_ = 0;
    int correct_ = 0;
    int wrong_ = 0;
    int dropped_ = 0;
    int added_ = 0;
    bool exact_ = true;
};

}  // namespace lumbrel
