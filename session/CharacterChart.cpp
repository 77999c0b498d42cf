#include "session/CharacterChart.h"

#include <QStringList>

#include "morse/MorseCharacter.h"

namespace lumbrel {

QString DotsAndDashes(const QByteArray& code) {
    QStringList marks;
    for (const char c : code) {
        if (c == '.')
            marks << QString(QChar(0x2022));
        else if (c == '-')
            marks << QString(QChar(0x2014));
    }
    return marks.join(QLatin1Char(' '));
}

std::vector<ChartEntry> CharacterChart(const std::vector<const MorseCharacter*>& list, int count) {
    std::vector<ChartEntry> chart;
    for (std::size_t k = 1; k < list.size(); ++k)
        chart.push_back({list[k], DotsAndDashes(list[k]->code), static_cast<int>(k) <= count});
    return chart;
}

}  // namespace lumbrel
