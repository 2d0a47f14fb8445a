// A fresh directory for tests that read and write real files; removed with its contents.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <system_error>

class TempDirectory {
public:
    TempDirectory() {
        std::random_device seed;
        const std::filesystem::path base = std::filesystem::temp_directory_path();
        for (;;) {
            path_ = base / ("velmora-test-" + std::to_string(seed()));
            if (std::filesystem::create_directory(path_)) break;
        }
    }
    ~TempDirectory() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempDirectory(const TempDirectory&) = delete;
    TempDirectory& operator=(const TempDirectory&) = delete;

    // The directory with a final separator, ready for a file name.
    std::string Directory() const { return path_.string() + "/"; }
    std::string PathOf(const std::string& name) const { return (path_ / name).string(); }

    void WriteFile(const std::string& name, const std::string& bytes) const {
        std::ofstream out(PathOf(name), std::ios::binary | std::ios::trunc);
        out << bytes;
    }
    std::string ReadFile(const std::string& name) const {
        std::ifstream in(PathOf(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    bool Exists(const std::string& name) const { return std::filesystem::exists(PathOf(name)); }

private:
    std::filesystem::path path_;
};
