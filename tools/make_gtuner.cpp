// Writes the guitar tuning tune: a standard MIDI file (format 0, one track)
// that plays the six open strings of a guitar in standard tuning, low to
// high, twice, each long enough to tune a string by.
//
// Usage: make_gtuner OUTPUT

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr int kTicksPerQuarter = 480;
constexpr int kMicrosecondsPerQuarter = 500000;  // 120 beats a minute: a quarter is half a second
constexpr int kNoteTicks = 8 * kTicksPerQuarter;  // four seconds a string
constexpr int kRestTicks = kTicksPerQuarter / 2;  // a breath between strings, so repeated notes stay apart
constexpr int kRounds = 2;
constexpr std::uint8_t kSteelStringGuitar = 25;   // General MIDI program 26, counted from 0
constexpr std::uint8_t kVelocity = 100;
constexpr std::uint8_t kOpenStrings[] = {40, 45, 50, 55, 59, 64};  // E2 A2 D3 G3 B3 E4

void PutBigEndian(Bytes& out, std::uint32_t value, int size) {
  for (int shift = 8 * (size - 1); shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(value >> shift));
}

// Delta times are written seven bits a byte, most significant first, every
// byte but the last with its top bit set.
void PutVariableLength(Bytes& out, std::uint32_t value) {
  Bytes reversed{static_cast<std::uint8_t>(value & 0x7F)};
  while ((value >>= 7) != 0) reversed.push_back(static_cast<std::uint8_t>(0x80 | (value & 0x7F)));
  out.insert(out.end(), reversed.rbegin(), reversed.rend());
}

void PutEvent(Bytes& track, std::uint32_t delta, const Bytes& event) {
  PutVariableLength(track, delta);
  track.insert(track.end(), event.begin(), event.end());
}

Bytes TrackEvents() {
  Bytes track;
  const std::string name = "Guitar tuner";
  Bytes nameEvent{0xFF, 0x03, static_cast<std::uint8_t>(name.size())};
  nameEvent.insert(nameEvent.end(), name.begin(), name.end());
  PutEvent(track, 0, nameEvent);
  Bytes tempo{0xFF, 0x51, 0x03};
  PutBigEndian(tempo, kMicrosecondsPerQuarter, 3);
  PutEvent(track, 0, tempo);
  PutEvent(track, 0, {0xC0, kSteelStringGuitar});
  std::uint32_t delta = 0;
  for (int round = 0; round < kRounds; ++round) {
    for (const std::uint8_t note : kOpenStrings) {
      PutEvent(track, delta, {0x90, note, kVelocity});
      PutEvent(track, kNoteTicks, {0x80, note, 0x40});
      delta = kRestTicks;
    }
  }
  PutEvent(track, kRestTicks, {0xFF, 0x2F, 0x00});
  return track;
}

Bytes MidiFile() {
  Bytes file{'M', 'T', 'h', 'd'};
  PutBigEndian(file, 6, 4);
  PutBigEndian(file, 0, 2);  // format 0: one track
  PutBigEndian(file, 1, 2);
  PutBigEndian(file, kTicksPerQuarter, 2);
  const Bytes track = TrackEvents();
  file.insert(file.end(), {'M', 'T', 'r', 'k'});
  PutBigEndian(file, static_cast<std::uint32_t>(track.size()), 4);
  file.insert(file.end(), track.begin(), track.end());
  return file;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT\n", argv[0]);
    return 2;
  }
  // Written aside and renamed, so that a failed run leaves no half file.
  const std::filesystem::path output = argv[1];
  std::filesystem::path partial = output;
  partial += ".part";
  const Bytes bytes = MidiFile();
  {
    std::ofstream out(partial, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) {
      std::fprintf(stderr, "%s: cannot write %s\n", argv[0], partial.c_str());
      std::filesystem::remove(partial);
      return 1;
    }
  }
  std::error_code error;
  std::filesystem::rename(partial, output, error);
  if (error) {
    std::fprintf(stderr, "%s: cannot write %s: %s\n", argv[0], output.c_str(), error.message().c_str());
    std::filesystem::remove(partial, error);
    return 1;
  }
  return 0;
}
