#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

class QLocalServer;
class QWidget;

namespace tira {

// Brings `window` forward: out of the minimised state, shown, raised and activated where the
// platform lets a program do that. Under Wayland, where a client cannot raise itself, the
// activation token of the start that asked (when it brought one) is used; a window that is
// still not active a moment later asks the desktop for attention instead.
void bringForward(QWidget& window, const QByteArray& activationToken);

// Listens on the local socket `name` for later starts of the program that ask the window to
// come forward (see askToShow).
class ShowRequestServer : public QObject
{
    Q_OBJECT

  public:
    ShowRequestServer(const QString& name, QWidget& window);
    bool isListening() const;

  private:
    void takeConnection();

    QLocalServer* m_server;
    QWidget& m_window;
};

// Asks the copy listening on `name` to show its window, passing on the desktop's activation
// token of this start when there is one. False when no copy answered.
bool askToShow(const QString& name);

} // namespace tira
