// The editor's steps on the real widget (offscreen), for songs of 250 KB,
// 1 MB and 4 MB: open (read and set the text), colorize, transpose, find
// next chord, a key typed with autoColor on (and the change handler alone),
// and save. Each step should stay under a second at 1 MB and
// grow no faster than the text.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTextCursor>
#include <memory>

#include "bench/Corpus.h"
#include "document/Settings.h"
#include "document/SonavelDoc.h"
#include "engine/NoteTable.h"
#include "shell/DocManagerEx.h"
#include "view/SonavelView.h"

namespace {

constexpr long kKilobyte = 1024;
constexpr long kMegabyte = 1024 * kKilobyte;

// The generated songs, or the real ones, which hold far fewer chords and
// frets to the byte.
enum class Songs { Generated, Real };

// One song file per size and kind, written once; empty without the songs.
class SongFiles {
 public:
  QString PathFor(long bytes, Songs songs = Songs::Generated) {
    const bool real = songs == Songs::Real;
    const QString path = m_directory.filePath(QStringLiteral("%1-%2.crd").arg(real ? "real" : "song").arg(bytes));
    if (!QFile::exists(path)) {
      const auto size = static_cast<std::size_t>(bytes);
      std::string text = real ? sonavel::bench::MakeRealSongCorpus(size) : sonavel::bench::MakeSongCorpus(size);
      if (real && text.size() > size) text.resize(text.rfind('\n', size) + 1);  // whole lines, at most `bytes`
      QFile file(path);
      if (!text.empty() && file.open(QIODevice::WriteOnly)) file.write(text.data(), static_cast<qint64>(text.size()));
    }
    return path;
  }
  QString Scratch() const { return m_directory.filePath(QStringLiteral("saved.crd")); }

 private:
  QTemporaryDir m_directory;
};

SongFiles& Files() {
  static SongFiles files;
  return files;
}

// A document with its view on the screen, as a document window shows it.
struct Editor {
  Editor() : view(doc) {
    view.resize(1000, 700);
    view.show();
  }
  void Load(const QString& path) {
    QString error;
    if (!doc.LoadFile(path, error)) throw std::runtime_error(error.toStdString());
  }
  void CaretAt(long pos) { view.Control().SetSel(pos, pos); }
  // The benchmark song of `bytes`, coloured or not, the caret in its middle.
  void OpenAtTheMiddle(long bytes, bool colorize) {
    Load(Files().PathFor(bytes));
    if (colorize) view.OnColorize();
    CaretAt(view.Control().Length() / 2);
  }

