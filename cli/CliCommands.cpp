#include "cli/CliCommands.h"

#include <filesystem>
#include <new>
#include <ostream>

#include "cli/ColorizeOutput.h"
#include "document/TextFileReader.h"
#include "document/TextFileWriter.h"
#include "res/StringTable.h"
#include "view/MemoryTextControl.h"

namespace sonavel::cli {
namespace {

int FileError(CliStreams& streams, const std::string& path, const std::string& reason) {
  streams.err << "sonavel-cli: " << path << ": " << reason << '\n';
  return kUsageOrFileError;
}

bool ReadSong(const std::string& path, SongFileText& song, CliStreams& streams) {
  std::string error;
  if (ReadSongFile(path, song, error)) return true;
  FileError(streams, path, error);
  return false;
}

}  // namespace

DocumentOptions ApplyRequest(const CliRequest& request, DocumentOptions options) {
  const TransposeRequest& tr = request.transpose;
  TransposeOptions& opt = options.transpose;
  if (tr.steps) opt.steps = *tr.steps;
  if (tr.key) opt.key = *tr.key;
  if (tr.bIsBess) opt.bIsBess = *tr.bIsBess;
  if (tr.transposeChords) opt.transposeChords = *tr.transposeChords;
  if (tr.transposeTabs) opt.transposeTabs = *tr.transposeTabs;
  if (tr.tabMiniValue) opt.tabMiniValue = *tr.tabMiniValue;
  if (tr.tabMaxValue) opt.tabMaxValue = *tr.tabMaxValue;
  if (request.chordInBrackets) options.chordInBrackets = *request.chordInBrackets;
  return options;
}

PipelineResult ColorizeAndTranspose(const std::string& utf8Text, const DocumentOptions& options) {
  DocumentOptions copy = options;
  MemoryTextControl control(options.textcolor);
  control.SetText(utf8Text);
  ViewCommands commands(control, copy);
  commands.Colorize(false, false);
  PipelineResult result;
  result.counts = commands.OnQuickTranspose();
  result.text = control.Text();
  return result;
}

int RunTranspose(const CliRequest& request, const DocumentOptions& defaults, CliStreams& streams) {
  const DocumentOptions options = ApplyRequest(request, defaults);
  SongFileText song;
  if (!ReadSong(request.file, song, streams)) return kUsageOrFileError;
  const TransposeRequest& tr = request.transpose;
  if (tr.inPlace && !tr.force && song.losses.Any()) {
    return FileError(streams, request.file,
                     "holds bytes that cannot be kept: " + DescribeLosses(song.losses) +
                         "; not replaced (--force replaces it without them)");
  }

  const PipelineResult result = ColorizeAndTranspose(song.text, options);
  const bool changed = result.counts.AnyTransposed();

  // Nothing transposed means nothing to save: the file is left alone.
  if (!tr.inPlace || changed) {
    const std::string bytes = EncodeForSave(result.text, song.saveEncoding, nullptr);
    if (tr.inPlace || tr.outputPath) {
      const std::string target = tr.outputPath ? *tr.outputPath : request.file;
      // A file another program changed while it was transposed keeps that change.
      WriteError error;
      if (!WriteFileSafely(target, bytes, error, tr.inPlace ? &song.fingerprint : nullptr)) {
        return FileError(streams, target, error.reason);
      }
    } else {
      streams.out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
      streams.out.flush();
      if (!streams.out) return FileError(streams, "standard output", "write failed");
    }
  }

  if (changed) {
    streams.err << TransposedCountsInEnglish(result.counts.chords, result.counts.tabs)
                << '\n';
    return kTransposed;
  }
  streams.err << EnglishString(IDS_NOTHING_TRANSPOSED) << '\n';
  return kNothingTransposed;
}

int RunColorize(const CliRequest& request, const DocumentOptions& defaults, CliStreams& streams) {
  const DocumentOptions options = ApplyRequest(request, defaults);
  SongFileText song;
  if (!ReadSong(request.file, song, streams)) return kUsageOrFileError;

  DocumentOptions copy = options;
  MemoryTextControl control(options.textcolor);
  control.SetText(song.text);
  ViewCommands commands(control, copy);
  commands.Colorize(false, false);

  const std::vector<ColoredRun> runs = CollectColoredRuns(control, options);
  const std::string text = control.Text();
  const ColorizeFormat format =
      request.format.value_or(streams.outIsTerminal ? ColorizeFormat::Ansi : ColorizeFormat::Spans);
  std::string output;
  switch (format) {
    case ColorizeFormat::Ansi: output = FormatAnsi(text, runs, options); break;
    case ColorizeFormat::Html:
      output = FormatHtml(text, runs, std::filesystem::path(request.file).filename().string());
      break;
    case ColorizeFormat::Spans: output = FormatSpans(text, runs); break;
  }
  streams.out << output;
  if (format == ColorizeFormat::Ansi && !text.empty() && text.back() != '\n') streams.out << '\n';
  streams.out.flush();
  if (!streams.out) return FileError(streams, "standard output", "write failed");
  return kSuccess;
}

int RunCli(const std::vector<std::string>& args, const DocumentOptions& defaults, CliStreams& streams) {
  const ParseResult parsed = ParseCommandLine(args);
  if (!parsed.ok()) {
    streams.err << "sonavel-cli: " << parsed.error << "\nTry 'sonavel-cli --help' for more information.\n";
    return kUsageOrFileError;
  }
  try {
    switch (parsed.request.command) {
      case Command::Help: streams.out << UsageText(); return kSuccess;
      case Command::Transpose: return RunTranspose(parsed.request, defaults, streams);
      case Command::Colorize: return RunColorize(parsed.request, defaults, streams);
    }
  } catch (const std::bad_alloc&) {
    // Nothing has been written yet: files are written whole, at the end.
    return FileError(streams, parsed.request.file, "Not enough memory for this file");
  }
  return kUsageOrFileError;
}

}  // namespace sonavel::cli
