#include "cli/CommandLine.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <charconv>
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

// Every option, with the command it belongs to (null for both) and whether
// it takes a value.
struct OptionName {
  const char* names;  // as the parser takes them: "-s,--steps"
  const char* command;
  bool value = false;
};

constexpr OptionName kOptions[] = {
    {"-s,--steps", "transpose", true}, {"-k,--key", "transpose", true},   {"--tab-min", "transpose", true},
    {"--tab-max", "transpose", true},  {"-o,--output", "transpose", true}, {"--format", "colorize", true},
    {"--b-is-bb", "transpose"},        {"--b-is-b", "transpose"},         {"--chords", "transpose"},
    {"--no-chords", "transpose"},      {"--tabs", "transpose"},           {"--no-tabs", "transpose"},
    {"--in-place", "transpose"},       {"--force", "transpose"},          {"--brackets", nullptr},
    {"--no-brackets", nullptr},        {"-q,--quiet", nullptr},
};

std::string LongName(const OptionName& option) {
  const std::string names = option.names;
  return names.substr(names.find("--"));
}

// The option an argument such as "-s3", "--steps=3" or "--steps" names.
const OptionName* Named(const std::string& arg) {
  const std::string given = arg.substr(0, arg.starts_with("--") ? arg.find('=') : 2);
  for (const OptionName& option : kOptions) {
    const std::string names = option.names;
    if (given == LongName(option) || (names[1] != '-' && given == names.substr(0, 2))) return &option;
  }
  return nullptr;
}

// An argument the command did not take, in the tool's words.
std::string Unexpected(const std::string& arg, const std::string& command) {
  const OptionName* option = Named(arg);
  if (option != nullptr && option->command != nullptr && option->command != command) {
    return "option " + LongName(*option) + " applies to " + option->command + " only";
  }
  return "unknown option '" + arg + "'";
}

// Whether the option, written alone, takes the next argument as its value.
bool TakesValue(const std::string& arg) {
  const OptionName* option = Named(arg);
  return option != nullptr && option->value && (arg == LongName(*option) || arg.size() == 2);
}

// One command's options. Values stay text until the parse is done, so that
// what a value may be, and what is said when it is not, is the tool's own.
class CommandOptions {
 public:
  CommandOptions(CLI::App& app, const char* name) : m_command(app.add_subcommand(name)) {
    m_command->allow_extras();
    m_command->add_option("files", m_files);
    for (const OptionName& option : kOptions) {
      if (option.command != nullptr && option.command != std::string(name)) continue;
      CLI::Option* added = option.value ? m_command->add_option(option.names) : m_command->add_flag(option.names);
      added->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
      if (!option.value) added->disable_flag_override();
    }
    m_command->add_flag("-h,--help", m_help);
    m_command->add_flag("--version", m_version);
  }

  bool Chosen() const { return m_command->parsed(); }
  bool Help() const { return m_help; }
  bool Version() const { return m_version; }
  std::vector<std::string>& Files() { return m_files; }
  std::vector<std::string> Extras() const { return m_command->remaining(); }

  // The value of a value option, when given; of several, the last.
  std::optional<std::string> Value(const std::string& name) const {
    const CLI::Option* option = m_command->get_option_no_throw(name);
    if (option == nullptr || option->count() == 0) return std::nullopt;
    return option->results().back();
  }
  // Of two flags that undo each other, the one given last: true for `on`,
  // false for `off`, nothing when neither was given.
  std::optional<bool> Switch(const std::string& on, const std::string& off) const {
    std::optional<bool> state;
    for (const CLI::Option* option : m_command->parse_order()) {
      if (option->check_name(on)) state = true;
      if (option->check_name(off)) state = false;
    }
    return state;
  }
  bool Flag(const std::string& name) const { return Switch(name, "").value_or(false); }

 private:
  CLI::App* m_command;
  std::vector<std::string> m_files;
  bool m_help = false;
  bool m_version = false;
};

// A parse that failed, with the text the user is shown.
struct Refused {
  std::string error;
};

int WholeNumber(const std::string& option, const std::string& value) {
  const std::optional<int> number = ParseInt(value);
  if (!number) throw Refused{"option " + option + " needs a whole number, not '" + value + "'"};
  return *number;
}

void ReadTransposeOptions(const CommandOptions& options, CliRequest& req) {
  TransposeRequest& tr = req.transpose;
  if (const auto steps = options.Value("--steps")) tr.steps = WholeNumber("--steps", *steps);
  if (const auto low = options.Value("--tab-min")) tr.tabMiniValue = WholeNumber("--tab-min", *low);
  if (const auto high = options.Value("--tab-max")) tr.tabMaxValue = WholeNumber("--tab-max", *high);
  if (const auto key = options.Value("--key")) {
    tr.key = ParseKey(*key);
    if (!tr.key) throw Refused{"unknown key '" + *key + "' (give 0..20 or a major key name such as C, F#, Bb)"};
  }
  if (const auto output = options.Value("--output")) {
    if (output->empty()) throw Refused{"option --output needs a file name"};
    tr.outputPath = *output;
  }
  tr.bIsBess = options.Switch("--b-is-bb", "--b-is-b");
  tr.transposeChords = options.Switch("--chords", "--no-chords");
  tr.transposeTabs = options.Switch("--tabs", "--no-tabs");
  tr.inPlace = options.Flag("--in-place");
  tr.force = options.Flag("--force");
}

