#ifndef SKEDOMAT_TESTS_UNIT_TEMP_FILE_H
#define SKEDOMAT_TESTS_UNIT_TEMP_FILE_H

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

// A file in the system's temporary folder with given bytes, removed again
// when the object goes.
class TempFile {
 public:
  explicit TempFile(const std::string& contents) {
    static int counter = 0;
    path_ = (std::filesystem::temp_directory_path() /
             ("skedomat-test-" + std::to_string(std::random_device()()) +
              "-" + std::to_string(counter++)))
                .string();
    std::ofstream(path_, std::ios::binary) << contents;
  }
  ~TempFile() { std::filesystem::remove(path_); }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;

  const std::string& path() const { return path_; }
  std::string contents() const {
    std::ifstream in(path_, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in),
                       std::istreambuf_iterator<char>());
  }

 private:
  std::string path_;
};

#endif  // SKEDOMAT_TESTS_UNIT_TEMP_FILE_H
