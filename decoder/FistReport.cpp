#include "decoder/FistReport.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>
#include <vector>

namespace lumbrel {
namespace {

// A character's dashes outside this many dots, or a gap inside it over this many dot
// units, is noted even when the character was read right.
constexpr double kShortDashes = 2.5;
constexpr double kLongDashes = 3.6;
constexpr double kLongInnerGap = 1.8;

struct Accumulator {
    double sum = 0;
    double squares = 0;
    int count = 0;
    void Add(double v) {
        sum += v;
        squares += v * v;
        ++count;
    }
    FistMeasure Measure() const {
        FistMeasure m;
        m.count = count;
        if (count > 0) {
            m.mean = sum / count;
            m.spread = std::sqrt(std::max(0.0, squares / count - m.mean * m.mean));
        }
        return m;
    }
};

struct ExpectedCharacter {
    QString text;
    QByteArray code;
    bool wordEnds = false;  // a word space follows
};

// The characters of a text as the trainer writes it; a run after "^" is one prosign.
std::vector<ExpectedCharacter> ExpectedCharacters(const QString& text) {
    std::vector<ExpectedCharacter> out;
    for (const QString& word : text.toLower().split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (word.startsWith(QLatin1Char('^')) && word.size() > 1) {
            QByteArray code = TimelineDecoder::CodeOf(word);
            for (qsizetype i = 1; code.isEmpty() && i < word.size(); ++i)
                code += TimelineDecoder::CodeOf(word.mid(i, 1));
            if (!code.isEmpty())
                out.push_back({word, code, false});
        } else {
            for (QChar c : word)
                if (const QByteArray code = TimelineDecoder::CodeOf(QString(c)); !code.isEmpty())
                    out.push_back({QString(c), code, false});
        }
        if (!out.empty())
            out.back().wordEnds = true;
    }
    return out;
}

QString Shown(const QString& text) {
    return text.toUpper();
}

QString Units(double v) {
    return QString::number(v, 'f', 1);
}

// The notes are in the user's language where a translation is installed (the windows);
// each text is marked where it stands (QT_TRANSLATE_NOOP) for lupdate.
QString Tr(const char* text, const char* form = nullptr) {
    return QCoreApplication::translate("lumbrel::FistReport", text, form);
}

QString Ordinal(int n, bool after) {
    static const char* const kNames[] = {QT_TRANSLATE_NOOP("lumbrel::FistReport", "first"),
                                         QT_TRANSLATE_NOOP("lumbrel::FistReport", "second"),
                                         QT_TRANSLATE_NOOP("lumbrel::FistReport", "third"),
                                         QT_TRANSLATE_NOOP("lumbrel::FistReport", "fourth"),
                                         QT_TRANSLATE_NOOP("lumbrel::FistReport", "fifth"),
                                         QT_TRANSLATE_NOOP("lumbrel::FistReport", "sixth"),
                                         QT_TRANSLATE_NOOP("lumbrel::FistReport", "seventh"),
                                         QT_TRANSLATE_NOOP("lumbrel::FistReport", "eighth"),
                                         QT_TRANSLATE_NOOP("lumbrel::FistReport", "ninth")};
    if (n < 9)
        return Tr(kNames[n]);
    return after ? QCoreApplication::translate("lumbrel::FistReport", "last", "after the gap")
                 : QCoreApplication::translate("lumbrel::FistReport", "last");
}

// "the second dash": element index of a code, counted among its own kind; after: as
// "the gap after ..." names it.
QString ElementName(const QByteArray& code, int index, bool after = false) {
    int same = 0;
    for (int i = 0; i < index; ++i)
        same += code[i] == code[index];
    const bool dot = code[index] == '.';
    const QString name =
        after ? (dot ? QCoreApplication::translate("lumbrel::FistReport", "the %1 dot", "after the gap")
                     : QCoreApplication::translate("lumbrel::FistReport", "the %1 dash", "after the gap"))
              : (dot ? Tr(QT_TRANSLATE_NOOP("lumbrel::FistReport", "the %1 dot"))
                     : Tr(QT_TRANSLATE_NOOP("lumbrel::FistReport", "the %1 dash")));
    return name.arg(Ordinal(same, after));
}

QString Joined(const std::vector<const ExpectedCharacter*>& list) {
    QString s;
    for (const ExpectedCharacter* c : list)
        s += Shown(c->text);
    return s;
}

}  // namespace

FistReport FistReport::Measure(const KeyTimeline& timeline, const Decoding& decoding,
                               const QString& expected) {
    FistReport report;
    const int n = static_cast<int>(decoding.marks.size());
    if (n == 0 || static_cast<int>(timeline.marks.size()) != n)
        return report;
    Accumulator dots, dashes, gaps[3];
    for (int i = 0; i < n; ++i)
        (decoding.marks[i] == MarkKind::Dot ? dots : dashes)
            .Add(timeline.marks[i].Length() / decoding.unitMs[i]);
    for (int i = 0; i + 1 < n; ++i)
        gaps[static_cast<int>(decoding.gaps[i])].Add(decoding.gapUnits[i]);
    report.dot = dots.Measure();
    report.dash = dashes.Measure();
    report.elementGap = gaps[0].Measure();
    report.characterGap = gaps[1].Measure();
    report.wordGap = gaps[2].Measure();
    std::vector<double> units = decoding.unitMs;
    std::nth_element(units.begin(), units.begin() + n / 2, units.end());
    report.wpm = 1200 / units[n / 2];
    if (report.dot.count > 0 && report.dash.count > 0 && report.dot.mean > 0)
        report.dashDotRatio = report.dash.mean / report.dot.mean;
    if (report.dot.count > 0)
        report.weighting = report.elementGap.count > 0 && report.dot.mean + report.elementGap.mean > 0
                               ? 100 * report.dot.mean / (report.dot.mean + report.elementGap.mean)
                               : 50 * report.dot.mean;
    const double dit = report.dot.count > 0 && report.dot.mean > 0 ? report.dot.mean : 1.0;

    // Dashes and gaps inside a character: a note when far from the rules.
    const auto badly = [&](const DecodedCharacter& c) {
        Accumulator own;
        for (int i = c.firstMark; i < c.firstMark + c.markCount; ++i)
            if (decoding.marks[i] == MarkKind::Dash)
                own.Add(timeline.marks[i].Length() / decoding.unitMs[i]);
        if (own.count > 0 && own.sum / own.count / dit < kShortDashes)
            report.notes << Tr(QT_TRANSLATE_NOOP("lumbrel::FistReport", "%1: dashes short: %2 dits"))
                                .arg(Shown(c.text), Units(own.sum / own.count / dit));
        else if (own.count > 0 && own.sum / own.count / dit > kLongDashes)
            report.notes << Tr(QT_TRANSLATE_NOOP("lumbrel::FistReport", "%1: dashes long: %2 dits"))
                                .arg(Shown(c.text), Units(own.sum / own.count / dit));
        for (int i = c.firstMark; i + 1 < c.firstMark + c.markCount; ++i)
            if (decoding.gapUnits[i] > kLongInnerGap)
                report.notes << Tr(QT_TRANSLATE_NOOP("lumbrel::FistReport",
                                                     "%1: the gap after %2 was %3 dot units"))
                                    .arg(Shown(c.text), ElementName(c.code, i - c.firstMark, true),
                                         Units(decoding.gapUnits[i]));
    };

    const std::vector<ExpectedCharacter> want = ExpectedCharacters(expected);
    int wantMarks = 0;
    for (const ExpectedCharacter& c : want)
        wantMarks += static_cast<int>(c.code.size());
    if (expected.isEmpty()) {
        for (const DecodedCharacter& c : decoding.characters)
            badly(c);
        return report;
    }
    if (wantMarks != n &&
        static_cast<double>(want.size()) * static_cast<double>(decoding.characters.size()) > 4e6) {
        report.notes << Tr(QT_TRANSLATE_NOOP(
                               "lumbrel::FistReport",
                               "%1 elements sent, %2 in the text (too long to set side by side)"))
                            .arg(n)
                            .arg(wantMarks);
        return report;
    }
    if (wantMarks != n) {
        // Elements left out or added: the characters are set side by side.
        const int a = static_cast<int>(want.size());
        const int b = static_cast<int>(decoding.characters.size());
        std::vector<std::vector<int>> cost(a + 1, std::vector<int>(b + 1, 0));
        for (int i = 0; i <= a; ++i)
            for (int j = 0; j <= b; ++j)
                cost[i][j] =
                    i == 0   ? j
                    : j == 0 ? i
                             : std::min({cost[i - 1][j] + 1, cost[i][j - 1] + 1,
                                         cost[i - 1][j - 1] +
                                             (want[i - 1].text == decoding.characters[j - 1].text ? 0 : 1)});
        QStringList groups;
        QString sent, read;
        int i = a;
        int j = b;
        const auto flush = [&] {
            if (!sent.isEmpty() || !read.isEmpty())
                groups.prepend(
                    sent.isEmpty()
                        ? Tr(QT_TRANSLATE_NOOP("lumbrel::FistReport", "%1 read where nothing was sent"))
                              .arg(read)
                    : read.isEmpty()
                        ? Tr(QT_TRANSLATE_NOOP("lumbrel::FistReport", "%1 not read")).arg(sent)
                        : Tr(QT_TRANSLATE_NOOP("lumbrel::FistReport", "%1 read as %2")).arg(sent, read));
            sent.clear();
            read.clear();
        };
        while (i > 0 || j > 0) {
            if (i > 0 && j > 0 && want[i - 1].text == decoding.characters[j - 1].text &&
                cost[i][j] == cost[i - 1][j - 1]) {
                flush();
                --i;
                --j;
            } else if (i > 0 && j > 0 && cost[i][j] == cost[i - 1][j - 1] + 1) {
                sent.prepend(Shown(want[--i].text));
                read.prepend(Shown(decoding.characters[--j].text));
            } else if (i > 0 && cost[i][j] == cost[i - 1][j] + 1) {
                sent.prepend(Shown(want[--i].text));
            } else {
                read.prepend(Shown(decoding.characters[--j].text));
            }
        }
        flush();
        report.notes << groups;
        report.notes << Tr(QT_TRANSLATE_NOOP("lumbrel::FistReport", "%1 elements sent, %2 in the text"))
                            .arg(n)
                            .arg(wantMarks);
        return report;
    }

    // Each element of the sending is an element of the text: the characters are
    // compared in spans that begin and end on a boundary of both.
    std::vector<int> owner(n);  // the expected character of each mark
    std::vector<int> offset(n);
    for (int c = 0, m = 0; c < static_cast<int>(want.size()); ++c)
        for (int e = 0; e < want[c].code.size(); ++e, ++m) {
            owner[m] = c;
            offset[m] = e;
        }
    std::size_t next = 0;  // the next decoded character
    int first = 0;         // the first mark of the span
    for (int m = 0; m < n; ++m) {
        const bool wantEnds = m + 1 == n || owner[m + 1] != owner[m];
        const bool readEnds = m + 1 == n || decoding.gaps[m] != GapKind::Element;
        if (!wantEnds || !readEnds)
            continue;
        std::vector<const ExpectedCharacter*> sent;
        for (int c = owner[first]; c <= owner[m]; ++c)
            sent.push_back(&want[c]);
        std::vector<const DecodedCharacter*> read;
        while (next < decoding.characters.size() && decoding.characters[next].firstMark <= m)
            read.push_back(&decoding.characters[next++]);
        QString readText;
        for (const DecodedCharacter* c : read)
            readText += c->text;
        QString sentText;
        for (const ExpectedCharacter* c : sent)
            sentText += c->text;
        if (readText == sentText) {
            for (const DecodedCharacter* c : read)
                badly(*c);
        } else {
            const bool several = sent.size() > 1;
            QStringList why;
            for (int k = first; k <= m; ++k) {
                const ExpectedCharacter& c = want[owner[k]];
                const QString of =
                    several ? Tr(QT_TRANSLATE_NOOP("lumbrel::FistReport", " of %1")).arg(Shown(c.text))
                            : QString();
                const bool wantDash = c.code[offset[k]] == '-';
                if (wantDash != (decoding.marks[k] == MarkKind::Dash))
                    why << Tr(QT_TRANSLATE_NOOP("lumbrel::FistReport", "%1%2 was %3 dot units"))
                               .arg(ElementName(c.code, offset[k]), of,
                                    Units(timeline.marks[k].Length() / decoding.unitMs[k]));
                if (k == m)
                    continue;
                const bool inside = owner[k + 1] == owner[k];
                const bool readInside = decoding.gaps[k] == GapKind::Element;
                if (inside && !readInside)
                    why << Tr(QT_TRANSLATE_NOOP("lumbrel::FistReport", "the gap after %1%2 was %3 dot units"))
                               .arg(ElementName(c.code, offset[k], true), of, Units(decoding.gapUnits[k]));
                else if (!inside && readInside)
                    why << Tr(QT_TRANSLATE_NOOP("lumbrel::FistReport", "the gap after %1 was %2 dot units"))
                               .arg(Shown(c.text), Units(decoding.gapUnits[k]));
            }
            report.notes << Tr(QT_TRANSLATE_NOOP("lumbrel::FistReport", "%1 read as %2: %3"))
                                .arg(Joined(sent), Shown(readText), why.join(QStringLiteral(", ")));
        }
        first = m + 1;
    }
    return report;
}

QStringList FistReport::Lines() const {
    QStringList lines;
    const auto number = [](double v, int decimals) {
        return QString::number(v, 'f', decimals);
    };
    lines << QStringLiteral("speed %1").arg(number(wpm, 1));
    if (dashDotRatio > 0)
        lines << QStringLiteral("dah_dit_ratio %1").arg(number(dashDotRatio, 2));
    const std::pair<const char*, const FistMeasure*> measures[] = {{"dot", &dot},
                                                                   {"dash", &dash},
                                                                   {"element_gap", &elementGap},
                                                                   {"character_gap", &characterGap},
                                                                   {"word_gap", &wordGap}};
    for (const auto& [name, m] : measures) {
        if (m->count == 0)
            continue;
        lines << QStringLiteral("%1 %2").arg(QLatin1String(name), number(m->mean, 2));
        lines << QStringLiteral("%1_spread %2").arg(QLatin1String(name), number(m->spread, 2));
    }
    if (dot.count > 0)
        lines << QStringLiteral("weighting %1").arg(number(weighting, 1));
    for (const QString& note : notes)
        lines << QStringLiteral("note ") + note;
    return lines;
}

}  // namespace lumbrel
