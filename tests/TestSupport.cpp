#include "tests/TestSupport.h"

#include <gtest/gtest.h>

#include <QFile>

namespace lumbrel::test {

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

void WriteAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size())
        << path.toStdString();
}

}  // namespace lumbrel::test
