// lumbrel-score SENT.txt COPY.txt [--save]
// lumbrel-score --history | --csv [WHAT] | --delete ID
//
// Scores a copy against the text that was sent, as "Check Copy" does: prints the
// aligned pair (sent line, copy line, marks: '^' wrong, '-' dropped, '+' added),
// the counts, and as its last line "accuracy NN.N%". With --save the checked copy is
// stored in the trainer's history, with the session's facts that lumbrel-render wrote
// beside the transcript (SENT.session). --history and --csv print the history;
// --delete removes a session or a drill from it by the id --history shows.
// Exit status 0; 1 when the history cannot be read or written; 2 for a usage error or
// a file that cannot be read or is not a text.
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include <algorithm>
#include <cstdio>

#include "scoring/CopyScore.h"
#include "scoring/HistoryService.h"
#include "scoring/HistoryCsv.h"
#include "scoring/SessionFacts.h"
#include "scoring/TextInput.h"
#include "engine/CharacterSet.h"
#include "settings/SettingsStore.h"

namespace {

constexpr int kHistoryFailed = 1;
constexpr int kBadInput = 2;

void Write(std::FILE* to, const QString& text) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), to);
}

void Print(std::FILE* to, const QString& text) {
    Write(to, text + QLatin1Char('\n'));
}

QString Usage() {
    return QStringLiteral(
        "usage: lumbrel-score SENT.txt COPY.txt [--save]\n"
        "       lumbrel-score --history | --csv [WHAT] | --delete ID\n"
        "Aligns the copy with the sent text and prints the aligned pair ('^' wrong,\n"
        "'-' dropped, '+' added) and, last, the accuracy as a share of the characters\n"
        "sent. Case, spaces and line breaks do not count; a prosign is one character\n"
        "(^ar also as + or <ar>, ^bt as = or <bt>, ^kn as ( or <kn>, <sk>, <bk>, <as>),\n"
        "and so is a character of several letters defined in the trainer (\"AR\").\n"
        "\n"
        "  --save     also store the checked copy in the trainer's history, where the\n"
        "             Progress window shows it, dated now. The session's facts (source,\n"
        "             learning order, N, speeds, length) come from SENT.session, which\n"
        "             lumbrel-render --transcript SENT.txt writes beside the transcript.\n"
        "  --history  print the stored sessions and drills as tables, oldest first,\n"
        "             each with its id\n"
        "  --delete ID\n"
        "             remove the session ID (a number) or the drill ID (d and a\n"
        "             number) from the history\n"
        "  --csv [WHAT]\n"
        "             print the history as CSV, as the Progress window exports it:\n"
        "             WHAT is sessions (the default), drills, recognition (every\n"
        "             answer of the drills) or callsigns (every call of the runs)\n"
        "  --help     show this help\n"
        "  --version  show the version\n"
        "\n"
        "The history is history.sqlite in the trainer's data folder (on Linux\n"
        "~/.local/share/Zelph Software/Zelph Morse Trainer/).");
}

int Fail(int status, const QString& text) {
    Print(stderr, QStringLiteral("lumbrel-score: ") + text);
    return status;
}

// The program's history, opened (to write, or only to read: then the file is never
// changed); null (and the reason printed) when it cannot be used.
lumbrel::History* OpenHistory(lumbrel::HistoryService& service, bool write) {
    service.SetListener([](const lumbrel::HistoryService::Report& r) {
        for (const QString& line : {r.notice, r.problem})
            if (!line.isEmpty())
                Print(stderr, QStringLiteral("lumbrel-score: ") + line);
    });
    return service.Open(write ? lumbrel::HistoryService::Use::Write : lumbrel::HistoryService::Use::Read);
}

