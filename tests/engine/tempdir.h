// SPDX-License-Identifier: GPL-3.0-or-later
// A folder of its own for a test, removed with everything in it, and whole files read back:
// for the tests of the memory file, of atomic replacing and of the trainer.
#pragma once

#include <gtest/gtest.h>

#include <stdlib.h>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace zelmo::engine::test {

class TempDir {
  public:
    TempDir() {
        std::string pattern = ::testing::TempDir() + "zelmo-test-XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr) {
            ADD_FAILURE() << "no temporary folder in " << ::testing::TempDir();
        }
        path_ = pattern;
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }
    // The names of the folder's entries.
    std::set<std::string> names() const {
        std::set<std::string> result;
        for (const auto& item : std::filesystem::directory_iterator(path_)) {
            result.insert(item.path().filename().string());
        }
        return result;
    }

  private:
    std::string path_;
};

inline std::vector<std::uint8_t> readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in),
                                     std::istreambuf_iterator<char>());
}

inline void writeText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

inline std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace zelmo::engine::test
