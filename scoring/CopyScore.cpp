#include "scoring/CopyScore.h"

#include <QHash>

#include <algorithm>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>

namespace lumbrel {
namespace {

// --- The texts as sequences of characters with group flags ------------------------------

constexpr std::uint8_t kGroupStart = 1;
constexpr std::uint8_t kGroupEnd = 2;

// The texts as sequences of what is compared: one code per character, the same code
// for every way of writing one prosign, and beside it the character as it is shown.
// A user-defined character of several letters stays one letter per code, all marked
// with its number, so that the alignment pairs its letters one by one; they are taken
// together again as one column.
struct Sequence {
    std::vector<char16_t> chars;
    std::vector<std::uint8_t> flags;  // kGroupStart, kGroupEnd
    std::vector<QString> texts;       // as shown; empty in slices for the alignment
    std::vector<int> units;           // the multi-letter character it belongs to; -1 none
    std::vector<QString> unitTexts;   // by unit number

    int Size() const { return static_cast<int>(chars.size()); }
    bool Starts(int k) const { return (flags[static_cast<std::size_t>(k)] & kGroupStart) != 0; }
    bool Ends(int k) const { return (flags[static_cast<std::size_t>(k)] & kGroupEnd) != 0; }
};

// Codes of the prosigns of one scoring, from the start of the private use area; a
// character of that area in the texts is compared as U+FFFD, so never as a prosign.
class ProsignCodes {
public:
    char16_t For(const QString& prosign) {
        auto it = codes_.find(prosign);
        if (it != codes_.end())
            return *it;
        // Beyond the area's thousands (a text that is no copy) the rest compare alike.
        if (codes_.size() > kLast - kFirst)
            return char16_t{0xFFFD};
        return *codes_.insert(prosign, static_cast<char16_t>(kFirst + codes_.size()));
    }
    static char16_t ForCharacter(QChar c) {
        const char16_t u = c.toLower().unicode();
        return u >= kFirst && u <= kLast ? char16_t{0xFFFD} : u;
    }

private:
    static constexpr char16_t kFirst = 0xE000;
    static constexpr char16_t kLast = 0xF8FF;
    QHash<QString, char16_t> codes_;
};

bool Ignored(QChar c) {
    return c.category() == QChar::Other_Control || c.category() == QChar::Other_Format;
}

// A prosign written at text[at] in one of the usual ways: "^ar" (as the display shows
// a joined run, up to the next space), "<ar>", or the signs "+" (^ar), "=" (^bt) and
// "(" (^kn). Its form "^" + letters in lower case, and its length in text.
std::optional<std::pair<QString, qsizetype>> ProsignAt(const QString& text, qsizetype at) {
    const QChar c = text[at];
    if (c == QLatin1Char('+'))
        return std::pair{QStringLiteral("^ar"), qsizetype{1}};
    if (c == QLatin1Char('='))
        return std::pair{QStringLiteral("^bt"), qsizetype{1}};
    if (c == QLatin1Char('('))
        return std::pair{QStringLiteral("^kn"), qsizetype{1}};
    if (c == QLatin1Char('^')) {
        QString letters;
        qsizetype end = at + 1;
        for (; end < text.size() && !text[end].isSpace() && text[end] != QLatin1Char('^'); ++end)
            if (!Ignored(text[end]))
                letters += text[end].toLower();
        if (letters.isEmpty())
            return std::nullopt;
        return std::pair{QLatin1Char('^') + letters, end - at};
    }
    if (c == QLatin1Char('<')) {
        constexpr qsizetype kLongest = 6;
        qsizetype end = at + 1;
        while (end < text.size() && end - at <= kLongest && text[end].isLetterOrNumber())
            ++end;
        if (end == at + 1 || end >= text.size() || text[end] != QLatin1Char('>'))
            return std::nullopt;
        return std::pair{QLatin1Char('^') + text.mid(at + 1, end - at - 1).toLower(), end - at + 1};
    }
    return std::nullopt;
}

// multiLetter: the user-defined characters of several letters, found as shown
// (case and all); only in the sent text, where the display wrote them.
Sequence MakeSequence(const QString& text, const QStringList& multiLetter, ProsignCodes& codes) {
    QStringList units;
    for (const QString& u : multiLetter)
        if (u.size() > 1 && !std::any_of(u.begin(), u.end(), [](QChar c) { return c.isSpace(); }))
            units << u;
    std::sort(units.begin(), units.end(),
              [](const QString& a, const QString& b) { return a.size() > b.size(); });

    Sequence s;
    s.chars.reserve(static_cast<std::size_t>(text.size()));
    s.flags.reserve(static_cast<std::size_t>(text.size()));
    s.texts.reserve(static_cast<std::size_t>(text.size()));
    s.units.reserve(static_cast<std::size_t>(text.size()));
    bool start = true;
    const auto push = [&](char16_t code, QString shown, int unit) {
        s.chars.push_back(code);
        s.flags.push_back(start ? kGroupStart : 0);
        s.texts.push_back(std::move(shown));
        s.units.push_back(unit);
        start = false;
    };
    for (qsizetype at = 0; at < text.size();) {
        const QChar c = text[at];
        if (c.isSpace()) {
            if (!s.flags.empty())
                s.flags.back() |= kGroupEnd;
            start = true;
            ++at;
            continue;
        }
        if (Ignored(c)) {
            ++at;
            continue;
        }
        const auto unit = std::find_if(units.cbegin(), units.cend(), [&](const QString& u) {
            return QStringView(text).mid(at).startsWith(u);
        });
        if (unit != units.cend()) {
            const int number = static_cast<int>(s.unitTexts.size());
            s.unitTexts.push_back(unit->toLower());
            for (QChar letter : *unit)
                push(ProsignCodes::ForCharacter(letter), QString(letter.toLower()), number);
            at += unit->size();
            continue;
        }
        if (const auto prosign = ProsignAt(text, at)) {
            // A sign ("=") is shown as itself: a user-defined character "=" keeps its name.
            push(codes.For(prosign->first), prosign->second == 1 ? QString(c) : prosign->first, -1);
            at += prosign->second;
            continue;
        }
        if (c != QLatin1Char('^'))  // a marker with nothing after it
            push(ProsignCodes::ForCharacter(c), QString(c.toLower()), -1);
        ++at;
    }
    if (!s.flags.empty())
        s.flags.back() |= kGroupEnd;
    return s;
}

// --- The alignment ----------------------------------------------------------------------
//
// A dynamic programme over (sent characters used, copied characters used) with three
// states for the last column: a pair (M), a dropped sent character (D), an added copied
// character (I). A cost is (errors, penalty), compared errors first; the penalty only
// chooses among alignments with equally many errors, preferring those that keep groups
// together:
//   - a pair whose characters differ in starting or ending a group: 1 each;
//   - opening a run of dropped or added characters: 2, plus 1 when it does not begin
//     at a group start, plus 1 when it does not close at a group end.
// The programme runs in a band of diagonals around the straight path; the band is
// widened until it provably holds the best alignment (a path that leaves a band of K
// extra diagonals has more than 2K + |n - m| errors), within a limit of work.

using Cost = std::int64_t;
constexpr Cost kError = Cost{1} << 32;
constexpr Cost kInfinite =
    std::numeric_limits<Cost>::max() / 8;  // stays far from overflow with any sum of a few steps
constexpr Cost kOpen = 2;
// The most cells of the programme for one alignment: about a second of work (the way
// back computes them twice); the memory they take grows only with their square root.
constexpr std::int64_t kMaxCells = 100'000'000;

enum State : std::uint8_t { kM = 0, kD = 1, kI = 2 };

struct Band {
    std::vector<int> lo;  // first column of each row
    std::vector<int> hi;  // last column of each row
    std::int64_t cells = 0;
};

// Rows 0..n; the diagonals j - i from lo - extra to hi + extra.
Band DiagonalBand(int n, int m, int extra) {
    Band b;
    b.lo.resize(static_cast<std::size_t>(n) + 1);
    b.hi.resize(static_cast<std::size_t>(n) + 1);
    const std::int64_t low = std::min(0, m - n) - static_cast<std::int64_t>(extra);
    const std::int64_t high = std::max(0, m - n) + static_cast<std::int64_t>(extra);
    for (int i = 0; i <= n; ++i) {
        const int lo = static_cast<int>(std::clamp<std::int64_t>(i + low, 0, m));
        const int hi = static_cast<int>(std::clamp<std::int64_t>(i + high, 0, m));
        b.lo[static_cast<std::size_t>(i)] = lo;
        b.hi[static_cast<std::size_t>(i)] = hi;
        b.cells += hi - lo + 1;
    }
    return b;
}

std::int64_t DiagonalBandCells(int n, int m, int extra) {
    const std::int64_t low = std::min(0, m - n) - static_cast<std::int64_t>(extra);
    const std::int64_t high = std::max(0, m - n) + static_cast<std::int64_t>(extra);
    std::int64_t cells = 0;
    for (int i = 0; i <= n; ++i)
        cells += std::clamp<std::int64_t>(i + high, 0, m) - std::clamp<std::int64_t>(i + low, 0, m) + 1;
    return cells;
}

// A corridor along the straight line from (0, 0) to (n, m), within the work limit.
Band Corridor(int n, int m, std::int64_t maxCells) {
    Band b;
    b.lo.resize(static_cast<std::size_t>(n) + 1);
    b.hi.resize(static_cast<std::size_t>(n) + 1);
    const std::int64_t slope = n > 0 ? (static_cast<std::int64_t>(m) + n - 1) / n : m;
    std::int64_t half = std::max<std::int64_t>(16, maxCells / (2 * (static_cast<std::int64_t>(n) + 1)));
    half = std::max(half, slope + 1);
    for (int i = 0; i <= n; ++i) {
        const std::int64_t down = n > 0 ? static_cast<std::int64_t>(i) * m / n : 0;
        const std::int64_t up = n > 0 ? (static_cast<std::int64_t>(i) * m + n - 1) / n : m;
        const int lo = static_cast<int>(std::clamp<std::int64_t>(down - half, 0, m));
        const int hi = static_cast<int>(std::clamp<std::int64_t>(up + half, 0, m));
        b.lo[static_cast<std::size_t>(i)] = lo;
        b.hi[static_cast<std::size_t>(i)] = hi;
        b.cells += hi - lo + 1;
    }
    b.lo[0] = 0;
    b.hi[static_cast<std::size_t>(n)] = m;
    return b;
}

struct Step {
    int sent;    // index into the sent sequence, or -1
    int copied;  // index into the copied sequence, or -1
};

struct Alignment {
    std::vector<Step> steps;
    int errors = 0;
    std::int64_t cells = 0;  // the work it took
};

// Penalties of one text, by character: opening a run of its characters (dropped or
// added) there, and closing such a run after it.
struct RunPenalties {
    std::vector<Cost> open;
    std::vector<Cost> close;
};

RunPenalties PenaltiesOf(const Sequence& q) {
    RunPenalties p;
    p.open.resize(q.chars.size());
    p.close.resize(q.chars.size());
    for (int k = 0; k < q.Size(); ++k) {
        p.open[static_cast<std::size_t>(k)] = kOpen + (q.Starts(k) ? 0 : 1);
        p.close[static_cast<std::size_t>(k)] = q.Ends(k) ? 0 : 1;
    }
    return p;
}

// Takes v when it is lower (an earlier candidate wins a tie); written to compile
// without branches, which random copies would mispredict.
inline void Pick(Cost v, std::uint8_t state, Cost& best, std::uint8_t& from) {
    const bool lower = v < best;
    best = lower ? v : best;
    from = lower ? state : from;
}

struct Cell {
    Cost m;
    Cost d;
    Cost i;
};

// The programme in linear memory: a first pass keeps the cells of every B-th row only
// (B about the square root of the rows); the way back recomputes one block of B rows
// at a time from its kept row, with the predecessors of that block alone.
Alignment Align(const Sequence& s, const Sequence& c, const Band& band) {
    const int n = s.Size();
    const int m = c.Size();
    int widest = 1;
    std::int64_t cells = 0;
    for (int i = 0; i <= n; ++i) {
        const int width = band.hi[static_cast<std::size_t>(i)] - band.lo[static_cast<std::size_t>(i)] + 1;
        widest = std::max(widest, width);
        cells += width;
    }
    // Predecessors of up to 16 million cells are simply kept: one pass, one block.
    const bool whole = (static_cast<std::int64_t>(n) + 1) * widest <= 16'000'000;
    int block = whole ? n + 1 : 64;
    while (static_cast<std::int64_t>(block) * block < n + 1)
        block *= 2;
    const auto rowWidth = static_cast<std::size_t>(widest) + 2;

    const RunPenalties sp = PenaltiesOf(s);
    const RunPenalties cp = PenaltiesOf(c);
    // Pair penalty by the two characters' group flags: one per flag they differ in.
    static constexpr Cost kFlagMismatch[4] = {0, 1, 1, 2};
    const Cell unreachable{kInfinite, kInfinite, kInfinite};

    // Row i from row i - 1 (prev, by column - prev lo): its cells, by column - lo, with
    // one spare cell at each end that stays unreachable, and the predecessor state of
    // each state of each cell: M in bits 0-1, D in 2-3, I in 4-5.
    const auto computeRow = [&](int i, const Cell* prev, Cell* cur, std::uint8_t* traceRow) {
        const int lo = band.lo[static_cast<std::size_t>(i)];
        const int hi = band.hi[static_cast<std::size_t>(i)];
        const int prevLo = i > 0 ? band.lo[static_cast<std::size_t>(i) - 1] : 0;
        const int prevHi = i > 0 ? band.hi[static_cast<std::size_t>(i) - 1] : -1;
        cur[-1] = unreachable;
        const int a = i - 1;  // the sent character of this row
        const char16_t sentChar = i > 0 ? s.chars[static_cast<std::size_t>(a)] : 0;
        const std::uint8_t sentFlags = i > 0 ? s.flags[static_cast<std::size_t>(a)] : 0;
        const Cost openD = i > 0 ? sp.open[static_cast<std::size_t>(a)] : 0;
        const Cost closeDHere = i > 0 ? sp.close[static_cast<std::size_t>(a)] : 0;  // a run ending at a
        const Cost closeDBefore =
            i > 1 ? sp.close[static_cast<std::size_t>(a) - 1] : 0;  // a run ending at a-1

        for (int j = lo; j <= hi; ++j) {
            const int at = j - lo;
            Cell cell = unreachable;
            std::uint8_t t = 0;
            if (i == 0 && j == 0) {
                cell.m = 0;  // the start counts as a pair: nothing to close
            } else {
                const bool prevHasJ = i > 0 && j >= prevLo && j <= prevHi;
                const bool prevHasJm1 = i > 0 && j - 1 >= prevLo && j - 1 <= prevHi;
                // M: sent a paired with copied j-1, from (i-1, j-1).
                if (prevHasJm1 && j > 0) {
                    const Cell& p = prev[j - 1 - prevLo];
                    const std::size_t b = static_cast<std::size_t>(j) - 1;
                    Cost best = p.m;
                    std::uint8_t from = kM;
                    Pick(p.d + closeDBefore, kD, best, from);
                    Pick(p.i + (b > 0 ? cp.close[b - 1] : 0), kI, best, from);
                    const Cost differs = sentChar != c.chars[b];
                    cell.m = best + differs * kError + kFlagMismatch[(sentFlags ^ c.flags[b]) & 3];
                    t |= from;
                }
                // D: sent a dropped, from (i-1, j).
                if (prevHasJ) {
                    const Cell& p = prev[j - prevLo];
                    Cost best = p.m + openD;
                    std::uint8_t from = kM;
                    Pick(p.d, kD, best, from);
                    Pick(p.i + (j > 0 ? cp.close[static_cast<std::size_t>(j) - 1] : 0) + openD, kI, best,
                         from);
                    cell.d = best + kError;
                    t |= static_cast<std::uint8_t>(from << 2);
                }
                // I: copied j-1 added, from (i, j-1).
                if (j > lo) {
                    const Cell& p = cur[at - 1];
                    const Cost openI = cp.open[static_cast<std::size_t>(j) - 1];
                    Cost best = p.m + openI;
                    std::uint8_t from = kM;
                    Pick(p.d + closeDHere + openI, kD, best, from);
                    Pick(p.i, kI, best, from);
                    cell.i = best + kError;
                    t |= static_cast<std::uint8_t>(from << 4);
                }
                // Nothing reaches beyond "unreachable".
                cell.m = std::min(cell.m, kInfinite);
                cell.d = std::min(cell.d, kInfinite);
                cell.i = std::min(cell.i, kInfinite);
            }
            cur[at] = cell;
            traceRow[at] = t;
        }
    };

    // The first pass: every row, the rows before each block kept (row -1 is unreachable).
    const int blocks = n / block + 1;
    std::vector<Cell> kept(static_cast<std::size_t>(blocks) * rowWidth, unreachable);
    std::vector<Cell> prevRow(rowWidth, unreachable);
    std::vector<Cell> curRow(rowWidth, unreachable);
    std::vector<std::uint8_t> trace(static_cast<std::size_t>(block) * static_cast<std::size_t>(widest));
    for (int i = 0; i <= n; ++i) {
        if (i % block == 0 && i > 0)
            std::copy(prevRow.begin(), prevRow.end(),
                      kept.begin() + static_cast<std::ptrdiff_t>((i / block) * rowWidth));
        computeRow(
            i, prevRow.data() + 1, curRow.data() + 1,
            trace.data() + (whole ? static_cast<std::size_t>(i) * static_cast<std::size_t>(widest) : 0));
        curRow.swap(prevRow);
    }

    // The end: the state that ends cheapest, its open run closed.
    const Cell& end = prevRow[static_cast<std::size_t>(m - band.lo[static_cast<std::size_t>(n)]) + 1];
    Cost best = end.m;
    State state = kM;
    if (n > 0 && end.d + sp.close[static_cast<std::size_t>(n) - 1] < best) {
        best = end.d + sp.close[static_cast<std::size_t>(n) - 1];
        state = kD;
    }
    if (m > 0 && end.i + cp.close[static_cast<std::size_t>(m) - 1] < best) {
        best = end.i + cp.close[static_cast<std::size_t>(m) - 1];
        state = kI;
    }

    Alignment result;
    result.errors = static_cast<int>(best / kError);
    result.cells = cells;
    result.steps.reserve(static_cast<std::size_t>(n + m));
    int first = whole ? 0 : n + 1;  // the block whose predecessors are in trace: rows first..
    int i = n;
    int j = m;
    while (i > 0 || j > 0) {
        if (i < first) {
            first = i / block * block;
            std::copy(kept.begin() + static_cast<std::ptrdiff_t>((i / block) * rowWidth),
                      kept.begin() + static_cast<std::ptrdiff_t>((i / block + 1) * rowWidth),
                      prevRow.begin());
            for (int r = first; r <= std::min(n, first + block - 1); ++r) {
                computeRow(
                    r, prevRow.data() + 1, curRow.data() + 1,
                    trace.data() + static_cast<std::size_t>(r - first) * static_cast<std::size_t>(widest));
                curRow.swap(prevRow);
            }
        }
        const std::uint8_t t = trace[static_cast<std::size_t>(i - first) * static_cast<std::size_t>(widest) +
                                     static_cast<std::size_t>(j - band.lo[static_cast<std::size_t>(i)])];
        const auto from = static_cast<State>((t >> (2 * state)) & 3);
        switch (state) {
            case kM:
                result.steps.push_back({i - 1, j - 1});
                --i;
                --j;
                break;
            case kD:
                result.steps.push_back({i - 1, -1});
                --i;
                break;
            case kI:
                result.steps.push_back({-1, j - 1});
                --j;
                break;
        }
        state = from;
    }
    std::reverse(result.steps.begin(), result.steps.end());
    return result;
}

// The banded alignment within the work limit. A first pass in a narrow band gives an
// error count that bounds the best alignment's, and so how wide a band surely holds
// it; a second pass in that band (or the widest the limit allows) gives the answer.
// Null when even the narrowest band is over the limit.
std::optional<Alignment> AlignInBands(const Sequence& s, const Sequence& c, std::int64_t maxCells,
                                      bool* exact) {
    const int n = s.Size();
    const int m = c.Size();
    const std::int64_t lengthGap = std::abs(n - m);
    int extra = 32;
    if (DiagonalBandCells(n, m, extra) > maxCells)
        return std::nullopt;
    Alignment alignment = Align(s, c, DiagonalBand(n, m, extra));
    auto proven = [&](int k) {
        return k >= std::max(n, m) || alignment.errors <= 2 * static_cast<std::int64_t>(k) + lengthGap;
    };
    *exact = proven(extra);
    if (*exact)
        return alignment;
    int wider = static_cast<int>(std::min<std::int64_t>(
        std::max(n, m), std::max<std::int64_t>(2 * extra, (alignment.errors - lengthGap + 1) / 2)));
    if (DiagonalBandCells(n, m, wider) > maxCells) {
        int low = extra;  // the widest band within the limit
        int high = wider;
        while (high - low > 1) {
            const int mid = low + (high - low) / 2;
            (DiagonalBandCells(n, m, mid) > maxCells ? high : low) = mid;
        }
        wider = low;
    }
    if (wider > extra) {
        const std::int64_t firstPass = alignment.cells;
        extra = wider;
        alignment = Align(s, c, DiagonalBand(n, m, extra));
        alignment.cells += firstPass;
    }
    *exact = proven(extra);
    return alignment;
}

Sequence Slice(const Sequence& q, int from, int to) {
    Sequence part;
    part.chars.assign(q.chars.begin() + from, q.chars.begin() + to);
    part.flags.assign(q.flags.begin() + from, q.flags.begin() + to);
    return part;
}

std::vector<int> GroupStarts(const Sequence& q) {
    std::vector<int> starts;
    for (int k = 0; k < q.Size(); ++k)
        if (q.Starts(k))
            starts.push_back(k);
    starts.push_back(q.Size());
    return starts;
}

// For texts too far apart for the band: anchors first, then the band between them.
// An anchor is a pair of neighbouring groups that occurs once in each text; the
// longest chain of anchors in the same order in both is kept, the first group of each
// is taken as copied right, and the stretches between are aligned in bands (or, when
// one is still too large, in a corridor along its diagonal).
std::optional<Alignment> AlignAnchored(const Sequence& s, const Sequence& c) {
    const std::vector<int> sg = GroupStarts(s);
    const std::vector<int> cg = GroupStarts(c);
    auto key = [](const Sequence& q, const std::vector<int>& g, std::size_t k) {
        std::u16string text(q.chars.begin() + g[k], q.chars.begin() + g[k + 2]);
        text.insert(static_cast<std::size_t>(g[k + 1] - g[k]), 1, u' ');
        return text;
    };
    struct Seen {
        int count = 0;
        int at = 0;
    };
    std::unordered_map<std::u16string, Seen> inSent;
    std::unordered_map<std::u16string, Seen> inCopy;
    // Pairs shorter than this match by chance too often to anchor anything.
    constexpr int kShortestAnchor = 6;
    for (std::size_t k = 0; k + 2 < sg.size(); ++k) {
        if (sg[k + 2] - sg[k] < kShortestAnchor)
            continue;
        Seen& seen = inSent[key(s, sg, k)];
        seen.count += 1;
        seen.at = static_cast<int>(k);
    }
    for (std::size_t k = 0; k + 2 < cg.size(); ++k) {
        if (cg[k + 2] - cg[k] < kShortestAnchor)
            continue;
        Seen& seen = inCopy[key(c, cg, k)];
        seen.count += 1;
        seen.at = static_cast<int>(k);
    }
    std::vector<std::pair<int, int>> candidates;  // (sent group, copied group)
    for (const auto& [text, seen] : inSent) {
        if (seen.count != 1)
            continue;
        const auto other = inCopy.find(text);
        if (other != inCopy.end() && other->second.count == 1)
            candidates.emplace_back(seen.at, other->second.at);
    }
    std::sort(candidates.begin(), candidates.end());

    // The longest chain with both group numbers rising.
    std::vector<int> tails;  // candidate index ending the best chain of each length
    std::vector<int> before(candidates.size(), -1);
    for (int k = 0; k < static_cast<int>(candidates.size()); ++k) {
        const int l = candidates[static_cast<std::size_t>(k)].second;
        const auto pos = std::lower_bound(tails.begin(), tails.end(), l, [&](int idx, int value) {
            return candidates[static_cast<std::size_t>(idx)].second < value;
        });
        if (pos != tails.begin())
            before[static_cast<std::size_t>(k)] = *(pos - 1);
        if (pos == tails.end())
            tails.push_back(k);
        else
            *pos = k;
    }
    std::vector<std::pair<int, int>> chain;
    for (int k = tails.empty() ? -1 : tails.back(); k >= 0; k = before[static_cast<std::size_t>(k)])
        chain.push_back(candidates[static_cast<std::size_t>(k)]);
    std::reverse(chain.begin(), chain.end());
    if (chain.empty())
        return std::nullopt;

    Alignment result;
    std::int64_t budget = kMaxCells;  // shared by all stretches
    auto alignStretch = [&](int s0, int s1, int c0, int c1) {
        const Sequence a = Slice(s, s0, s1);
        const Sequence b = Slice(c, c0, c1);
        bool exact = false;
        const std::int64_t limit = std::max<std::int64_t>(budget, 64 * (std::int64_t{a.Size()} + 1));
        std::optional<Alignment> part = AlignInBands(a, b, limit, &exact);
        if (!part)
            part = Align(a, b, Corridor(a.Size(), b.Size(), limit));
        budget -= std::min(budget, part->cells);
        for (const Step& step : part->steps)
            result.steps.push_back(
                {step.sent < 0 ? -1 : step.sent + s0, step.copied < 0 ? -1 : step.copied + c0});
        result.errors += part->errors;
    };
    int sentAt = 0;
    int copyAt = 0;
    for (const auto& [k, l] : chain) {
        const int s0 = sg[static_cast<std::size_t>(k)];
        const int s1 = sg[static_cast<std::size_t>(k) + 1];
        const int c0 = cg[static_cast<std::size_t>(l)];
        if (s0 < sentAt || c0 < copyAt)
            continue;
        alignStretch(sentAt, s0, copyAt, c0);
        for (int t = 0; t < s1 - s0; ++t)
            result.steps.push_back({s0 + t, c0 + t});
        sentAt = s1;
        copyAt = c0 + (s1 - s0);
    }
    alignStretch(sentAt, s.Size(), copyAt, c.Size());
    return result;
}

Alignment AlignTexts(const Sequence& s, const Sequence& c, bool* exact) {
    *exact = false;
    std::optional<Alignment> banded = AlignInBands(s, c, kMaxCells, exact);
    if (banded && *exact)
        return *banded;
    // Beyond the limit: the anchored alignment, or the band's best when it has fewer errors.
    std::optional<Alignment> anchored = AlignAnchored(s, c);
    if (!anchored)
        return banded ? *banded : Align(s, c, Corridor(s.Size(), c.Size(), kMaxCells));
    if (banded && banded->errors <= anchored->errors)
        return *banded;
    return *anchored;
}

}  // namespace

// --- Scoring ------------------------------------------------------------------------------

QString CopyScore::Normalise(const QString& text) {
    ProsignCodes codes;
    const Sequence s = MakeSequence(text, {}, codes);
    QString out;
    out.reserve(text.size());
    for (int k = 0; k < s.Size(); ++k) {
        if (s.Starts(k) && k > 0)
            out += QLatin1Char(' ');
        out += s.texts[static_cast<std::size_t>(k)];
    }
    return out;
}

int CopyScore::CountCharacters(const QString& sent, const QStringList& multiLetter) {
    ProsignCodes codes;
    const Sequence s = MakeSequence(sent, multiLetter, codes);
    int count = 0;
    for (std::size_t k = 0; k < s.units.size(); ++k)
        count += s.units[k] < 0 || k == 0 || s.units[k - 1] != s.units[k];
    return count;
}

CopyScore CopyScore::Score(const QString& sent, const QString& copy, const QStringList& multiLetter) {
    ProsignCodes codes;
    const Sequence s = MakeSequence(sent, multiLetter, codes);
    const Sequence c = MakeSequence(copy, {}, codes);

    CopyScore score;
    const Alignment alignment = AlignTexts(s, c, &score.exact_);
    const std::vector<Step>& steps = alignment.steps;

    // The steps that make one column of a multi-letter character: from the first to
    // the last of its letters, with what was added between them.
    std::vector<int> unitEnd(steps.size(), -1);  // at a unit's first step: its last
    for (std::size_t k = 0; k < steps.size(); ++k) {
        if (steps[k].sent < 0)
            continue;
        const int unit = s.units[static_cast<std::size_t>(steps[k].sent)];
        if (unit < 0)
            continue;
        std::size_t first = k;
        std::size_t last = k;
        for (std::size_t j = k + 1; j < steps.size(); ++j) {
            if (steps[j].sent >= 0 && s.units[static_cast<std::size_t>(steps[j].sent)] != unit)
                break;
            if (steps[j].sent >= 0)
                last = j;
        }
        unitEnd[first] = static_cast<int>(last);
        k = last;
    }

    // Columns, with one boundary column wherever either text begins a new group.
    score.columns_.reserve(steps.size() + steps.size() / 4 + 1);
    for (std::size_t k = 0; k < steps.size(); ++k) {
        const Step& step = steps[k];
        const bool newGroup =
            (step.sent > 0 && s.Starts(step.sent)) || (step.copied > 0 && c.Starts(step.copied));
        if (newGroup && !score.columns_.empty() && score.columns_.back().mark != Mark::Boundary)
            score.columns_.push_back({QString(), QString(), Mark::Boundary});
        Column column;
        if (unitEnd[k] >= 0) {
            column.sent = s.unitTexts[static_cast<std::size_t>(s.units[static_cast<std::size_t>(step.sent)])];
            bool right = true;
            for (std::size_t j = k; j <= static_cast<std::size_t>(unitEnd[k]); ++j) {
                const Step& part = steps[j];
                if (part.copied >= 0)
                    column.copied += c.texts[static_cast<std::size_t>(part.copied)];
                right = right && part.sent >= 0 && part.copied >= 0 &&
                        s.chars[static_cast<std::size_t>(part.sent)] ==
                            c.chars[static_cast<std::size_t>(part.copied)];
            }
            column.mark = right ? Mark::Correct : column.copied.isEmpty() ? Mark::Dropped : Mark::Wrong;
            score.columns_.push_back(column);
            k = static_cast<std::size_t>(unitEnd[k]);
            continue;
        }
        if (step.sent >= 0)
            column.sent = s.texts[static_cast<std::size_t>(step.sent)];
        if (step.copied >= 0)
            column.copied = c.texts[static_cast<std::size_t>(step.copied)];
        if (step.sent < 0)
            column.mark = Mark::Added;
        else if (step.copied < 0)
            column.mark = Mark::Dropped;
        else
            column.mark =
                s.chars[static_cast<std::size_t>(step.sent)] == c.chars[static_cast<std::size_t>(step.copied)]
                    ? Mark::Correct
                    : Mark::Wrong;
        score.columns_.push_back(column);
    }
    score.CountColumns();
    return score;
}

void CopyScore::CountColumns() {
    QHash<QString, std::size_t> index;
    auto tally = [&](const QString& ch) -> Tally& {
        auto it = index.find(ch);
        if (it == index.end()) {
            it = index.insert(ch, tallies_.size());
            tallies_.push_back(Tally{ch, 0, 0, 0, 0});
        }
        return tallies_[*it];
    };
    // Sent characters first, so that the order is the order of first appearance.
    for (const Column& col : columns_)
        if (!col.sent.isEmpty())
            tally(col.sent).sent += 1;

    QHash<QString, std::size_t> confusionIndex;
    for (const Column& col : columns_) {
        switch (col.mark) {
            case Mark::Correct:
                ++correct_;
                break;
            case Mark::Wrong:
                ++wrong_;
                tally(col.sent).wrong += 1;
                break;
            case Mark::Dropped:
                ++dropped_;
                tally(col.sent).dropped += 1;
                break;
            case Mark::Added:
                ++added_;
                tally(col.copied).added += 1;
                break;
            case Mark::Boundary:
                break;
        }
        if (col.mark == Mark::Wrong || col.mark == Mark::Dropped) {
            const QString key = col.sent + QChar(0x1F) + col.copied;
            auto it = confusionIndex.find(key);
            if (it == confusionIndex.end()) {
                it = confusionIndex.insert(key, confusions_.size());
                confusions_.push_back(Confusion{col.sent, col.copied, 0});
            }
            confusions_[*it].count += 1;
        }
    }
    sent_ = correct_ + wrong_ + dropped_;
    std::stable_sort(confusions_.begin(), confusions_.end(),
                     [](const Confusion& a, const Confusion& b) { return a.count > b.count; });
}

double CopyScore::Accuracy() const {
    if (sent_ <= 0)
        return 0.0;
    return 100.0 * std::max(0, sent_ - Errors()) / sent_;
}

int CopyScore::AccuracyTenths() const {
    if (sent_ <= 0)
        return 0;
    return static_cast<int>(std::int64_t{1000} * std::max(0, sent_ - Errors()) / sent_);
}

QString CopyScore::AccuracyText() const {
    const int tenths = AccuracyTenths();
    return QStringLiteral("%1.%2%").arg(tenths / 10).arg(tenths % 10);
}

bool CopyScore::ReachesKochThreshold() const {
    // (sent - errors) / sent >= 90 %, in whole numbers.
    return sent_ > 0 && std::int64_t{100} * (sent_ - Errors()) >= std::int64_t{kKochThresholdPercent} * sent_;
}

int CopyScore::ErrorsAboveThreshold() const {
    if (sent_ <= 0)
        return 0;
    // The most errors that still give 90 %: floor(sent * 10 / 100).
    const int allowed = static_cast<int>(std::int64_t{sent_} * (100 - kKochThresholdPercent) / 100);
    return std::max(0, Errors() - allowed);
}

std::vector<CopyScore::Tally> CopyScore::MostMissed(int count) const {
    std::vector<Tally> missed;
    for (const Tally& t : tallies_)
        if (t.Missed() > 0)
            missed.push_back(t);
    std::stable_sort(missed.begin(), missed.end(), [](const Tally& a, const Tally& b) {
        if (a.Missed() != b.Missed())
            return a.Missed() > b.Missed();
        // Equally many: the higher share of its own sendings first.
        return std::int64_t{a.Missed()} * b.sent > std::int64_t{b.Missed()} * a.sent;
    });
    if (count >= 0 && static_cast<int>(missed.size()) > count)
        missed.resize(static_cast<std::size_t>(count));
    return missed;
}

QString CopyScore::MostTakenFor(const QString& sent) const {
    for (const Confusion& c : confusions_)  // most frequent first
        if (c.sent == sent && !c.copied.isEmpty())
            return c.copied;
    return {};
}

int CopyScore::ColumnWidth(const Column& column) {
    return static_cast<int>(std::max<qsizetype>({1, column.sent.size(), column.copied.size()}));
}

std::vector<std::pair<std::size_t, std::size_t>> CopyScore::Rows(int width) const {
    const std::size_t w = static_cast<std::size_t>(std::max(width, 8));
    std::vector<std::pair<std::size_t, std::size_t>> rows;
    const std::size_t total = columns_.size();
    std::size_t at = 0;
    while (at < total) {
        std::size_t end = std::min(total, at + w);
        if (end < total) {
            // Break at the last boundary in reach, when there is one.
            std::size_t cut = end;
            while (cut > at && columns_[cut].mark != Mark::Boundary)
                --cut;
            if (cut > at)
                end = cut;
        }
        rows.emplace_back(at, end);
        at = end;
        while (at < total && columns_[at].mark == Mark::Boundary)
            ++at;
    }
    return rows;
}

QStringList CopyScore::AlignedLines(int width) const {
    QStringList lines;
    for (const auto& [first, last] : Rows(width)) {
        QString top = QStringLiteral("sent  ");
        QString bottom = QStringLiteral("copy  ");
        QString marks = QStringLiteral("      ");
        for (std::size_t k = first; k < last; ++k) {
            const Column& col = columns_[k];
            if (col.mark == Mark::Boundary) {
                top += QLatin1Char(' ');
                bottom += QLatin1Char(' ');
                marks += QLatin1Char(' ');
                continue;
            }
            const int w = ColumnWidth(col);
            top += col.sent.isEmpty() ? QString(w, QChar(kGap)) : col.sent.leftJustified(w);
            bottom += col.copied.isEmpty() ? QString(w, QChar(kGap)) : col.copied.leftJustified(w);
            QChar mark = QLatin1Char(' ');
            switch (col.mark) {
                case Mark::Wrong:
                    mark = QLatin1Char('^');
                    break;
                case Mark::Dropped:
                    mark = QLatin1Char('-');
                    break;
                case Mark::Added:
                    mark = QLatin1Char('+');
                    break;
                default:
                    break;
            }
            marks += QString(w, mark);
        }
        if (!lines.isEmpty())
            lines << QString();
        lines << top << bottom;
        while (marks.endsWith(QLatin1Char(' ')))
            marks.chop(1);
        lines << marks;
    }
    return lines;
}

}  // namespace lumbrel
