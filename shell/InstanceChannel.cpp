#include "shell/InstanceChannel.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QTimer>
#include <QtEndian>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kHeaderBytes = 4;
constexpr char kAnswer = '\x06';
constexpr int kMessageTimeoutMs = 10000;

// The message of a set of requests, header and all.
QByteArray Message(const QList<ShellRequest>& requests) {
  QString text;
  for (const ShellRequest& request : requests) text += request.Text();
  const QByteArray body = text.toUtf8();
  QByteArray header(kHeaderBytes, '\0');
  qToBigEndian(static_cast<quint32>(body.size()), header.data());
  return header + body;
}

std::optional<uid_t> PeerUser(const QLocalSocket& socket) {
  ucred credentials{};
  socklen_t size = sizeof credentials;
  if (getsockopt(static_cast<int>(socket.socketDescriptor()), SOL_SOCKET, SO_PEERCRED, &credentials, &size) != 0) {
    return std::nullopt;
  }
  return credentials.uid;
}

// A folder only its owner may enter, made when missing.
bool MakePrivateFolder(const QString& folder) {
  QDir().mkpath(folder);
  struct stat info {};
  if (stat(QFile::encodeName(folder).constData(), &info) != 0 || !S_ISDIR(info.st_mode)) return false;
  if (info.st_uid != geteuid()) return false;
  if ((info.st_mode & 077) != 0 && chmod(QFile::encodeName(folder).constData(), 0700) != 0) return false;
  return true;
}

}  // namespace

QString CInstanceChannel::DefaultFolder() {
  const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (runtime.isEmpty()) return {};
  const QString folder = runtime + QStringLiteral("/sonavel");
  return MakePrivateFolder(folder) ? folder : QString();
}

CInstanceChannel::CInstanceChannel(QString folder, QObject* parent) : QObject(parent), m_folder(std::move(folder)) {}

CInstanceChannel::~CInstanceChannel() = default;

QString CInstanceChannel::SocketPath() const { return m_folder + QStringLiteral("/instance"); }

bool CInstanceChannel::IsListening() const { return m_server != nullptr && m_server->isListening(); }

bool CInstanceChannel::Send(const QString& folder, const QList<ShellRequest>& requests, int timeoutMs) {
  QLocalSocket socket;
  socket.connectToServer(folder + QStringLiteral("/instance"));
  if (!socket.waitForConnected(timeoutMs)) return false;
  socket.write(Message(requests));
  if (!socket.waitForBytesWritten(timeoutMs)) return false;
  // The answer says the requests were taken, not only sent.
  if (!socket.waitForReadyRead(timeoutMs)) return false;
  char answer = 0;
  return socket.read(&answer, 1) == 1 && answer == kAnswer;
}

bool CInstanceChannel::HandOnOrListen(const QList<ShellRequest>& requests, int timeoutMs) {
  if (m_folder.isEmpty() || !MakePrivateFolder(m_folder)) return false;
  m_lock = std::make_unique<QLockFile>(m_folder + QStringLiteral("/instance.lock"));
  m_lock->setStaleLockTime(0);  // a lock is stale only when its program is gone
  const QDeadlineTimer deadline(timeoutMs);
  while (!deadline.hasExpired()) {
    // Without requests there is nothing to hand on: this program starts on
    // its own, and listens only when no other does.
    if (!requests.isEmpty() && Send(m_folder, requests, 2000)) return true;
    if (m_lock->tryLock(100)) {
      // The lock's holder listens until it ends; a program that got the
      // lock after another had it may still find that one's socket.
      if (!requests.isEmpty() && Send(m_folder, requests, 2000)) return true;
      Listen();
      return false;
    }
    if (requests.isEmpty()) return false;
  }
  return false;
}

bool CInstanceChannel::Listen() {
  QLocalServer::removeServer(SocketPath());  // left by a program that crashed
  m_server = new QLocalServer(this);
  m_server->setSocketOptions(QLocalServer::UserAccessOption);
  if (!m_server->listen(SocketPath())) return false;
  connect(m_server, &QLocalServer::newConnection, this, &CInstanceChannel::OnNewConnection);
  return true;
}

void CInstanceChannel::OnNewConnection() {
  while (QLocalSocket* socket = m_server->nextPendingConnection()) {
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    const std::optional<uid_t> peer = PeerUser(*socket);
    if (!peer || !IsAcceptedPeer(*peer, geteuid())) {
      socket->abort();
      socket->deleteLater();
      continue;
    }
    socket->setReadBufferSize(kHeaderBytes + kMaxMessageBytes);
    // A program that connects and never finishes its message is let go.
    QTimer::singleShot(kMessageTimeoutMs, socket, [socket] { socket->abort(); });
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] { OnReadyRead(socket); });
    if (socket->bytesAvailable() > 0) OnReadyRead(socket);
  }
}

void CInstanceChannel::OnReadyRead(QLocalSocket* socket) {
  if (socket->bytesAvailable() < kHeaderBytes) return;
  char header[kHeaderBytes];
  socket->peek(header, kHeaderBytes);
  const quint32 length = qFromBigEndian<quint32>(header);
  if (length > kMaxMessageBytes) {
    socket->abort();  // too long to be a request: nothing more of it is read
    return;
  }
  if (socket->bytesAvailable() < kHeaderBytes + static_cast<qint64>(length)) return;
  socket->skip(kHeaderBytes);
  const QString text = QString::fromUtf8(socket->read(length));
  const std::optional<QList<ShellRequest>> requests = ShellRequest::Parse(text);
  if (!requests) {
    socket->abort();
    return;
  }
  socket->write(&kAnswer, 1);
  socket->flush();
  socket->disconnectFromServer();
  emit requestsReceived(*requests);
}
