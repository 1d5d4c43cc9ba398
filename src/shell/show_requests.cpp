#include "shell/show_requests.h"

#include <QApplication>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <cstring>

namespace tira {

namespace {

constexpr const char* kShowRequest = "show";
constexpr qsizetype kLongestRequest = 4096; // a token is far shorter
constexpr int kWaitMs = 1000;

} // namespace

void bringForward(QWidget& window, const QByteArray& activationToken)
{
    window.setWindowState((window.windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    window.show();
    window.raise();
    // Qt's Wayland window hands this token to the compositor at its next activation.
    if (!activationToken.isEmpty()) qputenv("XDG_ACTIVATION_TOKEN", activationToken);
    window.activateWindow();
    // Activation is answered later, and may be refused: then the window asks for attention.
    QTimer::singleShot(200, &window, [target = QPointer<QWidget>(&window)] {
        if (target != nullptr && !target->isActiveWindow()) QApplication::alert(target);
    });
}

ShowRequestServer::ShowRequestServer(const QString& name, QWidget& window)
    : m_server(new QLocalServer(this)), m_window(window)
{
    if (name.isEmpty()) return;
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // Only the copy holding the lock gets here: a socket file left by one that crashed goes.
    QLocalServer::removeServer(name);
    connect(m_server, &QLocalServer::newConnection, this, &ShowRequestServer::takeConnection);
    m_server->listen(name);
}

bool ShowRequestServer::isListening() const
{
    return m_server->isListening();
}

void ShowRequestServer::takeConnection()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        const auto read = [this, socket] {
            const QByteArray bytes = socket->peek(kLongestRequest);
            const qsizetype end = bytes.indexOf('\n');
            if (end < 0 && bytes.size() < kLongestRequest &&
                socket->state() == QLocalSocket::ConnectedState)
                return; // the rest is still on its way
            socket->readAll();
            socket->disconnectFromServer();
            const QByteArray line = bytes.left(end < 0 ? bytes.size() : end);
            if (line != kShowRequest && !line.startsWith(QByteArray(kShowRequest) + ' ')) return;
            bringForward(m_window, line.mid(qsizetype(std::strlen(kShowRequest)) + 1));
        };
        connect(socket, &QLocalSocket::readyRead, this, read);
        if (socket->bytesAvailable() > 0) read();
    }
}

bool askToShow(const QString& name)
{
    if (name.isEmpty()) return false;
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(kWaitMs)) return false;
    QByteArray request(kShowRequest);
    const QByteArray token = qgetenv("XDG_ACTIVATION_TOKEN");
    if (!token.isEmpty() && !token.contains('\n')) request += ' ' + token;
    socket.write(request + '\n');
    if (!socket.waitForBytesWritten(kWaitMs)) return false;
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState) socket.waitForDisconnected(kWaitMs);
    return true;
}

} // namespace tira
