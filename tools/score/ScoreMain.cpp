// lumbrel-score SENT.txt COPY.txt [--save]
// lumbrel-score --history | --csv
//
// Scores a copy against the text that was sent, as "Check Copy" does: prints the
// aligned pair (sent line, copy line, marks: '^' wrong, '-' dropped, '+' added),
// the counts, and as its last line "accuracy NN.N%". With --save the checked copy is
// stored in the trainer's history, with the session's facts that lumbrel-render wrote
// beside the transcript (SENT.session). --history and --csv print the history.
// Exit status 0; 1 when the history cannot be read or written; 2 for a usage error or
// a file that cannot be read or is not a text.
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include <cstdio>

#include "scoring/CopyScore.h"
#include "scoring/History.h"
#include "scoring/HistoryCsv.h"
#include "scoring/SessionFacts.h"
#include "scoring/TextInput.h"

namespace {

constexpr int kHistoryFailed = 1;
constexpr int kBadInput = 2;

void Write(std::FILE* to, const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), to);
}

void Print(std::FILE* to, const QString& text) { Write(to, text + QLatin1Char('\n')); }

QString Usage()
{
    return QStringLiteral(
        "usage: lumbrel-score SENT.txt COPY.txt [--save]\n"
        "       lumbrel-score --history | --csv\n"
        "Aligns the copy with the sent text and prints the aligned pair ('^' wrong,\n"
        "'-' dropped, '+' added) and, last, the accuracy as a share of the characters\n"
        "sent. Case, spaces and line breaks do not count.\n"
        "\n"
        "  --save     also store the checked copy in the trainer's history, where the\n"
        "             Progress window shows it, dated now. The session's facts (source,\n"
        "             learning order, N, speeds, length) come from SENT.session, which\n"
        "             lumbrel-render --transcript SENT.txt writes beside the transcript.\n"
        "  --history  print the stored sessions as a table, oldest first\n"
        "  --csv      print the stored sessions as CSV, as the Progress window exports them\n"
        "  --help     show this help\n"
        "  --version  show the version\n"
        "\n"
        "The history is history.sqlite in the trainer's data folder (on Linux\n"
        "~/.local/share/Zelph Software/Zelph Morse Trainer/).");
}

int Fail(int status, const QString& text)
{
    Print(stderr, QStringLiteral("lumbrel-score: ") + text);
    return status;
}

// The history, opened; null (and the reason printed) when it cannot be used.
bool OpenHistory(lumbrel::History& history)
{
    const bool ok = history.Open();
    if (const QString notice = history.TakeNotice(); !notice.isEmpty())
        Print(stderr, QStringLiteral("lumbrel-score: ") + notice);
    if (!ok)
        Print(stderr, QStringLiteral("lumbrel-score: ") + history.Problem());
    return ok;
}

