#pragma once
// One running program per user. The first program started listens on a
// local socket in a folder only its user may enter; a program started
// later for a file, or by the desktop, hands its requests to the first and
// ends. A lock file decides who is first when many start at once, and a
// socket left behind by a program that crashed is taken over.
//
// A message is a 4-byte big-endian length and that many bytes of UTF-8
// command text; the receiver answers one byte. A message from another user,
// one longer than kMaxMessageBytes, one cut short or one that does not
// parse is dropped without an answer, and costs no more memory than the
// limit.

#include <QList>
#include <QLockFile>
#include <QObject>
#include <QString>
#include <memory>
#include <optional>
#include <sys/types.h>

#include "shell/ShellRequest.h"

class QLocalServer;
class QLocalSocket;

class CInstanceChannel : public QObject {
  Q_OBJECT

 public:
  static constexpr qint64 kMaxMessageBytes = 64 * 1024;

  // The folder of the socket and the lock: "sonavel" in the user's runtime
  // folder. Empty when it cannot be made private to the user.
  static QString DefaultFolder();

  explicit CInstanceChannel(QString folder, QObject* parent = nullptr);
  ~CInstanceChannel() override;

  // Hands the requests to the running program, or makes this the running
  // program when there is none. Gives whether they were handed on (this
  // program should end then). When it is the running program, IsListening()
  // tells whether others can reach it.
  bool HandOnOrListen(const QList<ShellRequest>& requests, int timeoutMs = 10000);
  bool IsListening() const;

  // Sends requests to a program listening in `folder`; false when none
  // answered.
  static bool Send(const QString& folder, const QList<ShellRequest>& requests, int timeoutMs);
  // The rule for a connection: only the user's own.
  static bool IsAcceptedPeer(uid_t peer, uid_t self) { return peer == self; }

 signals:
  void requestsReceived(const QList<ShellRequest>& requests);

 private:
  void OnNewConnection();
  void OnReadyRead(QLocalSocket* socket);
  bool Listen();
  QString SocketPath() const;

  QString m_folder;
  std::unique_ptr<QLockFile> m_lock;
  QLocalServer* m_server = nullptr;
};
