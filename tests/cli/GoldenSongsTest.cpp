// Every real song through sonavel-cli, against its golden file: the runs
// `colorize` finds, and for several transpositions the exit status, the
// message and a digest of the bytes written. A change of any output byte
// shows here. After a change meant to alter the output, run the test
// program with SONAVEL_UPDATE_GOLDEN=1 to write the files anew, and read
// their diff.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>

#include "cli/CliCommands.h"
#include "engine/NoteTable.h"
#include "tests/support/Songs.h"

namespace sonavel::cli {
namespace {

SONGS_PRESENT_TEST()

const char* const kTranspositions[] = {
    "-s 1",
    "-s 2 -k 0",
    "-s -3 -k 3",
    "-s 5 -k 18 --b-is-bb",
    "-s 7 --tab-min 12 --tab-max 24",
    "-s 0 -k 17 --brackets",
    "-s -12 --no-chords",
    "-s 11 --no-tabs --tab-max 5",
};

std::string Fnv1a64(const std::string& bytes) {
  std::uint64_t hash = 14695981039346656037ULL;
  for (const char c : bytes) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
  char hex[17];
  std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
  return hex;
}

std::string Golden(const test::Song& song) {
  const auto run = [&song](std::vector<std::string> args, std::string& out, std::string& err) {
    args.push_back(song.path);
    std::ostringstream o;
    std::ostringstream e;
    CliStreams streams{o, e, false};
    const int status = RunCli(args, DocumentOptions{}, streams);
    out = o.str();
    err = e.str();
    return status;
  };
  std::string out;
  std::string err;
  std::string golden = "colorize --format spans: " + std::to_string(run({"colorize", "--format", "spans"}, out, err));
  golden += "\n" + out;
  for (const char* transposition : kTranspositions) {
    std::istringstream words(transposition);
    std::vector<std::string> args{"transpose"};
    args.insert(args.end(), std::istream_iterator<std::string>(words), std::istream_iterator<std::string>());
    const int status = run(args, out, err);
    golden += "transpose " + std::string(transposition) + ": " + std::to_string(status) + " " + Fnv1a64(out) + " " +
              err.substr(0, err.find('\n')) + "\n";
  }
  return golden;
}

class GoldenSongs : public ::testing::TestWithParam<test::Song> {};
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(GoldenSongs);

TEST_P(GoldenSongs, GiveTheirGoldenOutput) {
  BuildChordTable();
  const std::string actual = Golden(GetParam());
  const std::string path = std::string(SONAVEL_GOLDEN_DIR) + "/" + GetParam().name + ".golden";
  if (const char* update = std::getenv("SONAVEL_UPDATE_GOLDEN"); update != nullptr && *update != '\0') {
    std::ofstream(path, std::ios::binary) << actual;
    return;
  }
  std::ifstream in(path, std::ios::binary);
  ASSERT_TRUE(in) << path << " is missing: run with SONAVEL_UPDATE_GOLDEN=1";
  const std::string expected{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  EXPECT_EQ(actual, expected);
}

INSTANTIATE_TEST_SUITE_P(Songs, GoldenSongs, ::testing::ValuesIn(test::Songs()), [](const auto& info) {
  std::string name = info.param.name;
  for (char& c : name) c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
  return name;
});

}  // namespace
}  // namespace sonavel::cli
