// A bound module whose flight runs in a fresh temporary flight directory:
// the process's current directory and the engine's flightDirectory point
// there, as the run driver sets them, and start-up and options files are
// real files in it. The per-flight texts the tests make the engine read
// are freed before the module is unbound.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "config/strings.h"
#include "engine/flight_module.h"
#include "entry/module_entry.h"
#include "platform/workdir.h"
#include "tests/support/bound_module.h"

namespace kvtest {

class FlightDirectory : public BoundModule {
protected:
    void SetUp() override {
        BoundModule::SetUp();
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = std::filesystem::temp_directory_path() /
               ("korvane-" + std::to_string(::getpid()) + "-" + info->test_suite_name() + "-" + info->name());
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
        previous_ = std::filesystem::current_path();
        std::filesystem::current_path(dir_);
        kv::getWorkingDir(fm.flightDirectory, sizeof fm.flightDirectory);
        fm.loadingScreen = nullptr;
        fm.networkFlight = 0;
    }

    void TearDown() override {
        freeTexts();
        fm.flightDirectory[0] = '\0';
        std::filesystem::current_path(previous_);
        std::filesystem::remove_all(dir_);
        BoundModule::TearDown();
    }

    void write(const std::string& name, const std::string& content) {
        std::ofstream(dir_ / name, std::ios::binary) << content;
    }

    void freeTexts() {
        char** texts[] = {&fm.textFilename,      &fm.controlMap,          &fm.soundList,        &fm.viewList,
                          &fm.particleSystem,    &fm.environmentSystem,   &fm.messageSystem,    &fm.speechSystem,
                          &fm.chatTextFile,      &fm.forceFeedback,       &fm.forceFeedbackControl,
                          &fm.hudModulePath,     &fm.hudDataFilename,     &fm.commModulePath,   &fm.commDataFilename,
                          &fm.startView,         &fm.ejectView,           &fm.skipToNextView,   &fm.autoPilotCommand,
                          &fm.zoomControl,       &fm.cursorString};
        for (char** text : texts) kv::strFree(text);
    }

    const std::filesystem::path& dir() const { return dir_; }

    kv::FlightModule& fm = kv::flightModule();

private:
    std::filesystem::path dir_;
    std::filesystem::path previous_;
};

}  // namespace kvtest
