// One running program per user: requests handed to it arrive unchanged,
// anything else that reaches its socket is dropped without harm, and many
// programs started at once end as one.

#include <QElapsedTimer>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

#include <fstream>
#include <future>

#include "shell/InstanceChannel.h"
#include "tests/gui/GuiTestSupport.h"
#include "tests/support/TempFiles.h"

namespace {

using Verb = ShellRequest::Verb;

TEST(InstanceChannel, OnlyTheUsersOwnProgramsAreHeard) {
  EXPECT_TRUE(CInstanceChannel::IsAcceptedPeer(1000, 1000));
  EXPECT_FALSE(CInstanceChannel::IsAcceptedPeer(0, 1000));
  EXPECT_FALSE(CInstanceChannel::IsAcceptedPeer(1000, 0));
}

// The peak resident memory of this process since the last reset, in bytes.
long PeakResidentBytes() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.starts_with("VmHWM:")) return std::stol(line.substr(6)) * 1024;
  }
  return 0;
}

void ResetPeakResidentBytes() { std::ofstream("/proc/self/clear_refs") << "5"; }

class Listening : public ::testing::Test {
 protected:
  // Sends as another program would, while this one's event loop runs.
  bool Send(const QList<ShellRequest>& requests) {
    auto sent = std::async(std::launch::async,
                           [this, requests] { return CInstanceChannel::Send(m_dir.path(), requests, 2000); });
    while (sent.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready) QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    return sent.get();
  }

  void SetUp() override {
    ASSERT_FALSE(m_channel.HandOnOrListen({}));
    ASSERT_TRUE(m_channel.IsListening());
  }

  // Writes the bytes, the last part `repeats` times, to the socket and
  // gives whether the program answered.
  bool SendRaw(const QByteArray& bytes, bool close = false, int repeats = 1, qsizetype part = 0) {
    QLocalSocket socket;
    socket.connectToServer(m_dir.filePath(QStringLiteral("instance")));
    EXPECT_TRUE(socket.waitForConnected(2000));
    socket.write(bytes.left(bytes.size() - part));
    for (int i = 0; i < repeats && socket.state() == QLocalSocket::ConnectedState; ++i) {
      socket.write(bytes.right(part));
      while (socket.bytesToWrite() > 0 && socket.state() == QLocalSocket::ConnectedState) {
        socket.waitForBytesWritten(50);
        QCoreApplication::processEvents();
      }
    }
    if (close) socket.disconnectFromServer();
    QElapsedTimer clock;
    clock.start();
    while (socket.bytesAvailable() == 0 && socket.state() == QLocalSocket::ConnectedState && clock.elapsed() < 2000) {
      QCoreApplication::processEvents();
      socket.waitForReadyRead(10);
    }
    return socket.bytesAvailable() > 0;
  }

  static QByteArray WithHeader(const QByteArray& body, quint32 length) {
    QByteArray header(4, '\0');
    qToBigEndian(length, header.data());
    return header + body;
  }

  QTemporaryDir m_dir;
  CInstanceChannel m_channel{m_dir.path()};
};

TEST_F(Listening, FileNamesArriveAsTheyWereSent) {
  QSignalSpy received(&m_channel, &CInstanceChannel::requestsReceived);
  const QList<ShellRequest> requests = {
      {Verb::Open, {"/songs/with space/\"quoted\" 100% -x.crd"}},
      {Verb::Print, {"/sånger/Smörgåsbord ♪.crd"}},
      {Verb::PrintTo, {"-leading.crd", "Printer \"A\"", "driver", "port"}},
  };
  ASSERT_TRUE(Send(requests));
  ASSERT_EQ(received.count(), 1);
  EXPECT_EQ(received.at(0).at(0).value<QList<ShellRequest>>(), requests);
}

// Each is dropped without an answer, and the next good message still
// arrives: a message too long (sent whole, with memory staying far below
// its size), one cut short, one in another format, one of no length.
TEST_F(Listening, AnythingElseIsDroppedWithoutHarm) {
  QSignalSpy received(&m_channel, &CInstanceChannel::requestsReceived);
  constexpr int kMegabyte = 1 << 20;
  ResetPeakResidentBytes();
  const long before = PeakResidentBytes();
  EXPECT_FALSE(SendRaw(WithHeader(QByteArray(kMegabyte, '['), 100 * kMegabyte), false, 100, kMegabyte));
  EXPECT_LT(PeakResidentBytes() - before, 16 * kMegabyte);
  EXPECT_FALSE(SendRaw(WithHeader("[open(\"/a.crd\")]", 100), true));
  EXPECT_FALSE(SendRaw(WithHeader("[frobnicate(\"/a.crd\")]", 22)));
  EXPECT_FALSE(SendRaw(WithHeader("", 0)));
  EXPECT_FALSE(SendRaw("\x01"));
  EXPECT_EQ(received.count(), 0);
  EXPECT_TRUE(Send({{Verb::Open, {"/a.crd"}}}));
  EXPECT_EQ(received.count(), 1);
}

// Twenty programs started at once for twenty songs: nineteen hand their
// song on and end, one stays and listens. A program that hands a song on
// ends with success only once the running one has taken it.
TEST(ManyPrograms, StartedAtOnceEndAsOne) {
  QTemporaryDir runtime;
  QTemporaryDir config;
  QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
  environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
  environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  std::vector<std::unique_ptr<QProcess>> programs;
  for (int i = 0; i < 20; ++i) {
    const QString song = config.filePath(QStringLiteral("song %1.crd").arg(i));
    sonavel::test::WriteFile(song.toStdString(), "Am C G\r\n");
    programs.push_back(std::make_unique<QProcess>());
    programs.back()->setProcessEnvironment(environment);
    programs.back()->start(QStringLiteral(SONAVEL_PROGRAM), {song});
  }
  int handedOn = 0;
  QElapsedTimer clock;
  clock.start();
  while (handedOn < 19 && clock.elapsed() < 60000) {
    handedOn = 0;
    for (const auto& program : programs) {
      program->waitForFinished(10);
      if (program->state() == QProcess::NotRunning && program->exitCode() == 0) ++handedOn;
    }
  }
  EXPECT_EQ(handedOn, 19);
  EXPECT_TRUE(CInstanceChannel::Send(runtime.filePath(QStringLiteral("sonavel")),
                                     {{Verb::Open, {config.filePath(QStringLiteral("song 0.crd"))}}}, 5000))
      << "the one left listens";  // and is killed with its QProcess
}

}  // namespace
