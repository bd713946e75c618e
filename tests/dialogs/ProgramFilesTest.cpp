// The files that ship beside the program: the tuning tune read back as a
// MIDI file, and the ReadMe and tuner commands with their messages.

#include "shell/ProgramFiles.h"

#include <QDataStream>
#include <QFile>
#include <gtest/gtest.h>

#include "shell/PathUtils.h"
#include "tests/support/FakeDesktop.h"
#include "tests/support/ModalDialogs.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/SwedishTexts.h"

namespace {

quint8 Byte(QDataStream& in) {
  quint8 byte = 0;
  in >> byte;
  return byte;
}

// Seven bits a byte, the top bit set on every byte but the last.
quint32 VariableLength(QDataStream& in) {
  quint32 value = 0;
  for (quint8 byte = 0x80; byte & 0x80;) value = value << 7 | ((byte = Byte(in)) & 0x7F);
  return value;
}

TEST(GuitarTunerFile, PlaysTheSixOpenStringsTwiceOneAtATimeOnAGuitar) {
  QFile file(QString::fromUtf8(SONAVEL_SHIPPED_TUNER));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << SONAVEL_SHIPPED_TUNER;
  QDataStream in(&file);  // big-endian, as MIDI files are
  quint32 header = 0, headerSize = 0, trackId = 0, trackSize = 0;
  quint16 format = 0, tracks = 0, division = 0;
  in >> header >> headerSize >> format >> tracks >> division >> trackId >> trackSize;
  ASSERT_EQ(std::tuple(header, headerSize, format, tracks, trackId), std::tuple(0x4D546864u, 6u, 0, 1, 0x4D54726Bu))
      << "MThd, format 0 with one track, MTrk";
  EXPECT_EQ(file.size() - file.pos(), trackSize) << "nothing after the track";

  std::vector<int> notes;  // the pitch where a note starts, minus the pitch where it ends
  for (quint8 meta = 0; meta != 0x2F && in.status() == QDataStream::Ok;) {
    VariableLength(in);  // the time since the event before
    const quint8 status = Byte(in);
    if (status == 0xFF) {
      meta = Byte(in);
      in.skipRawData(static_cast<int>(VariableLength(in)));
    } else if ((status & 0xF0) == 0xC0) {
      EXPECT_EQ(Byte(in) / 8, 3) << "a guitar program: 24 to 31";
    } else {
      ASSERT_EQ(status & 0xE0, 0x80) << "unexpected event " << int(status);
      const int pitch = Byte(in), velocity = Byte(in);
      notes.push_back((status & 0xF0) == 0x90 && velocity > 0 ? pitch : -pitch);
    }
  }
  EXPECT_TRUE(in.atEnd() && in.status() == QDataStream::Ok) << "the track ends with its end event";
  EXPECT_EQ(notes, (std::vector<int>{40, -40, 45, -45, 50, -50, 55, -55, 59, -59, 64, -64,
                                     40, -40, 45, -45, 50, -50, 55, -55, 59, -59, 64, -64}));
}

TEST(ProgramFiles, TheReadMeOfTheLanguageAndTheTuneOpenOrTheCommandSaysWhy) {
  const struct {
    bool (*command)(QWidget* owner);
    bool swedish;
    const char* file;  // put beside the program
    bool registered;
    const char* message;  // as ShownMessage::Said() gives it; null when the file is opened
  } rows[] = {
      {OpenReadMe, false, "ReadMe (english).txt", true, nullptr},
      {OpenReadMe, true, "readme.txt", true, nullptr},
      {OpenReadMe, true, "ReadMe (english).txt", true, "2 Kunde inte öppna ReadMe-filen."},
      {PlayGuitarTuner, false, "gtuner.mid", true, nullptr},
      {PlayGuitarTuner, false, "gtuner.mid", false,
       "1 Couldn't open \"gtuner.mid\". Make sure this file is in same directory as Sonavel."},
      {PlayGuitarTuner, true, "readme.txt", true,
       "1 Kunde inte öppna \"gtuner.mid\". Kontrollera att filen ligger i samma mapp som programmet"},
  };
  // The shipped files are installed together; an installed set would be found instead of the missing ones.
  if (!FindProgramFile(QString::fromLatin1(kGuitarTunerFile)).isEmpty()) GTEST_SKIP() << "installed files in the way";
  for (const auto& row : rows) {
    SCOPED_TRACE(std::string(row.swedish ? "Swedish, " : "English, ") + row.file);
    const SwedishTexts swedish(row.swedish);
    FakeDesktop fake{true, true, row.registered, {}};
    const FakeDesktopInPlace inPlace(fake);
    const QString path = ProgramPath(true) + QString::fromUtf8(row.file);
    ASSERT_TRUE(QFile(path).open(QIODevice::WriteOnly));
    bool opened = false;
    const ShownMessage shown = MessageShownBy([&] { opened = row.command(nullptr); });
    QFile::remove(path);
    EXPECT_EQ(
        std::tuple(opened, shown.title, shown.Said()),
        std::tuple(!row.message, QString::fromUtf8(row.message ? "Sonavel" : ""), QString::fromUtf8(row.message)));
    const QStringList calls{QStringLiteral("open ") + QUrl::fromLocalFile(path).toString()};
    EXPECT_EQ(fake.calls, opened ? calls : QStringList());
  }
}

}  // namespace
