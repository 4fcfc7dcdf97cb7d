// Tests of SingleInstance: one start per settings file, later starts bring the running one to the front, a socket
// left behind by a killed start is taken over.
#include "singleinstance.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

class SingleInstanceTest : public QObject
{
    Q_OBJECT

private slots:
    void laterStartBringsTheRunningOneToTheFront()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("KTZ.ini"));
        QWidget window;
        window.show();
        window.showMinimized();
        const auto running = SingleInstance::claim(path);
        QVERIFY(running);
        QSignalSpy activations(running.get(), &SingleInstance::activationRequested);

        // The same file spelled otherwise is the same file.
        QVERIFY(!SingleInstance::claim(dir.filePath(QStringLiteral("./sub/../KTZ.ini"))));
        QVERIFY(activations.wait());
        QVERIFY(!window.isMinimized());

        // Another settings file is another program.
        QVERIFY(SingleInstance::claim(dir.filePath(QStringLiteral("other.ini"))));
    }

    void socketOfAKilledStartTakenOver()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("KTZ.ini"));
        // A socket file that nothing listens on any more, as a killed start leaves it.
        const QByteArray socketPath = QFile::encodeName(QDir::temp().filePath(SingleInstance::serverName(path)));
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address = {};
        address.sun_family = AF_UNIX;
        qstrncpy(address.sun_path, socketPath.constData(), sizeof(address.sun_path));
        QCOMPARE(::bind(fd, reinterpret_cast<const sockaddr *>(&address), sizeof(address)), 0);
        ::close(fd);

        const auto instance = SingleInstance::claim(path);
        QVERIFY(instance);
        QVERIFY(!SingleInstance::claim(path));
    }
};

QTEST_MAIN(SingleInstanceTest)
#include "singleinstance_test.moc"
