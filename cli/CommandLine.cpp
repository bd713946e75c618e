#include "cli/CommandLine.h"

#include <charconv>
#include <functional>
#include <map>

#include "engine/NoteTable.h"

namespace sonavel::cli {
namespace {

std::optional<int> ParseInt(const std::string& text) {
  int value = 0;
  const char* first = text.data();
  const char* last = text.data() + text.size();
  if (first != last && *first == '+') ++first;
  const auto [ptr, ec] = std::from_chars(first, last, value);
  if (ec != std::errc() || ptr != last || first == last) return std::nullopt;
  return value;
}

// Walks the arguments; options may be written "--name value", "--name=value"
// or, for the short ones, "-s value" and "-s2".
class ArgumentReader {
 public:
  explicit ArgumentReader(const std::vector<std::string>& args) : m_args(args) {}

  bool AtEnd() const { return m_index >= m_args.size(); }
  const std::string& Current() const { return m_args[m_index]; }
  void Advance() { ++m_index; }

  // The value of the option at the current argument, consuming it.
  std::optional<std::string> TakeValue(const std::string& option) {
    const std::string& arg = m_args[m_index];
    ++m_index;
    if (arg.size() > option.size()) {
      // "--steps=3" or "-s3"
      const std::size_t skip = option.size() + (arg[option.size()] == '=' ? 1 : 0);
      return arg.substr(skip);
    }
    if (m_index >= m_args.size()) return std::nullopt;
    return m_args[m_index++];
  }