  CDocManagerEx manager;
  CSonavelDoc doc{manager};
  CSonavelView view;
};

void Setup() {
  sonavel::BuildChordTable();
  // Opening a large song never colorizes; keep small ones from doing so too.
  sonavel::theSettings().autoColorOnOpen = false;
  sonavel::theSettings().autoColor = false;
}

void ReportBytes(benchmark::State& state) {
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}

void BM_Open(benchmark::State& state) {
  Setup();
  const QString path = Files().PathFor(state.range(0));
  Editor editor;
  for (auto _ : state) editor.Load(path);
  ReportBytes(state);
}

void Colorize(benchmark::State& state, Songs songs) {
  Setup();
  const QString path = Files().PathFor(state.range(0), songs);
  if (!QFile::exists(path)) {
    state.SkipWithError("no songs in " SONAVEL_SONGS_DIR);
    return;
  }
  Editor editor;
  for (auto _ : state) {
    state.PauseTiming();
    editor.Load(path);
    state.ResumeTiming();
    editor.view.OnColorize();
  }
  ReportBytes(state);
}

void Transpose(benchmark::State& state, Songs songs) {
  Setup();
  const QString path = Files().PathFor(state.range(0), songs);
  if (!QFile::exists(path)) {
    state.SkipWithError("no songs in " SONAVEL_SONGS_DIR);
    return;
  }
  Editor editor;
  for (auto _ : state) {
    state.PauseTiming();
    editor.Load(path);
    editor.view.OnColorize();
    editor.CaretAt(editor.view.Control().Length() / 2);
    state.ResumeTiming();
    editor.view.OnQuickTranspose();
  }
  ReportBytes(state);
}

void BM_Colorize(benchmark::State& state) { Colorize(state, Songs::Generated); }
void BM_Transpose(benchmark::State& state) { Transpose(state, Songs::Generated); }
void BM_Colorize_RealSongs(benchmark::State& state) { Colorize(state, Songs::Real); }
void BM_Transpose_RealSongs(benchmark::State& state) { Transpose(state, Songs::Real); }

// From the middle of a colorized song to the next chord.
void BM_FindNextChord(benchmark::State& state) {
  Setup();
  Editor editor;
  editor.OpenAtTheMiddle(state.range(0), true);
  for (auto _ : state) editor.view.OnFindNextChord();
  ReportBytes(state);
}

// The longest search: a song never colorized, looked through twice.
void BM_FindNextChordNoneColoured(benchmark::State& state) {
  Setup();
  Editor editor;
  editor.OpenAtTheMiddle(state.range(0), false);
  for (auto _ : state) editor.view.OnFindNextChord();
  ReportBytes(state);
}

// One key typed in the middle of a colorized song with autoColor on: the
// widget takes the key, then the change handler colours the token at the
// caret once the edit is done.
void BM_TypeWithAutoColor(benchmark::State& state) {
  Setup();
  Editor editor;
  editor.OpenAtTheMiddle(state.range(0), true);
  sonavel::theSettings().autoColor = true;
  for (auto _ : state) {
    QTextCursor cursor = editor.view.textCursor();
    cursor.insertText(QStringLiteral("x"));
    QCoreApplication::processEvents();
  }
  sonavel::theSettings().autoColor = false;
  ReportBytes(state);
}

// The change handler alone, after a key typed in the middle of the song.
void BM_ChangeHandler(benchmark::State& state) {
  Setup();
  Editor editor;
  editor.OpenAtTheMiddle(state.range(0), true);
  sonavel::DocumentOptions options;
  sonavel::ViewCommands commands(editor.view.Control(), options);
  for (auto _ : state) {
    state.PauseTiming();
    QTextCursor cursor = editor.view.textCursor();
    cursor.insertText(QStringLiteral("C"));
    state.ResumeTiming();
    commands.OnTextChanged(true);
  }
  ReportBytes(state);
}

void BM_Save(benchmark::State& state) {
  Setup();
  Editor editor;
  editor.Load(Files().PathFor(state.range(0)));
  editor.view.OnColorize();
  const QString target = Files().Scratch();
  for (auto _ : state) {
    QString error;
    if (!editor.doc.SaveFile(target, error)) state.SkipWithError(error.toStdString().c_str());
  }
  ReportBytes(state);
}

#define EDITOR_BENCHMARK(name) \
  BENCHMARK(name)->Arg(250 * kKilobyte)->Arg(kMegabyte)->Arg(4 * kMegabyte)->Unit(benchmark::kMillisecond)

EDITOR_BENCHMARK(BM_Open);
EDITOR_BENCHMARK(BM_Colorize);
EDITOR_BENCHMARK(BM_Transpose);
EDITOR_BENCHMARK(BM_Colorize_RealSongs);
EDITOR_BENCHMARK(BM_Transpose_RealSongs);
EDITOR_BENCHMARK(BM_FindNextChord);
EDITOR_BENCHMARK(BM_FindNextChordNoneColoured);
EDITOR_BENCHMARK(BM_TypeWithAutoColor);
// The widget's own part of a key, paused, costs far more than the handler
// timed: a fixed count keeps the run short.
EDITOR_BENCHMARK(BM_ChangeHandler)->Iterations(50);
EDITOR_BENCHMARK(BM_Save);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
