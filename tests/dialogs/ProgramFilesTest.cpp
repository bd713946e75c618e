// The files that ship beside the program: the tuning tune read back as a
// MIDI file, and the ReadMe and tuner commands with their messages.

#include "shell/ProgramFiles.h"

#include <QFile>
#include <gtest/gtest.h>
#include <memory>

#include "shell/PathUtils.h"
#include "tests/support/FakeDesktop.h"
#include "tests/support/ModalDialogs.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/SwedishTexts.h"

namespace {

// A reader of the parts of a standard MIDI file the tune uses.
class MidiReader {
 public:
  explicit MidiReader(QByteArray bytes) : m_bytes(std::move(bytes)) {}

  bool AtEnd() const { return m_pos >= m_bytes.size(); }
  QByteArray Take(int n) {
    if (m_pos + n > m_bytes.size()) throw std::out_of_range("the file ends early");
    const QByteArray part = m_bytes.mid(m_pos, n);
    m_pos += n;
    return part;
  }
  quint32 Number(int size) {
    quint32 value = 0;
    for (const char byte : Take(size)) value = value << 8 | static_cast<quint8>(byte);
    return value;
  }
  quint32 VariableLength() {
    quint32 value = 0;
    quint8 byte = 0;
    do {
      byte = static_cast<quint8>(Number(1));
      value = value << 7 | (byte & 0x7F);
    } while (byte & 0x80);
    return value;
  }

