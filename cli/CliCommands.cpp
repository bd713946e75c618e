#include "cli/CliCommands.h"

#include <algorithm>
#include <exception>
#include <filesystem>
#include <new>
#include <optional>
#include <ostream>

#include "cli/ColorizeOutput.h"
#include "document/TextFileReader.h"
#include "document/TextFileWriter.h"
#include "res/StringTable.h"
#include "view/SongLinePass.h"

namespace sonavel::cli {
namespace {

std::string DisplayName(const std::string& file) { return file == "-" ? kStandardInputName : file; }

int FileError(CliStreams& streams, const std::string& file, const std::string& reason) {
  streams.err << "sonavel-cli: " << DisplayName(file) << ": " << reason << '\n';
  return kUsageOrFileError;
}

// Standard output takes the text in pieces of this size as it is made.
constexpr std::size_t kOutputChunk = 1 << 16;

bool Flush(std::string& bytes, CliStreams& streams) {
  streams.out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  bytes.clear();
  return static_cast<bool>(streams.out);
}

// Reads a song ("-": standard input) line by line, a long line in segments
// of about `window` bytes, handing each to `take` with where it stands in
// its line; `take` returns false to stop (output failed).
template <typename Take>
bool ForEachSongSegment(const std::string& file, SongFileLines& lines, std::size_t window, CliStreams& streams,
                        Take&& take) {
  ReadError error;
  std::string failed;  // the file that failed
  if (file == "-" ? lines.OpenStandardInput(error) : lines.Open(file, error)) {
    std::string segment;
    SegmentPlace place;
    while (failed.empty() && lines.Reader().ReadSegment(segment, window, place)) {
      if (!take(segment, place)) {
        failed = "standard output";
        error.reason = "write failed";
      }
    }
    if (failed.empty() && !lines.Finished(error)) failed = file;
  } else {
    failed = file;
  }
  if (failed.empty()) return true;
  FileError(streams, failed, error.reason);
  return false;
}

void ColorizeSegment(SongLinePass& pass, std::string_view segment, const SegmentPlace& place) {
  if (place.startsLine) pass.Colorize(segment);
  else pass.ColorizeContinued(segment);
}

// The request's options applied over the user's defaults.
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

// What became of one file, on standard error unless the user wants quiet;
// named when there are several.
void Report(const CliRequest& request, const std::string& file, std::string_view result, CliStreams& streams) {
  if (request.quiet) return;
  if (request.files.size() > 1) streams.err << DisplayName(file) << ": ";
  streams.err << result << '\n';
}

int TransposeFile(const std::string& file, const CliRequest& request, const DocumentOptions& options,
                  std::size_t window, CliStreams& streams) {
  const TransposeRequest& tr = request.transpose;
  const bool toFile = tr.inPlace || tr.outputPath;
  SongFileLines lines;
  SongLinePass pass(options);
  std::optional<SaveEncoder> encoder;
  TransposeCounts counts;
  std::string scratch;  // a line or segment that changed
  std::string bytes;  // the whole file for a file; a piece at a time for standard output
  const auto take = [&](const std::string& segment, const SegmentPlace& place) {
    // The form to save in is settled once the first line is read.
    if (!encoder) {
      encoder.emplace(lines.Reader().EncodingToSave());
      // The new file is about as long as the old; room for it at once
      // spares growing it by copies that would double what is held.
      if (toFile) bytes.reserve(lines.Size() + lines.Size() / 8);
    }
    ColorizeSegment(pass, segment, place);
    encoder->Put(pass.Transposed(scratch, counts), place.lineBreak, bytes);
    return toFile || bytes.size() < kOutputChunk || Flush(bytes, streams);
  };
  if (!ForEachSongSegment(file, lines, window, streams, take)) return kUsageOrFileError;
  encoder->Finish(bytes);

  if (tr.inPlace && !tr.force && lines.Reader().Losses().Any()) {
    return FileError(streams, file,
                     "holds bytes that cannot be kept: " + DescribeLosses(lines.Reader().Losses()) +
                         "; not replaced (--force replaces it without them)");
  }
  const bool changed = counts.AnyTransposed();
  if (toFile) {
    // Nothing transposed means nothing to save: the file is left alone.
    if (!tr.inPlace || changed) {
      const std::string target = tr.outputPath ? *tr.outputPath : file;
      // A file another program changed while it was transposed keeps that change.
      const FileFingerprint fingerprint = lines.Reader().BytesRead();
      WriteError error;
      if (!WriteFileSafely(target, bytes, error, tr.inPlace ? &fingerprint : nullptr)) {
        return FileError(streams, target, error.reason);
      }
    }
  } else if (!Flush(bytes, streams) || !streams.out.flush()) {
    return FileError(streams, "standard output", "write failed");
  }

  if (changed) {
    Report(request, file, TransposedCountsInEnglish(counts.chords, counts.tabs), streams);
    return kTransposed;
  }
  Report(request, file, EnglishString(IDS_NOTHING_TRANSPOSED), streams);
  return kNothingTransposed;
}

int ColorizeFile(const std::string& file, const CliRequest& request, const DocumentOptions& options,
                 std::size_t window, CliStreams& streams) {
  const ColorizeFormat format =
      request.format.value_or(streams.outIsTerminal ? ColorizeFormat::Ansi : ColorizeFormat::Spans);
  ColorizeWriter writer(format, options,
                        file == "-" ? kStandardInputName : std::filesystem::path(file).filename().string());
  SongLinePass pass(options);
  SongFileLines lines;
  std::string bytes;
  writer.Begin(bytes);
  const auto take = [&](const std::string& segment, const SegmentPlace& place) {
    ColorizeSegment(pass, segment, place);
    writer.Segment(pass, place, bytes);
    return bytes.size() < kOutputChunk || Flush(bytes, streams);
  };
  if (!ForEachSongSegment(file, lines, window, streams, take)) return kUsageOrFileError;
  writer.End(bytes);
  if (!Flush(bytes, streams) || !streams.out.flush()) return FileError(streams, "standard output", "write failed");
  return kSuccess;
}

}  // namespace

int RunCli(const std::vector<std::string>& args, const DocumentOptions& defaults, CliStreams& streams,
           std::size_t segmentWindow) {
  const ParseResult parsed = ParseCommandLine(args);
  if (!parsed.ok()) {
    streams.err << "sonavel-cli: " << parsed.error << "\nTry 'sonavel-cli --help' for more information.\n";
    return kUsageOrFileError;
  }
  const CliRequest& request = parsed.request;
  if (request.command == Command::Help) {
    streams.out << UsageText();
    return kSuccess;
  }
  if (request.command == Command::Version) {
    streams.out << "sonavel-cli " << SONAVEL_VERSION << '\n';
    return kSuccess;
  }
  const DocumentOptions options = ApplyRequest(request, defaults);
  int worst = kSuccess;
  for (const std::string& file : request.files) {
    int status = kUsageOrFileError;
    try {
      status = request.command == Command::Transpose ? TransposeFile(file, request, options, segmentWindow, streams)
                                                     : ColorizeFile(file, request, options, segmentWindow, streams);
    } catch (const std::bad_alloc&) {
      // Files are written whole, at the end: this one has not been touched.
      FileError(streams, file, "Not enough memory for this file");
    } catch (const std::exception& e) {
      FileError(streams, file, e.what());
    }
    worst = std::max(worst, status);
  }
  return worst;
}

}  // namespace sonavel::cli
