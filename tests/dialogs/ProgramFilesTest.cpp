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

// Reads the parts of a standard MIDI file the tune uses, front to back.
struct MidiReader {
  QByteArray bytes;
  qsizetype pos = 0;

  bool AtEnd() const { return pos >= bytes.size(); }
  QByteArray Take(qsizetype n) {
    if (pos + n > bytes.size()) throw std::out_of_range("the file ends early");
    pos += n;
    return bytes.mid(pos - n, n);
  }
  quint32 Number(int size) {
    quint32 value = 0;
    for (const char byte : Take(size)) value = value << 8 | static_cast<quint8>(byte);
    return value;
  }
  quint32 VariableLength() {
    quint32 value = 0, byte = 0x80;
    while (byte & 0x80) value = value << 7 | ((byte = Number(1)) & 0x7F);
    return value;
  }
};

TEST(GuitarTunerFile, PlaysTheSixOpenStringsTwiceLongEnoughOnAGuitar) {
  QFile file(QString::fromUtf8(SONAVEL_SHIPPED_TUNER));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << SONAVEL_SHIPPED_TUNER;
  MidiReader midi{file.readAll()};
  ASSERT_EQ(midi.Take(4), QByteArray("MThd"));
  ASSERT_EQ((std::tuple{midi.Number(4), midi.Number(2), midi.Number(2)}), std::tuple(6u, 0u, 1u)) << "format 0, one track";
  const quint32 division = midi.Number(2);  // ticks per quarter note
  ASSERT_EQ(midi.Take(4), QByteArray("MTrk"));
  MidiReader track{midi.Take(midi.Number(4))};
  EXPECT_TRUE(midi.AtEnd()) << "one track only";

  quint32 now = 0, tempo = 500000, program = 0, ended = 0;
  size_t offs = 0;
  std::vector<std::pair<quint32, quint32>> notes;  // pitch and length in ticks
  while (!track.AtEnd() && !ended) {
    now += track.VariableLength();
    const quint32 status = track.Number(1), kind = status & 0xF0;
    if (status == 0xFF) {
      const quint32 type = track.Number(1);
      MidiReader data{track.Take(track.VariableLength())};
      if (type == 0x51) tempo = data.Number(3);
      ended = type == 0x2F;
    } else if (kind == 0xC0) {
      program = track.Number(1);
    } else if (kind == 0x90 || kind == 0x80) {
      const quint32 pitch = track.Number(1), velocity = track.Number(1);
      const bool on = kind == 0x90 && velocity > 0;
      ASSERT_TRUE(on ? offs == notes.size() : offs + 1 == notes.size() && notes.back().first == pitch)
          << "one string at a time, each ended";
      if (on) {
        notes.emplace_back(pitch, now);
      } else {
        notes.back().second = now - notes.back().second;
        ++offs;
      }
    } else {
      FAIL() << "unexpected event " << status;
    }
  }
  EXPECT_TRUE(ended && track.AtEnd() && offs == notes.size()) << "the track ends with its end event";
  EXPECT_TRUE(program >= 24 && program <= 31) << "a guitar program, not " << program;
  std::vector<quint32> pitches;
  for (const auto& [pitch, ticks] : notes) {
    pitches.push_back(pitch);
    EXPECT_GE(double(ticks) * tempo / division / 1e6, 3.0) << "seconds of " << pitch;
  }
  EXPECT_EQ(pitches, (std::vector<quint32>{40, 45, 50, 55, 59, 64, 40, 45, 50, 55, 59, 64}));
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
  EXPECT_EQ(std::tuple(opened, shown.text, shown.icon), std::tuple(!c.message, QString::fromUtf8(c.message), c.icon));
  EXPECT_EQ(shown.title, c.message ? QStringLiteral("Sonavel") : QString());
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
