#include "dialogs/SettingsSample.h"

#include <QApplication>
#include <QTextCursor>
#include <QTextEdit>
#include <string>

#include "dialogs/FontChoice.h"
#include "dialogs/SampleLook.h"
#include "document/Settings.h"
#include "document/StringTableText.h"
#include "engine/NoteTable.h"

namespace sonavel {
namespace {

// One fret more than the Transpose dialog shows, so that the twelfth fret,
// the octave, is there too.
constexpr int kLastFret = 12;

void Append(std::vector<SampleRun>& runs, std::string text, SampleRole role) {
  runs.push_back(SampleRun{std::move(text), role});
}


}  // namespace

std::vector<SampleRun> BuildSettingsSample(std::string_view chordsHeading, std::string_view tabsHeading) {
  BuildChordTable();
  std::vector<SampleRun> runs;
  Append(runs, std::string(chordsHeading) + "\n", SampleRole::Text);
  for (const std::string_view name : chordTable()[0]) {
    Append(runs, std::string(name), SampleRole::Chord);
    Append(runs, " ", SampleRole::Text);
  }
  Append(runs, "\n" + std::string(tabsHeading) + "\n-", SampleRole::Text);
  for (int fret = 0; fret <= kLastFret; ++fret) {
    Append(runs, std::to_string(fret), SampleRole::Tab);
    Append(runs, "-", SampleRole::Text);
  }
  return runs;
}

void PaintSettingsSample(QTextEdit& sample, const SettingsValues& look) {
  const std::vector<SampleRun> runs = BuildSettingsSample(StringTableText(IDS_SAMPLE_CHORDS).toStdString(),
                                                          StringTableText(IDS_SAMPLE_TABS).toStdString());
  sample.setUpdatesEnabled(false);

  QPalette palette = sample.palette();
  palette.setColor(QPalette::Base, look.useSystemBackground ? QApplication::palette(&sample).color(QPalette::Base)
                                                            : ToQColor(look.backgroundcolor));
  sample.setPalette(palette);

  QTextCharFormat format;
  format.setFontFamilies({ResolveFontFamily(look.font)});
  format.setFontPointSize(ShownPointSize(look.fontSize));
  format.setFontWeight(look.fontBold ? QFont::Bold : QFont::Normal);
  format.setFontItalic(look.fontItalic);
  format.setFontUnderline(false);
  format.setFontStrikeOut(false);

  sample.clear();
  QTextCursor cursor(sample.document());
  for (const SampleRun& run : runs) {
    format.setForeground(SampleRoleColor(run.role, look.textcolor, look.chordcolor, look.tabcolor));
    cursor.insertText(QString::fromStdString(run.text), format);
  }
  // A large font scrolls; the sample starts at its heading.
  sample.moveCursor(QTextCursor::Start);
  sample.setUpdatesEnabled(true);
}

}  // namespace sonavel