QString Duration(int seconds) { return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0')); }

int ListHistory(bool csv)
{
    const QString path = lumbrel::History::DefaultPath();
    std::vector<lumbrel::SessionRecord> records;
    if (QFileInfo::exists(path)) {
        lumbrel::History history(path);
        if (!OpenHistory(history))
            return kHistoryFailed;
        records = history.Sessions();
    }
    if (csv) {
        Write(stdout, lumbrel::HistoryCsv(records));
        return 0;
    }
    if (records.empty()) {
        Print(stdout, QStringLiteral("No checked sessions yet."));
        return 0;
    }
    Print(stdout, QStringLiteral("date              source      N  WPM  effective  duration  accuracy"));
    for (const lumbrel::SessionRecord& r : records) {
        const QString date = r.ended.isValid() ? r.ended.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm"))
                                               : QStringLiteral("?");
        Print(stdout, QStringLiteral("%1  %2 %3  %4  %5  %6  %7%")
                          .arg(date, -16)
                          .arg(r.source, -9)
                          .arg(r.characterCount, 3)
                          .arg(r.characterWpm, 3)
                          .arg(QString::number(r.effectiveWpm, 'f', 1), 9)
                          .arg(Duration(r.durationSeconds), 8)
                          .arg(QString::number(r.accuracy, 'f', 1), 7));
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("lumbrel-score"));
    QCoreApplication::setApplicationVersion(QStringLiteral(LUMBREL_VERSION));
    QStringList args = QCoreApplication::arguments().mid(1);

    if (args.size() == 1 && (args[0] == QLatin1String("--help") || args[0] == QLatin1String("-h"))) {
        Print(stdout, Usage());
        return 0;
    }
    if (args.size() == 1 && args[0] == QLatin1String("--version")) {
        Print(stdout, QStringLiteral("lumbrel-score %1").arg(QStringLiteral(LUMBREL_VERSION)));
        return 0;
    }
    if (args.size() == 1 && (args[0] == QLatin1String("--history") || args[0] == QLatin1String("--csv")))
        return ListHistory(args[0] == QLatin1String("--csv"));
    if (args.contains(QStringLiteral("--history")) || args.contains(QStringLiteral("--csv")))
        return Fail(kBadInput, QStringLiteral("--history and --csv take nothing else.\n") + Usage());
    const bool save = args.removeAll(QStringLiteral("--save")) > 0;
    for (const QString& a : args)
        if (a.startsWith(QLatin1String("--")))
            return Fail(kBadInput, QStringLiteral("unknown option %1\n%2").arg(a, Usage()));
    if (args.size() != 2)
        return Fail(kBadInput, QStringLiteral("expected two files, the sent text and the copy.\n") + Usage());

    // The facts are checked first, so that nothing is half done.
    lumbrel::SessionFacts facts;
    if (save) {
        facts = lumbrel::ReadSessionFacts(lumbrel::SessionFactsPath(args[0]));
        if (!facts.Ok())
            return Fail(kBadInput, QStringLiteral("cannot save without the session's facts: %1 (lumbrel-render "
                                                  "--transcript writes them beside the transcript)")
                                       .arg(facts.problem));
    }

    const lumbrel::ScoringText sent = lumbrel::ReadScoringText(args[0]);
    if (!sent.Ok())
        return Fail(kBadInput, sent.problem);
    const lumbrel::ScoringText copy = lumbrel::ReadScoringText(args[1]);
    if (!copy.Ok())
        return Fail(kBadInput, copy.problem);

    const lumbrel::CopyScore score = lumbrel::CopyScore::Score(sent.text, copy.text);
    if (score.CharactersSent() == 0)
        return Fail(kBadInput, QStringLiteral("%1 holds no characters to copy.").arg(args[0]));

    for (const QString& line : score.AlignedLines())
        Print(stdout, line);
    Print(stdout, QString());
    Print(stdout, QStringLiteral("characters sent %1, correct %2, wrong %3, dropped %4, added %5")
                      .arg(score.CharactersSent())
                      .arg(score.Correct())
                      .arg(score.Wrong())
                      .arg(score.Dropped())
                      .arg(score.Added()));
    if (!score.Exact())
        Print(stdout, QStringLiteral("(the texts differ in too many places for an exact alignment within "
                                     "the limit of work; the errors are at most these)"));
    int status = 0;
    if (save) {
        lumbrel::History history(lumbrel::History::DefaultPath());
        if (!OpenHistory(history)) {
            status = kHistoryFailed;
        } else if (!history.Add(lumbrel::MakeSessionRecord(facts.session, QDateTime::currentDateTime(), score))) {
            status = Fail(kHistoryFailed, QStringLiteral("not saved: ") + history.Problem());
        } else {
            Print(stdout, QStringLiteral("saved to the history %1").arg(QDir::toNativeSeparators(history.Path())));
        }
    }
    Print(stdout, QStringLiteral("accuracy ") + score.AccuracyText());
    return status;
}
