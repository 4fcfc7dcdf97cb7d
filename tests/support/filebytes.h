// Whole-file reads and writes for tests that prepare and inspect files.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTest>

// The file's bytes, or empty when it cannot be read.
inline QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Replaces the file's contents; a failure fails the calling test.
inline void writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}
