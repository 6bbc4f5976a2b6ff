// Without libFuzzer, a harness is a program that feeds it each file named on its command line
// (or each file of a named folder): the kept regression inputs, checked in every build.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

void feed(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
  std::cout << file.filename().string() << " (" << bytes.size() << " bytes)" << std::endl;
  LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
}

}  // namespace

int main(int argc, char** argv) {
  int inputs = 0;
  for (int i = 1; i < argc; ++i) {
    std::filesystem::path arg(argv[i]);
    if (std::filesystem::is_directory(arg)) {
      for (const auto& e : std::filesystem::directory_iterator(arg))
        if (e.is_regular_file()) feed(e.path()), ++inputs;
    } else {
      feed(arg), ++inputs;
    }
  }
  if (inputs == 0) {
    std::cerr << "no inputs\n";
    return 1;
  }
  std::cout << inputs << " inputs, no failure\n";
  return 0;
}