 private:
  QByteArray m_bytes;
  qsizetype m_pos = 0;
};

struct Note {
  int pitch;
  quint32 on, off;  // in ticks
};

TEST(GuitarTunerFile, PlaysTheSixOpenStringsTwiceLongEnoughOnAGuitar) {
  QFile file(QString::fromUtf8(SONAVEL_SHIPPED_TUNER));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << SONAVEL_SHIPPED_TUNER;
  MidiReader midi(file.readAll());
  ASSERT_EQ(midi.Take(4), QByteArray("MThd"));
  ASSERT_EQ(midi.Number(4), 6u);
  EXPECT_EQ(midi.Number(2), 0u) << "format 0";
  ASSERT_EQ(midi.Number(2), 1u) << "one track";
  const quint32 division = midi.Number(2);
  ASSERT_GT(division, 0u);
  ASSERT_LT(division, 0x8000u) << "ticks per quarter note";
  ASSERT_EQ(midi.Take(4), QByteArray("MTrk"));
  MidiReader track(midi.Take(static_cast<int>(midi.Number(4))));
  EXPECT_TRUE(midi.AtEnd()) << "one track only";

  quint32 now = 0, tempo = 500000;
  int program = -1;
  bool ended = false;
  std::vector<Note> notes;
  while (!track.AtEnd() && !ended) {
    now += track.VariableLength();
    const quint32 status = track.Number(1);
    ASSERT_GE(status, 0x80u) << "every event carries its status";
    if (status == 0xFF) {
      const quint32 type = track.Number(1);
      const QByteArray data = track.Take(static_cast<int>(track.VariableLength()));
      if (type == 0x51) tempo = MidiReader(data).Number(3);
      ended = type == 0x2F;
    } else if ((status & 0xF0) == 0xC0) {
      program = static_cast<int>(track.Number(1));
    } else if ((status & 0xE0) == 0x80) {  // note on or off
      const int pitch = static_cast<int>(track.Number(1));
      const quint32 velocity = track.Number(1);
      const bool on = (status & 0xF0) == 0x90 && velocity > 0;
      if (on) {
        notes.push_back({pitch, now, 0});
      } else {
        ASSERT_FALSE(notes.empty());
        ASSERT_EQ(notes.back().pitch, pitch) << "one string at a time";
        ASSERT_EQ(notes.back().off, 0u);
        notes.back().off = now;
      }
    } else {
      FAIL() << "unexpected event " << status;
    }
  }
  EXPECT_TRUE(ended && track.AtEnd()) << "the track ends with its end event";
  EXPECT_GE(program, 24) << "a guitar program";
  EXPECT_LE(program, 31);

  const std::vector<int> strings = {40, 45, 50, 55, 59, 64, 40, 45, 50, 55, 59, 64};
  std::vector<int> pitches;
  quint32 previousOff = 0;
  for (const Note& note : notes) {
    pitches.push_back(note.pitch);
    const double seconds = double(note.off - note.on) * tempo / division / 1e6;
    EXPECT_GE(seconds, 3.0) << note.pitch;
    EXPECT_GE(note.on, previousOff);
    previousOff = note.off;
  }
  EXPECT_EQ(pitches, strings);
}

enum class Command { ReadMe, Tuner };

struct CommandCase {
  const char* name;
  Command command;
  bool swedish;
  const char* file;  // put beside the program, or null
  bool registered;
  const char* message;  // null for none
  QMessageBox::Icon icon;
};

void PrintTo(const CommandCase& c, std::ostream* out) { *out << c.name; }

class ProgramFileCommands : public ::testing::TestWithParam<CommandCase> {};

TEST_P(ProgramFileCommands, OpenTheFileOrSaySo) {
  const CommandCase& c = GetParam();
  std::unique_ptr<SwedishTexts> swedish(c.swedish ? new SwedishTexts : nullptr);
  FakeDesktop fake;
  fake.registered = c.registered;
  const FakeDesktopInPlace inPlace(fake);
  const QString name = QString::fromUtf8(c.file ? c.file : c.command == Command::ReadMe ? "readme.txt" : "gtuner.mid");
  QFile file(ProgramPath(true) + name);
  if (c.file != nullptr) {
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
  }
  if (c.file == nullptr && !FindProgramFile(name).isEmpty()) GTEST_SKIP() << "an installed copy is in the way";

  QWidget owner;
  bool opened = false;
  const ShownMessage shown = MessageShownBy(
      [&] { opened = c.command == Command::ReadMe ? OpenReadMe(&owner) : PlayGuitarTuner(&owner); });
  if (c.file != nullptr) file.remove();
  EXPECT_EQ(opened, c.message == nullptr);
  EXPECT_EQ(shown.text, c.message ? QString::fromUtf8(c.message) : QString());
  if (c.message != nullptr) {
    EXPECT_EQ(std::pair(shown.title, shown.icon), std::pair(QStringLiteral("Sonavel"), c.icon));
  }
  const QStringList calls{QStringLiteral("open ") + QUrl::fromLocalFile(file.fileName()).toString()};
  EXPECT_EQ(fake.calls, opened ? calls : QStringList());
}

constexpr const char* kTunerMissing =
    "Couldn't open \"gtuner.mid\". Make sure this file is in same directory as Sonavel.";

INSTANTIATE_TEST_SUITE_P(
    ProgramFiles, ProgramFileCommands,
    ::testing::Values(
        CommandCase{"EnglishReadMe", Command::ReadMe, false, "ReadMe (english).txt", true, nullptr, {}},
        CommandCase{"SwedishReadMe", Command::ReadMe, true, "readme.txt", true, nullptr, {}},
        CommandCase{"OnlyTheOtherLanguagesReadMe", Command::ReadMe, false, "readme.txt", true,
                    "Couldn't open ReadMe file.", QMessageBox::Warning},
        CommandCase{"ReadMeMissingInSwedish", Command::ReadMe, true, nullptr, true, "Kunde inte öppna ReadMe-filen.",
                    QMessageBox::Warning},
        CommandCase{"TunerPlays", Command::Tuner, false, "gtuner.mid", true, nullptr, {}},
        CommandCase{"TunerMissing", Command::Tuner, false, nullptr, true, kTunerMissing, QMessageBox::Information},
        CommandCase{"NoProgramForMidiFiles", Command::Tuner, false, "gtuner.mid", false, kTunerMissing,
                    QMessageBox::Information},
        CommandCase{"TunerMissingInSwedish", Command::Tuner, true, nullptr, true,
                    "Kunde inte öppna \"gtuner.mid\". Kontrollera att filen ligger i samma mapp som programmet",
                    QMessageBox::Information}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