void ReadColorizeOptions(const CommandOptions& options, CliRequest& req) {
  const auto format = options.Value("--format");
  if (!format) return;
  static const std::map<std::string, ColorizeFormat> kFormats = {
      {"ansi", ColorizeFormat::Ansi}, {"html", ColorizeFormat::Html}, {"spans", ColorizeFormat::Spans}};
  const auto found = kFormats.find(*format);
  if (found == kFormats.end()) throw Refused{"option --format takes ansi, html or spans"};
  req.format = found->second;
}

void CheckFiles(CliRequest& req) {
  std::vector<std::string>& files = req.files;
  if (files.empty()) files.push_back("-");
  const TransposeRequest& tr = req.transpose;
  const auto standardInput = std::count(files.begin(), files.end(), "-");
  if (standardInput > 1) throw Refused{"standard input ('-') given more than once"};
  if (tr.inPlace && tr.outputPath) throw Refused{"--in-place and --output cannot be used together"};
  if (tr.inPlace && standardInput > 0) throw Refused{"--in-place needs a file; standard input cannot be replaced"};
  if (tr.outputPath && files.size() > 1) throw Refused{"--output takes one file, not " + std::to_string(files.size())};
}

// "--steps: 1 required TEXT missing" names the option before its colon.
std::string InOurWords(const CLI::ParseError& error) {
  const std::string text = error.what();
  const std::string option = text.substr(0, text.find(':'));
  if (error.get_name() == "ArgumentMismatch" && !option.empty() && text.find("missing") != std::string::npos) {
    return "option " + option + " needs a value";
  }
  if (error.get_name() == "ArgumentMismatch") return "option --" + text.substr(0, text.find(' ')) + " takes no value";
  return text;
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
  if (args.empty()) {
    result.error = "no command given";
    return result;
  }
  if (args[0] == "help") return result;

  CLI::App app("", "sonavel-cli");
  app.set_help_flag();  // the tool's own help text, in UsageText
  app.allow_extras();
  app.require_subcommand(0, 1);
  bool help = false;
  bool version = false;
  app.add_flag("-h,--help", help);
  app.add_flag("--version", version);
  CommandOptions transpose(app, "transpose");
  CommandOptions colorize(app, "colorize");
  // Everything after "--" is a file. Split off here: the parser would hand
  // what follows a file and "--" back to the level above the command.
  auto end = args.begin();
  while (end != args.end() && !(*end == "--" && (end == args.begin() || !TakesValue(*(end - 1))))) ++end;
  const std::vector<std::string> afterEnd(end == args.end() ? end : end + 1, args.end());
  try {
    app.parse(std::vector<std::string>(std::make_reverse_iterator(end), args.rend()));
    if (help || transpose.Help() || colorize.Help()) return result;
    if (version || transpose.Version() || colorize.Version()) {
      req.command = Command::Version;
      return result;
    }
    CommandOptions& chosen = transpose.Chosen() ? transpose : colorize;
    const std::vector<std::string> before = app.remaining();  // ahead of the command, or no command
    if (!chosen.Chosen()) throw Refused{before.empty() ? "no command given" : "unknown command '" + before[0] + "'"};
    const char* name = transpose.Chosen() ? "transpose" : "colorize";
    if (!before.empty()) throw Refused{Unexpected(before[0], name)};
    if (const auto extras = chosen.Extras(); !extras.empty()) throw Refused{Unexpected(extras[0], name)};
    req.command = transpose.Chosen() ? Command::Transpose : Command::Colorize;
    if (req.command == Command::Transpose) {
      ReadTransposeOptions(chosen, req);
    } else {
      ReadColorizeOptions(chosen, req);
    }
    req.chordInBrackets = chosen.Switch("--brackets", "--no-brackets");
    req.quiet = chosen.Flag("--quiet");
    req.files = std::move(chosen.Files());
    req.files.insert(req.files.end(), afterEnd.begin(), afterEnd.end());
    CheckFiles(req);
  } catch (const Refused& refused) {
    result.error = refused.error;
  } catch (const CLI::ParseError& error) {
    result.error = InOurWords(error);
  }
  return result;
}

std::string UsageText() {
  return R"(Usage:
  sonavel-cli transpose [options] [FILE...]
  sonavel-cli colorize [--brackets] [--format ansi|html|spans] [FILE...]
  sonavel-cli --help | --version

No FILE, or -, reads standard input and writes standard output. Several
files are done one after another, each with a line on standard error.

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
  -o, --output OUT   write to OUT instead of standard output (one FILE only)
      --in-place     replace each FILE (only when something was transposed); a
                     file holding bytes the editor cannot keep (NUL bytes,
                     damaged characters) is refused
      --force        with --in-place: replace such a file all the same,
                     without those bytes
  -q, --quiet        say nothing but errors
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
written (nothing is written then); of several files, the worst.
)";
}

}  // namespace sonavel::cli
