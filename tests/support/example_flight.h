// A private copy of one of the example flight directories (examples/NAME),
// with the scenario its scenario.ini describes, so that flights may write
// screenshots and extra start-up files without touching the sources.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "sim/scenario/scenario_file.h"

namespace kvtest {

class ExampleFlight {
public:
    ExampleFlight(const std::string& example, const std::string& tag)
        : directory_(std::filesystem::temp_directory_path() /
                     ("korvane-" + example + "-" + tag + "-" + std::to_string(::getpid()))) {
        namespace fs = std::filesystem;
        fs::remove_all(directory_);
        fs::copy(fs::path(KORVANE_EXAMPLES_DIR) / example, directory_, fs::copy_options::recursive);
        fs::create_directories(directory_ / "screenshots");
        kvsim::ScenarioError error;
        readOk = kvsim::readScenarioFile((directory_ / "scenario.ini").string(), scenario, error);
        if (!readOk) ADD_FAILURE() << error.text();
    }
    ~ExampleFlight() {
        std::error_code error;
        std::filesystem::remove_all(directory_, error);
    }
    ExampleFlight(const ExampleFlight&) = delete;
    ExampleFlight& operator=(const ExampleFlight&) = delete;

    // Writes a file, relative to the flight directory.
    void write(const std::string& name, const std::string& bytes) const {
        std::ofstream(directory_ / name, std::ios::binary) << bytes;
    }
    std::string directory() const { return directory_.string(); }
    std::string screenshots() const { return (directory_ / "screenshots").string(); }

    kvsim::Scenario scenario;
    bool readOk = false;

private:
    std::filesystem::path directory_;
};

}  // namespace kvtest
