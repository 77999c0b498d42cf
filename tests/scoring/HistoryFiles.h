#pragma once
// Real history files for the tests: made with sessions, then spoilt as a failing disk
// would.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>

#include "scoring/History.h"

namespace lumbrel {

// A checked session; its source names it.
SessionRecord Sample(int n, const QString& source = QStringLiteral("groups"));

inline QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A history of `count` sessions in the old journal mode (as earlier versions left it).
inline void MakeHistory(const QString& path, int count) {
    {
        History h(path);
        ASSERT_TRUE(h.Open()) << h.Problem().toStdString();
        for (int k = 0; k < count; ++k)
            ASSERT_TRUE(h.Add(Sample(k, QStringLiteral("marker-%1").arg(k, 4, 10, QLatin1Char('0')))));
    }
    QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "journal");
    db.setDatabaseName(path);
    ASSERT_TRUE(db.open());
    QSqlQuery(db).exec("PRAGMA journal_mode = DELETE");
    db.close();
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase("journal");
}

// Overwrites the page holding `marker` (a leaf of the sessions), or the root page of
// the named index, with garbage.
inline void Spoil(const QString& path, const QByteArray& marker, const QString& index = {}) {
    QByteArray bytes = ReadAll(path);
    qsizetype page = bytes.indexOf(marker) / 4096;
    if (!index.isEmpty()) {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "root");
        db.setDatabaseName(path);
        ASSERT_TRUE(db.open());
        QSqlQuery q(db);
        ASSERT_TRUE(q.exec("SELECT rootpage FROM sqlite_master WHERE name = '" + index + "'") && q.next());
        page = q.value(0).toInt() - 1;
        q = QSqlQuery();
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase("root");
    }
    ASSERT_GT(page, 0);
    bytes.replace(page * 4096, 64, QByteArray(64, '\xee'));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// The files named after the history beside it (set aside, journals).
inline QStringList Beside(const QString& path) {
    return QDir(QFileInfo(path).path()).entryList({QFileInfo(path).fileName() + ".*"}, QDir::Files);
}

}  // namespace lumbrel
