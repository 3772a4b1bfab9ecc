// Runs a fuzzing harness over saved inputs without libFuzzer: every file named on the command
// line, or found in a folder named there, goes once through LLVMFuzzerTestOneInput. This keeps
// each corpus, with the inputs of every fault found, replayed by the ordinary test suite.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

#ifdef __SANITIZE_ADDRESS__
// Under AddressSanitizer one allocation over the fuzzing runs' limit fails the replay as it
// failed the run, so an input that once asked for a gigabyte keeps being checked for it.
extern "C" const char* __asan_default_options() {
  return "max_allocation_size_mb=1024:allocator_may_return_null=0";
}
#endif

namespace {

bool replay(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  const std::vector<char> bytes((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
  if (!in.eof() && in.fail()) {
    std::fprintf(stderr, "%s: cannot be read\n", file.c_str());
    return false;
  }
  LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  std::size_t replayed = 0;
  for (int i = 1; i < argc; ++i) {
    const std::filesystem::path named = argv[i];
    std::vector<std::filesystem::path> files;
    if (std::filesystem::is_directory(named)) {
      for (const auto& entry : std::filesystem::directory_iterator(named)) {
        if (entry.is_regular_file()) files.push_back(entry.path());
      }
    } else {
      files.push_back(named);
    }
    for (const auto& file : files) {
      if (!replay(file)) return 1;
      ++replayed;
    }
  }
  std::printf("replayed %zu inputs\n", replayed);
  // An empty or missing corpus would make the test pass while checking nothing.
  return replayed > 0 ? 0 : 1;
}
