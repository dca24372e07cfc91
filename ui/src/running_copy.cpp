#include "ui/running_copy.h"

#include <unistd.h>

#include <cstdlib>

#include <QCryptographicHash>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QWidget>

namespace {

constexpr int CONNECT_MILLISECONDS = 300;
constexpr const char* COME_FORWARD = "forward\n";

}  // namespace

RunningCopy::RunningCopy() = default;
RunningCopy::~RunningCopy() = default;

QString RunningCopy::ChannelName(const std::string& directory) {
  const QByteArray digest =
      QCryptographicHash::hash(QByteArray::fromStdString(directory), QCryptographicHash::Sha1).toHex().left(16);
  const QString name = QString("quorla-%1-%2").arg(getuid()).arg(QString::fromLatin1(digest));
  // The user's runtime directory is private and emptied at logout, so the
  // socket of a copy that was killed does not linger in /tmp.
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime && *runtime == '/' && QFileInfo(runtime).isDir()) return QString::fromLocal8Bit(runtime) + "/" + name;
  return name;
}

void RunningCopy::ListenFor(const std::string& directory, QWidget* window) {
  Window = window;
  Server = std::make_unique<QLocalServer>();
  Server->setSocketOptions(QLocalServer::UserAccessOption);
  const QString name = ChannelName(directory);
  // A socket file left by a copy that was killed would refuse the name; the
  // configuration's lock, held now, says no live copy owns it.
  QLocalServer::removeServer(name);
  if (!Server->listen(name)) return;
  connect(Server.get(), &QLocalServer::newConnection, this, [this] {
    while (QLocalSocket* socket = Server->nextPendingConnection()) {
      connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
        if (socket->readAll().startsWith("forward")) ComeForward();
        socket->disconnectFromServer();
      });
      connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    }
  });
}

bool RunningCopy::AskToComeForward(const std::string& directory) {
  QLocalSocket socket;
  socket.connectToServer(ChannelName(directory));
  if (!socket.waitForConnected(CONNECT_MILLISECONDS)) return false;
  socket.write(COME_FORWARD);
  const bool sent = socket.waitForBytesWritten(CONNECT_MILLISECONDS);
  socket.disconnectFromServer();
  return sent;
}

void RunningCopy::ComeForward() {
  if (!Window) return;
  // Only the minimised state goes: a maximised or full-screen window stays so.
  Window->setWindowState((Window->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
  Window->show();
  Window->raise();
  Window->activateWindow();
}
