// A stand-in for libFuzzer's main: feeds each file named on the command line
// (or every file in a named folder) to the target once. Every build compiles
// the targets with it, so a changed interface breaks the build at once rather
// than the fuzz run, and the kept corpus replays as an ordinary test.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

void Replay(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  const std::vector<char> bytes{std::istreambuf_iterator<char>(in),
                                std::istreambuf_iterator<char>()};
  std::printf("replay %s (%zu bytes)\n", file.c_str(), bytes.size());
  LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::filesystem::path path = argv[i];
    if (std::filesystem::is_directory(path)) {
      for (const auto& entry : std::filesystem::directory_iterator(path))
        if (entry.is_regular_file()) Replay(entry.path());
    } else {
      Replay(path);
    }
  }
  // The empty input, which every target must take.
  LLVMFuzzerTestOneInput(nullptr, 0);
  return 0;
}
