// Runs every file of the folders (or the files) named on the command line
// through the fuzz target's entry point, in name order: the corpus replay of
// the test build. Fails when it finds no file, so an emptied corpus is seen.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size);

int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  std::vector<fs::path> Inputs;
  for (int I = 1; I < argc; ++I) {
    if (fs::is_directory(argv[I])) {
      for (const fs::directory_entry& Entry : fs::directory_iterator(argv[I]))
        if (Entry.is_regular_file()) Inputs.push_back(Entry.path());
    } else {
      Inputs.emplace_back(argv[I]);
    }
  }
  std::sort(Inputs.begin(), Inputs.end());
  if (Inputs.empty()) {
    std::fprintf(stderr, "no corpus file found\n");
    return 1;
  }
  for (const fs::path& Path : Inputs) {
    std::ifstream In(Path, std::ios::binary);
    if (!In) {
      std::fprintf(stderr, "cannot read %s\n", Path.c_str());
      return 1;
    }
    const std::vector<uint8_t> Bytes{std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>()};
    // A copy of exactly the file's size, so that a read past the end is seen.
    std::vector<uint8_t> Exact(Bytes);
    LLVMFuzzerTestOneInput(Exact.data(), Exact.size());
  }
  std::printf("%zu corpus files replayed\n", Inputs.size());
  return 0;
}