QString Duration(int seconds) {
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

enum class Listing { Table, Sessions, Drills, Recognition, Callsigns };

int ListHistory(lumbrel::HistoryService& service, Listing listing) {
    const QString path = lumbrel::History::DefaultPath();
    std::vector<lumbrel::SessionRecord> records;
    std::vector<lumbrel::DrillRecord> drills;
    if (QFileInfo::exists(path)) {
        const lumbrel::History* history = OpenHistory(service, false);
        if (!history)
            return kHistoryFailed;
        records = history->Sessions();
        for (lumbrel::DrillKind kind : {lumbrel::DrillKind::Recognition, lumbrel::DrillKind::Callsigns})
            for (lumbrel::DrillRecord& d : history->Drills(kind))
                drills.push_back(std::move(d));
    }
    std::stable_sort(
        drills.begin(), drills.end(),
        [](const lumbrel::DrillRecord& a, const lumbrel::DrillRecord& b) { return a.ended < b.ended; });
    switch (listing) {
        case Listing::Table:
            break;
        case Listing::Sessions:
            Write(stdout, lumbrel::HistoryCsv(records));
            return 0;
        case Listing::Drills:
            Write(stdout, lumbrel::DrillsCsv(drills));
            return 0;
        case Listing::Recognition:
            Write(stdout, lumbrel::RecognitionAnswersCsv(drills));
            return 0;
        case Listing::Callsigns:
            Write(stdout, lumbrel::CallsignCallsCsv(drills));
            return 0;
    }
    const auto dateText = [](const QDateTime& t) {
        return t.isValid() ? t.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm"))
                           : QStringLiteral("?");
    };
    if (records.empty())
        Print(stdout, QStringLiteral("No checked sessions yet."));
    else
        Print(stdout,
              QStringLiteral("id     date              source      N  WPM  effective  duration  accuracy"));
    for (const lumbrel::SessionRecord& r : records) {
        Print(stdout, QStringLiteral("%1  %2  %3 %4  %5  %6  %7  %8%")
                          .arg(r.id, -5)
                          .arg(dateText(r.ended), -16)
                          .arg(r.source, -9)
                          .arg(r.characterCount, 3)
                          .arg(r.characterWpm, 3)
                          .arg(QString::number(r.effectiveWpm, 'f', 1), 9)
                          .arg(Duration(r.durationSeconds), 8)
                          .arg(QString::number(r.accuracy, 'f', 1), 7));
    }
    if (!drills.empty()) {
        Print(stdout, QString());
        Print(stdout, QStringLiteral("id     date              drill        WPM  duration  result"));
    }
    for (const lumbrel::DrillRecord& d : drills) {
        const bool calls = d.kind == lumbrel::DrillKind::Callsigns;
        const QString result = calls ? QStringLiteral("score %1, %2 calls").arg(d.score).arg(d.calls.size())
                                     : QStringLiteral("%1 answers").arg(d.answers.size());
        Print(stdout, QStringLiteral("%1  %2  %3  %4  %5  %6")
                          .arg(QStringLiteral("d%1").arg(d.id), -5)
                          .arg(dateText(d.ended), -16)
                          .arg(lumbrel::DrillKindName(d.kind), -11)
                          .arg(d.characterWpm, 3)
                          .arg(Duration(d.durationSeconds), 8)
                          .arg(result));
    }
    return 0;
}

// --delete ID: a session by its number, a drill by d and its number.
int DeleteRecord(lumbrel::HistoryService& service, const QString& id) {
    const bool drill = id.startsWith(QLatin1Char('d'), Qt::CaseInsensitive);
    bool ok = false;
    const qint64 number = (drill ? id.mid(1) : id).toLongLong(&ok);
    if (!ok || number <= 0)
        return Fail(kBadInput,
                    QStringLiteral("%1 is not an id of the history (--history shows them)").arg(id));
    const QString path = lumbrel::History::DefaultPath();
    if (!QFileInfo::exists(path))
        return Fail(kHistoryFailed, QStringLiteral("there is no history yet"));
    lumbrel::History* history = OpenHistory(service, true);
    if (!history)
        return kHistoryFailed;
    if (!(drill ? history->DeleteDrill(number) : history->DeleteSession(number)))
        return Fail(kHistoryFailed, QStringLiteral("not deleted: ") + history->Problem());
    Print(stdout, QStringLiteral("deleted %1 %2 from the history")
                      .arg(drill ? QStringLiteral("drill") : QStringLiteral("session"), id));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("lumbrel-score"));
    QCoreApplication::setApplicationVersion(QStringLiteral(LUMBREL_VERSION));
    QStringList args = QCoreApplication::arguments().mid(1);
    lumbrel::HistoryService service;

    if (args.size() == 1 && (args[0] == QLatin1String("--help") || args[0] == QLatin1String("-h"))) {
        Print(stdout, Usage());
        return 0;
    }
    if (args.size() == 1 && args[0] == QLatin1String("--version")) {
        Print(stdout, QStringLiteral("lumbrel-score %1").arg(QStringLiteral(LUMBREL_VERSION)));
        return 0;
    }
    if (args.size() == 1 && args[0] == QLatin1String("--history"))
        return ListHistory(service, Listing::Table);
    if (!args.isEmpty() && args.size() <= 2 && args[0] == QLatin1String("--csv")) {
        const QString what = args.value(1, QStringLiteral("sessions"));
        static const std::pair<const char*, Listing> kListings[] = {{"sessions", Listing::Sessions},
                                                                    {"drills", Listing::Drills},
                                                                    {"recognition", Listing::Recognition},
                                                                    {"callsigns", Listing::Callsigns}};
        for (const auto& [name, listing] : kListings)
            if (what == QLatin1String(name))
                return ListHistory(service, listing);
        return Fail(kBadInput,
                    QStringLiteral("--csv takes sessions, drills, recognition or callsigns.\n") + Usage());
    }
    if (args.size() == 2 && args[0] == QLatin1String("--delete"))
        return DeleteRecord(service, args[1]);
    if (args.contains(QStringLiteral("--delete")))
        return Fail(kBadInput, QStringLiteral("--delete takes one id and nothing else.\n") + Usage());
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
            return Fail(kBadInput,
                        QStringLiteral("cannot save without the session's facts: %1 (lumbrel-render "
                                       "--transcript writes them beside the transcript)")
                            .arg(facts.problem));
    }

    const lumbrel::ScoringText sent = lumbrel::ReadScoringText(args[0]);
    if (!sent.Ok())
        return Fail(kBadInput, sent.problem);
    const lumbrel::ScoringText copy = lumbrel::ReadScoringText(args[1]);
    if (!copy.Ok())
        return Fail(kBadInput, copy.problem);

    // A character of several letters defined in the trainer ("AR") counts as one, as there.
    const QStringList defined =
        lumbrel::CharacterSet::MultiLetterDisplays(lumbrel::SettingsStore::UserStore());
    const lumbrel::CopyScore score = lumbrel::CopyScore::Score(sent.text, copy.text, defined);
    if (score.CharactersSent() == 0)
        return Fail(kBadInput, QStringLiteral("%1 holds no characters to copy.").arg(args[0]));
    // An empty copy is no checked copy: nothing to store.
    if (save && lumbrel::CopyScore::Normalise(copy.text).isEmpty())
        return Fail(kBadInput, QStringLiteral("%1 holds nothing to check: nothing was saved.").arg(args[1]));

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
        lumbrel::History* history = OpenHistory(service, true);
        if (!history) {
            status = kHistoryFailed;
        } else if (!history->Add(
                       lumbrel::MakeSessionRecord(facts.session, QDateTime::currentDateTime(), score))) {
            status = Fail(kHistoryFailed, QStringLiteral("not saved: ") + history->Problem());
        } else {
            Print(stdout,
                  QStringLiteral("saved to the history %1").arg(QDir::toNativeSeparators(history->Path())));
        }
    }
    Print(stdout, QStringLiteral("accuracy ") + score.AccuracyText());
    return status;
}
