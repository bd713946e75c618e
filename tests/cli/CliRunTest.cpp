// Running sonavel-cli: in-process for the details, as a program for the
// agreement with the in-memory pipeline.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "cli/CliCommands.h"
#include "document/TextFileReader.h"
#include "document/TextFileWriter.h"
#include "engine/NoteTable.h"

namespace sonavel::cli {
namespace {

namespace fs = std::filesystem;

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

class CliRun : public ::testing::Test {
 protected:
  void SetUp() override {
    BuildChordTable();
    char pattern[] = "/tmp/sonavel-cli-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir = pattern;
  }
  void TearDown() override { fs::remove_all(dir); }

  int Run(const std::vector<std::string>& args) {
    out.str("");
    err.str("");
    CliStreams streams{out, err, false};
    return RunCli(args, DocumentOptions{}, streams);
  }

  fs::path dir;
  std::ostringstream out;
  std::ostringstream err;
};

TEST_F(CliRun, TransposesToStandardOutputWithCrLf) {
  WriteBytes(dir / "a.crd", "C   G\nla la\ne|-3-|\n");
  EXPECT_EQ(Run({"transpose", "-s", "2", (dir / "a.crd").string()}), kTransposed);
  EXPECT_EQ(out.str(), "D   A\r\nla la\r\ne|-5-|\r\n");
  EXPECT_EQ(err.str(), "2 chords and 1 tablature transposed.\n");
}

TEST_F(CliRun, NothingToTransposeExitsOneAndLeavesTheFileAlone) {
  const std::string bytes = "just words\nno music\n";
  WriteBytes(dir / "w.txt", bytes);
  EXPECT_EQ(Run({"transpose", "--in-place", (dir / "w.txt").string()}), kNothingTransposed);
  EXPECT_EQ(ReadBytes(dir / "w.txt"), bytes);
  EXPECT_NE(err.str().find("No chords or tablatures were transposed."), std::string::npos);
  EXPECT_EQ(Run({"transpose", "--no-chords", "--no-tabs", "-o", (dir / "o.txt").string(),
                 (dir / "w.txt").string()}),
            kNothingTransposed);
  EXPECT_EQ(ReadBytes(dir / "o.txt"), "just words\r\nno music\r\n");
}

TEST_F(CliRun, InPlaceReplacesTheFileAndKeepsWindows1252) {
  // "Så" in Windows-1252 with CR LF: comes back byte for byte around the chord.
  WriteBytes(dir / "s.crd", "Am\r\nS\xE5 sk\xF6n\r\n");
  EXPECT_EQ(Run({"transpose", "--in-place", "-s", "-2", (dir / "s.crd").string()}), kTransposed);
  EXPECT_EQ(ReadBytes(dir / "s.crd"), "Gm\r\nS\xE5 sk\xF6n\r\n");
  EXPECT_TRUE(out.str().empty());
}

TEST_F(CliRun, UnreadableFileIsAnErrorNamingIt) {
  const std::string missing = (dir / "missing.crd").string();
  EXPECT_EQ(Run({"transpose", missing}), kUsageOrFileError);
  EXPECT_NE(err.str().find(missing), std::string::npos);
  EXPECT_TRUE(out.str().empty());
  EXPECT_EQ(Run({"colorize", dir.string()}), kUsageOrFileError);
}

TEST_F(CliRun, UnwritableOutputLeavesNothingBehind) {
  WriteBytes(dir / "a.crd", "C\n");
  WriteBytes(dir / "plain", "x");
  const std::string target = (dir / "plain" / "out.crd").string();  // parent is a file
  EXPECT_EQ(Run({"transpose", "-o", target, (dir / "a.crd").string()}), kUsageOrFileError);
  EXPECT_NE(err.str().find(target), std::string::npos);
  EXPECT_EQ(ReadBytes(dir / "plain"), "x");
}

TEST_F(CliRun, SpansListEveryColouredRun) {
  WriteBytes(dir / "a.crd", "x \xC3\xA5 Am7/G\r\n|-12-|\r\n");
  EXPECT_EQ(Run({"colorize", "--format", "spans", (dir / "a.crd").string()}), kSuccess);
  EXPECT_EQ(out.str(), "1\t4\t3\tchord\tAm7\n1\t8\t1\tchord\tG\n2\t2\t2\ttab\t12\n");
}

TEST_F(CliRun, HtmlIsAStandalonePage) {
  WriteBytes(dir / "a&b.crd", "<C> & D\n");
  EXPECT_EQ(Run({"colorize", "--format", "html", (dir / "a&b.crd").string()}), kSuccess);
  const std::string html = out.str();
  EXPECT_EQ(html.rfind("<!DOCTYPE html>", 0), 0u);
  EXPECT_NE(html.find("<title>a&amp;b.crd</title>"), std::string::npos);
  EXPECT_NE(html.find("&lt;<span class=\"chord\">C</span>&gt; &amp; <span class=\"chord\">D</span>"),
            std::string::npos);
  EXPECT_NE(html.find("#0000ff"), std::string::npos);  // chords blue as in the editor
}

TEST_F(CliRun, AnsiMarksRunsInTheirColours) {
  WriteBytes(dir / "a.crd", "C -3-");
  EXPECT_EQ(Run({"colorize", "--format", "ansi", (dir / "a.crd").string()}), kSuccess);
  EXPECT_EQ(out.str(), "\x1b[38;2;0;0;255mC\x1b[0m -\x1b[38;2;255;0;0m3\x1b[0m-\n");
}

TEST_F(CliRun, BracketsOptionLimitsChords) {
  WriteBytes(dir / "a.crd", "[Am]la C");
  EXPECT_EQ(Run({"transpose", "--brackets", (dir / "a.crd").string()}), kTransposed);
  EXPECT_EQ(out.str(), "[A#m]la C");
}

// Runs the real program and gives its exit status and standard output.
int RunProgram(const std::vector<std::string>& args, std::string& output, const fs::path& configHome) {
  std::string command = "XDG_CONFIG_HOME='" + configHome.string() + "' '" SONAVEL_CLI_PATH "'";
  for (const auto& a : args) command += " '" + a + "'";
  command += " 2>/dev/null";
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return -1;
  output.clear();
  char buffer[65536];
  std::size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, n);
  const int status = pclose(pipe);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST_F(CliRun, ProgramAgreesWithTheInMemoryPipelineOnEverySong) {
  int files = 0;
  for (const auto& entry : fs::directory_iterator(SONAVEL_SONGS_DIR)) {
    if (entry.path().filename() == "SOURCES.md") continue;
    SongFileText song;
    std::string error;
    ASSERT_TRUE(ReadSongFile(entry.path(), song, error)) << entry.path() << ": " << error;
    DocumentOptions options;
    options.transpose.steps = 3;
    options.transpose.key = 16;
    const PipelineResult expected = ColorizeAndTranspose(song.text, options);
    CodePage used;
    const std::string expectedBytes = EncodeForSave(expected.text, song.codePage, &used);

    std::string output;
    const int status = RunProgram({"transpose", "-s", "3", "-k", "Eb", entry.path().string()}, output, dir);
    EXPECT_EQ(status, expected.counts.AnyTransposed() ? 0 : 1) << entry.path();
    EXPECT_EQ(output, expectedBytes) << entry.path();
    ++files;
  }
  EXPECT_GE(files, 20);
  // Reading the settings must not have created a store.
  EXPECT_TRUE(fs::is_empty(dir));
}

TEST_F(CliRun, ProgramRejectsBadUsageWithStatusTwo) {
  std::string output;
  EXPECT_EQ(RunProgram({"transpose", "--steps", "many", "x"}, output, dir), 2);
  EXPECT_EQ(RunProgram({}, output, dir), 2);
  EXPECT_EQ(RunProgram({"--help"}, output, dir), 0);
  EXPECT_NE(output.find("sonavel-cli transpose"), std::string::npos);
}

}  // namespace
}  // namespace sonavel::cli
