// A fresh folder under the temporary directory that is the current
// directory while the object lives, as a flight directory is during a
// flight; removed afterwards.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>

namespace kvtest {

class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& name)
        : path_(std::filesystem::temp_directory_path() / ("korvane-" + name)), before_(std::filesystem::current_path()) {
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
        std::filesystem::current_path(path_);
    }
    ~ScratchFolder() {
        std::error_code error;
        std::filesystem::current_path(before_, error);
        std::filesystem::remove_all(path_, error);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // Writes a file, relative to the folder, with the given bytes.
    void write(const std::string& name, const std::string& bytes) const {
        const auto file = path_ / name;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << bytes;
    }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
    std::filesystem::path before_;
};

}  // namespace kvtest
