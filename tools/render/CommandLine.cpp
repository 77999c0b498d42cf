#include "tools/render/CommandLine.h"

namespace lumbrel::render {

std::optional<long long> ParseNumber(const QString& text) {
    bool ok = false;
    const long long value = text.toLongLong(&ok, 10);
    return ok ? std::optional<long long>(value) : std::nullopt;
}

std::optional<QString> TakeWholeNumber(const QStringList& arguments, qsizetype& i, long long low,
                                       long long high, int& out) {
    const QString& option = arguments[i];
    if (i + 1 >= arguments.size())
        return QStringLiteral("%1 needs a value").arg(option);
    const QString& text = arguments[++i];
    const auto n = ParseNumber(text);
    if (!n || *n < low || *n > high)
        return QStringLiteral("%1 takes a whole number from %2 to %3, not '%4'")
            .arg(option)
            .arg(low)
            .arg(high)
            .arg(text);
    out = static_cast<int>(*n);
    return std::nullopt;
}

std::optional<int> WordFilterMask(const QString& letters) {
    int mask = 0;
    for (const QChar c : letters) {
        const char16_t u = c.toLower().unicode();
        if (u < u'a' || u > u'z')
            return std::nullopt;
        mask |= 1 << (u - u'a');
    }
    return mask;
}

void Print(std::FILE* to, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), to);
}

int Fail(const QString& why) {
    Print(stderr, QStringLiteral("lumbrel-render: %1\n").arg(why));
    return 1;
}

}  // namespace lumbrel::render
