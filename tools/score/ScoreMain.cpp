// lumbrel-score SENT.txt COPY.txt
//
// Scores a copy against the text that was sent, as "Check Copy" does: prints the
// aligned pair (sent line, copy line, marks: '^' wrong, '-' dropped, '+' added),
// the counts, and as its last line "accuracy NN.N%". Exit status 0; 2 for a usage
// error or a file that cannot be read or is not a text.
#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

#include "scoring/CopyScore.h"
#include "scoring/TextInput.h"

namespace {

constexpr int kBadInput = 2;

void Print(std::FILE* to, const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), to);
    std::fputc('\n', to);
}

QString Usage()
{
    return QStringLiteral(
        "usage: lumbrel-score SENT.txt COPY.txt\n"
        "Aligns the copy with the sent text and prints the aligned pair ('^' wrong,\n"
        "'-' dropped, '+' added) and, last, the accuracy as a share of the characters\n"
        "sent. Case, spaces and line breaks do not count.");
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("lumbrel-score"));
    QCoreApplication::setApplicationVersion(QStringLiteral(LUMBREL_VERSION));
    const QStringList args = QCoreApplication::arguments().mid(1);

    if (args.size() == 1 && (args[0] == QLatin1String("--help") || args[0] == QLatin1String("-h"))) {
        Print(stdout, Usage());
        return 0;
    }
    if (args.size() == 1 && args[0] == QLatin1String("--version")) {
        Print(stdout, QStringLiteral("lumbrel-score %1").arg(QStringLiteral(LUMBREL_VERSION)));
        return 0;
    }
    if (args.size() != 2) {
        Print(stderr, QStringLiteral("lumbrel-score: expected two files, the sent text and the copy."));
        Print(stderr, Usage());
        return kBadInput;
    }

    const lumbrel::ScoringText sent = lumbrel::ReadScoringText(args[0]);
    if (!sent.Ok()) {
        Print(stderr, QStringLiteral("lumbrel-score: ") + sent.problem);
        return kBadInput;
    }
    const lumbrel::ScoringText copy = lumbrel::ReadScoringText(args[1]);
    if (!copy.Ok()) {
        Print(stderr, QStringLiteral("lumbrel-score: ") + copy.problem);
        return kBadInput;
    }

    const lumbrel::CopyScore score = lumbrel::CopyScore::Score(sent.text, copy.text);
    if (score.CharactersSent() == 0) {
        Print(stderr, QStringLiteral("lumbrel-score: %1 holds no characters to copy.").arg(args[0]));
        return kBadInput;
    }

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
        Print(stdout, QStringLiteral("(the texts differ too much in length for an exact alignment; "
                                     "the errors are at most these)"));
    Print(stdout, QStringLiteral("accuracy ") + score.AccuracyText());
    return 0;
}