 private:
  const std::vector<std::string>& m_args;
  std::size_t m_index = 0;
};

bool Matches(const std::string& arg, const std::string& option) {
  if (arg == option) return true;
  if (arg.rfind(option, 0) != 0) return false;
  // Long options take "=value"; short ones may have the value attached.
  return option.rfind("--", 0) == 0 ? arg[option.size()] == '=' : true;
}

}  // namespace

std::optional<int> ParseKey(const std::string& text) {
  if (const auto number = ParseInt(text)) {
    if (IsValidKey(*number)) return number;
    return std::nullopt;
  }
  for (int k = 0; k < kKeyCount; ++k) {
    if (chordTable()[static_cast<std::size_t>(k)][0] == text) return k;
  }
  return std::nullopt;
}

ParseResult ParseCommandLine(const std::vector<std::string>& args) {
  ParseResult result;
  CliRequest& req = result.request;
  ArgumentReader reader(args);

  if (reader.AtEnd()) {
    result.error = "no command given";
    return result;
  }
  const std::string command = reader.Current();
  reader.Advance();
  if (command == "--help" || command == "-h" || command == "help") {
    req.command = Command::Help;
    return result;
  }
  if (command == "transpose") req.command = Command::Transpose;
  else if (command == "colorize") req.command = Command::Colorize;
  else {
    result.error = "unknown command '" + command + "'";
    return result;
  }
  const bool transposing = req.command == Command::Transpose;
  TransposeRequest& tr = req.transpose;

  using IntField = std::optional<int> TransposeRequest::*;
  struct IntOption {
    const char* shortName;
    const char* longName;
    IntField field;
  };
  const IntOption intOptions[] = {
      {"-s", "--steps", &TransposeRequest::steps},
      {nullptr, "--tab-min", &TransposeRequest::tabMiniValue},
      {nullptr, "--tab-max", &TransposeRequest::tabMaxValue},
  };
  struct FlagOption {
    const char* name;
    std::function<void()> set;
    bool transposeOnly;
  };
  const FlagOption flagOptions[] = {
      {"--brackets", [&] { req.chordInBrackets = true; }, false},
      {"--no-brackets", [&] { req.chordInBrackets = false; }, false},
      {"--b-is-bb", [&] { tr.bIsBess = true; }, true},
      {"--b-is-b", [&] { tr.bIsBess = false; }, true},
      {"--no-chords", [&] { tr.transposeChords = false; }, true},
      {"--chords", [&] { tr.transposeChords = true; }, true},
      {"--no-tabs", [&] { tr.transposeTabs = false; }, true},
      {"--tabs", [&] { tr.transposeTabs = true; }, true},
      {"--in-place", [&] { tr.inPlace = true; }, true},
      {"--force", [&] { tr.force = true; }, true},
  };

  bool onlyFiles = false;
  while (!reader.AtEnd()) {
    const std::string arg = reader.Current();
    if (onlyFiles || arg == "-" || arg.empty() || arg[0] != '-') {
      if (!req.file.empty()) {
        result.error = "more than one file given ('" + req.file + "' and '" + arg + "')";
        return result;
      }
      req.file = arg;
      reader.Advance();
      continue;
    }
    if (arg == "--") {
      onlyFiles = true;
      reader.Advance();
      continue;
    }
    if (arg == "--help" || arg == "-h") {
      req.command = Command::Help;
      return result;
    }

    bool handled = false;
    for (const FlagOption& flag : flagOptions) {
      if (arg == flag.name) {
        if (flag.transposeOnly && !transposing) {
          result.error = "option " + arg + " applies to transpose only";
          return result;
        }
        flag.set();
        reader.Advance();
        handled = true;
        break;
      }
    }
    if (handled) continue;

    for (const IntOption& opt : intOptions) {
      const char* name = nullptr;
      if (opt.shortName && Matches(arg, opt.shortName)) name = opt.shortName;
      else if (Matches(arg, opt.longName)) name = opt.longName;
      if (!name) continue;
      if (!transposing) {
        result.error = "option " + std::string(opt.longName) + " applies to transpose only";
        return result;
      }
      const auto value = reader.TakeValue(name);
      if (!value) {
        result.error = "option " + std::string(opt.longName) + " needs a value";
        return result;
      }
      const auto number = ParseInt(*value);
      if (!number) {
        result.error = "option " + std::string(opt.longName) + " needs a whole number, not '" + *value + "'";
        return result;
      }
      tr.*opt.field = *number;
      handled = true;
      break;
    }
    if (handled) continue;

    if (Matches(arg, "-k") || Matches(arg, "--key")) {
      if (!transposing) {
        result.error = "option --key applies to transpose only";
        return result;
      }
      const auto value = reader.TakeValue(Matches(arg, "--key") ? "--key" : "-k");
      if (!value) {
        result.error = "option --key needs a value";
        return result;
      }
      tr.key = ParseKey(*value);
      if (!tr.key) {
        result.error = "unknown key '" + *value + "' (give 0..20 or a major key name such as C, F#, Bb)";
        return result;
      }
      continue;
    }
    if (Matches(arg, "-o") || Matches(arg, "--output")) {
      if (!transposing) {
        result.error = "option --output applies to transpose only";
        return result;
      }
      const auto value = reader.TakeValue(Matches(arg, "--output") ? "--output" : "-o");
      if (!value || value->empty()) {
        result.error = "option --output needs a file name";
        return result;
      }
      tr.outputPath = *value;
      continue;
    }
    if (Matches(arg, "--format")) {
      if (transposing) {
        result.error = "option --format applies to colorize only";
        return result;
      }
      const auto value = reader.TakeValue("--format");
      static const std::map<std::string, ColorizeFormat> kFormats = {
          {"ansi", ColorizeFormat::Ansi}, {"html", ColorizeFormat::Html}, {"spans", ColorizeFormat::Spans}};
      const auto found = value ? kFormats.find(*value) : kFormats.end();
      if (found == kFormats.end()) {
        result.error = "option --format takes ansi, html or spans";
        return result;
      }
      req.format = found->second;
      continue;
    }
    result.error = "unknown option '" + arg + "'";
    return result;
  }

  if (req.file.empty()) {
    result.error = "no file given";
    return result;
  }
  if (req.file == "-") {
    result.error = "reading standard input is not supported; name a file";
    return result;
  }
  if (tr.inPlace && tr.outputPath) {
    result.error = "--in-place and --output cannot be used together";
    return result;
  }
  return result;
}

std::string UsageText() {
  return R"(Usage:
  sonavel-cli transpose [options] FILE
  sonavel-cli colorize [--brackets] [--format ansi|html|spans] FILE
  sonavel-cli --help

transpose reads FILE as the editor does, colours its chords and tablature
fret numbers, transposes what it coloured and writes the bytes the editor
would save: CR LF line ends, in the encoding FILE was read in (UTF-8 with or
without a byte-order mark, UTF-16 with its mark, or Windows-1252; UTF-8 when
Windows-1252 cannot hold a character).
Options not given are taken from your Sonavel settings.
  -s, --steps N      semitones to move, negative is down (default 1)
  -k, --key K        key to write the result in: its row 0..20 or its major
                     name as the Transpose dialog lists it:
                     C D E F G A B C# D# E# F# G# A# B# Cb Db Eb Fb Gb Ab Bb
      --b-is-bb      read the letter B as B flat (H is B natural)
      --b-is-b       read the letter B as B natural
      --no-chords    leave chords as they are (--chords to transpose them)
      --no-tabs      leave tablature as it is (--tabs to transpose it)
      --tab-min N    lowest fret transposed frets are folded into (default 0)
      --tab-max N    highest fret transposed frets are folded into (default 15)
      --brackets     only chords written in [brackets] count (--no-brackets)
  -o, --output OUT   write to OUT instead of standard output
      --in-place     replace FILE (only when something was transposed); a
                     file holding bytes the editor cannot keep (NUL bytes,
                     damaged characters) is refused
      --force        with --in-place: replace such a file all the same,
                     without those bytes
  The result ("N chords and M tablatures transposed.") goes to standard error.

colorize prints FILE with its chords and frets marked:
      --format ansi  colours for a terminal (the default on a terminal)
      --format html  a standalone web page coloured as in the editor
      --format spans one line per coloured run: line (from 1), column (from 0,
                     in characters), length, chord or tab, and the run's text,
                     separated by tabs (the default when not on a terminal)
      --brackets     only chords written in [brackets] count

Exit status: 0 when something was transposed (colorize: success), 1 when
nothing was transposed, 2 for bad usage or a file that cannot be read or
written (nothing is written then).
)";
}

}  // namespace sonavel::cli
