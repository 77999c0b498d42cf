#pragma once
// Readable failure messages for Qt's texts.
#include <QChar>
#include <QString>
#include <QStringList>

#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}
inline void PrintTo(const QChar& c, std::ostream* os) {
    *os << '\'' << QString(c).toStdString() << '\'';
}
inline void PrintTo(const QStringList& l, std::ostream* os) {
    *os << '[' << l.join(QStringLiteral("|")).toStdString() << ']';
}
