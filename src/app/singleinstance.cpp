// The running start answers each connection by raising its window; the later start only needs to connect and send
// one byte, so a start that hangs cannot block the other one for long.
#include "singleinstance.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QWidget>

#include <unistd.h>

namespace {

constexpr int kConnectTimeoutMs = 2000; // a running start answers at once; a hung one must not hang this start
const char kActivate = 'a';

} // namespace

SingleInstance::~SingleInstance() = default;

QString SingleInstance::serverName(const QString &settingsPath)
{
    // The canonical path of the file's folder: the file itself may not exist yet.
    const QFileInfo file(settingsPath);
    const QString folder = QFileInfo(file.absolutePath()).canonicalFilePath();
    const QString key = (folder.isEmpty() ? file.absolutePath() : folder) + QLatin1Char('/') + file.fileName();
    const QByteArray digest = QCryptographicHash::hash(key.toUtf8(), QCryptographicHash::Sha256).toHex().left(24);
    return QStringLiteral("framewright-%1-%2").arg(::getuid()).arg(QString::fromLatin1(digest));
}

std::unique_ptr<SingleInstance> SingleInstance::claim(const QString &settingsPath)
{
    const QString name = serverName(settingsPath);
    QLocalSocket running;
    running.connectToServer(name);
    if (running.waitForConnected(kConnectTimeoutMs)) {
        running.write(&kActivate, 1);
        running.waitForBytesWritten(kConnectTimeoutMs);
        running.disconnectFromServer();
        return nullptr;
    }
    std::unique_ptr<SingleInstance> instance(new SingleInstance);
    instance->m_server = new QLocalServer(instance.get());
    instance->m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!instance->m_server->listen(name)) {
        // Nobody answered, so the socket is a leftover of a start that was killed.
        QLocalServer::removeServer(name);
        instance->m_server->listen(name);
    }
    connect(instance->m_server, &QLocalServer::newConnection, instance.get(), &SingleInstance::onConnection);
    return instance;
}

namespace {

void bringToFront()
{
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && window->parentWidget() == nullptr) {
            if (window->isMinimized()) {
                window->showNormal();
            }
            window->raise();
            window->activateWindow();
        }
    }
    // A modal box in front of the window stays in front of it.
    if (QWidget *modal = QApplication::activeModalWidget()) {
        modal->raise();
        modal->activateWindow();
    }
}

} // namespace

void SingleInstance::onConnection()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (!socket->readAll().contains(kActivate)) {
                return;
            }
            bringToFront();
            emit activationRequested();
        });
    }
}
