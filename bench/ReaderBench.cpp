// Throughput of reading song files in each encoding (from a real file, so
// that the block reads and the UTF-8 scan of 8-bit files are counted) and of
// encoding text for saving.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "bench/Corpus.h"
#include "document/TextEncoding.h"
#include "document/TextFileReader.h"
#include "document/TextFileWriter.h"

namespace {

constexpr std::size_t kReaderCorpusBytes = 12u << 20;

const std::string& Utf8Corpus() {
  static const std::string corpus = sonavel::bench::MakeSongCorpus(kReaderCorpusBytes);
  return corpus;
}

std::string AsWindows1252(const std::string& utf8) {
  auto bytes = sonavel::Utf8ToWindows1252(utf8);
  return bytes ? *bytes : std::string();
}

std::string AsUtf16LittleEndianWithMark(const std::string& utf8) {
  std::string out = "\xFF\xFE";
  out.reserve(utf8.size() * 2 + 2);
  for (std::size_t i = 0; i < utf8.size();) {
    char32_t c = sonavel::DecodeUtf8At(utf8, i);
    auto put = [&out](char32_t unit) {
      out += static_cast<char>(unit & 0xFF);
      out += static_cast<char>(unit >> 8);
    };
    if (c >= 0x10000) {
      c -= 0x10000;
      put(0xD800 + (c >> 10));
      put(0xDC00 + (c & 0x3FF));
    } else {
      put(c);
    }
  }
  return out;
}

std::string WithLfLineEnds(const std::string& crlf) {
  std::string out;
  out.reserve(crlf.size());
  for (const char c : crlf) {
    if (c != '\r') out += c;
  }
  return out;
}

// The corpus written once to a temporary file, removed afterwards.
class CorpusFile {
 public:
  explicit CorpusFile(const std::string& bytes) {
    std::string pattern = (std::filesystem::temp_directory_path() / "sonavel-bench-XXXXXX").string();
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) return;
    m_path = pattern;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(::fdopen(fd, "wb"), &std::fclose);
    if (!file || std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) m_path.clear();
  }
  ~CorpusFile() {
    if (!m_path.empty()) ::unlink(m_path.c_str());
  }
  CorpusFile(const CorpusFile&) = delete;
  CorpusFile& operator=(const CorpusFile&) = delete;

  const std::string& Path() const { return m_path; }

 private:
  std::string m_path;
};

void ReportBytes(benchmark::State& state, std::size_t bytes) {
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(bytes));
}

void ReadAllFromFile(benchmark::State& state, const std::string& bytes) {
  const CorpusFile file(bytes);
  if (file.Path().empty() || bytes.empty()) {
    state.SkipWithError("cannot write the corpus file");
    return;
  }
  for (auto _ : state) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> stream(std::fopen(file.Path().c_str(), "rb"), &std::fclose);
    sonavel::CTextFileReader reader(stream.get());
    std::string text;
    if (!reader.ReadAll(text, "\r\n")) state.SkipWithError("read failed");
    benchmark::DoNotOptimize(text.data());
    benchmark::ClobberMemory();
  }
  ReportBytes(state, bytes.size());
}

void BM_ReadAll_Windows1252(benchmark::State& state) {
  static const std::string bytes = AsWindows1252(Utf8Corpus());
  ReadAllFromFile(state, bytes);
}

void BM_ReadAll_Windows1252_LfLineEnds(benchmark::State& state) {
  static const std::string bytes = WithLfLineEnds(AsWindows1252(Utf8Corpus()));
  ReadAllFromFile(state, bytes);
}

void BM_ReadAll_Utf8(benchmark::State& state) { ReadAllFromFile(state, Utf8Corpus()); }

void BM_ReadAll_Utf8WithMark(benchmark::State& state) {
  static const std::string bytes = "\xEF\xBB\xBF" + Utf8Corpus();
  ReadAllFromFile(state, bytes);
}

void BM_ReadAll_Utf16LittleEndian(benchmark::State& state) {
  static const std::string bytes = AsUtf16LittleEndianWithMark(Utf8Corpus());
  ReadAllFromFile(state, bytes);
}

void BM_ReadLine_Utf8(benchmark::State& state) {
  const std::string& bytes = Utf8Corpus();
  const CorpusFile file(bytes);
  for (auto _ : state) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> stream(std::fopen(file.Path().c_str(), "rb"), &std::fclose);
    sonavel::CTextFileReader reader(stream.get());
    std::string line;
    std::size_t total = 0;
    while (reader.ReadLine(line)) total += line.size();
    benchmark::DoNotOptimize(total);
  }
  ReportBytes(state, bytes.size());
}

void BM_EncodeForSave(benchmark::State& state, sonavel::SaveEncoding encoding) {
  static const std::string text = WithLfLineEnds(Utf8Corpus());
  for (auto _ : state) {
    sonavel::SaveEncoding used = encoding;
    std::string bytes = sonavel::EncodeForSave(text, encoding, &used);
    benchmark::DoNotOptimize(bytes.data());
  }
  ReportBytes(state, text.size());
}

BENCHMARK(BM_ReadAll_Windows1252)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadAll_Windows1252_LfLineEnds)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadAll_Utf8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadAll_Utf8WithMark)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadAll_Utf16LittleEndian)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadLine_Utf8)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_EncodeForSave, Utf8, sonavel::SaveEncoding::Utf8)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_EncodeForSave, Windows1252, sonavel::SaveEncoding::Windows1252)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_EncodeForSave, Utf16, sonavel::SaveEncoding::Utf16LittleEndian)->Unit(benchmark::kMillisecond);

}  // namespace
