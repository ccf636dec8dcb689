#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "entry/module_entry.h"
#include "sim/host/module_driver.h"
#include "sim/host/sim_host.h"

namespace {

namespace fs = std::filesystem;
using kvsim::Json;

std::vector<Json> traceLines(const kvsim::CallLog& log) {
    std::ostringstream out;
    log.writeJsonLines(out);
    std::istringstream in(out.str());
    std::vector<Json> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(Json::parse(line));
    return lines;
}

TEST(SimTrace, WritesEveryCallAsOneJsonLine) {
    kvsim::SimHost host;
    kvsim::ModuleDriver driver{host, kvsim::ModuleEntryPoints{InitDLL, ExitDLL}};
    driver.initDll(9);
    driver.setRunState(2);
    driver.setRunState(0);
    driver.exitDll();

    const auto lines = traceLines(host.log());
    ASSERT_EQ(lines.size(), host.log().records().size());
    EXPECT_EQ(lines.front().dump(), R"({"host":"InitDLL","args":[9,"shell:1"]})");
    EXPECT_EQ(lines[1].dump(), R"({"op":"GetInterface","args":["DBG","DBG:1"],"ret":1})");
    bool sawRegistration = false;
    for (const Json& line : lines) {
        ASSERT_EQ(line.contains("op") + line.contains("host") + line.contains("trace"), 1) << line.dump();
        if (line.value("op", "") == "RegisterModule") {
            EXPECT_EQ(line["args"], Json::parse(R"(["FLT","module:1",9])"));
            sawRegistration = true;
        }
    }
    EXPECT_TRUE(sawRegistration);
    EXPECT_NE(std::find(lines.begin(), lines.end(), Json::parse(R"({"host":"ExitDLL","args":[]})")), lines.end());
    EXPECT_EQ(lines.back().dump(), R"({"op":"ReleaseInterface","args":["DBG"],"ret":1})");
}

TEST(SimTrace, RealsRoundTripAndOddBytesNeverBreakTheTrace) {
    kvsim::CallLog log;
    log.returns(log.call("clkGetFrameTime"), 1.0f / 30.0f);
    log.call("msgShowText", kvsim::Text{"caf\xE9 \xFF"}, kvsim::Text{nullptr});
    const auto lines = traceLines(log);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(static_cast<float>(lines[0]["ret"].get<double>()), 1.0f / 30.0f);
    EXPECT_TRUE(lines[1]["args"][0].is_string());
    EXPECT_TRUE(lines[1]["args"][1].is_null());
}

TEST(SimShell, HandlesAreNumberedPerKindAndReleasesMustMatch) {
    kvsim::SimHost host;
    kvsim::CallLog& log = host.log();
    int a = 0, b = 0;
    EXPECT_EQ(log.handle(&a, "camera"), "camera:1");
    EXPECT_EQ(log.handle(&b, "camera"), "camera:2");
    EXPECT_EQ(log.handle(&a, "camera"), "camera:1");
    EXPECT_EQ(log.handle(&a, "image"), "image:1") << "a reused address of another kind is new";
    EXPECT_TRUE(log.handle(nullptr, "camera").is_null());

    void* slot = nullptr;
    EXPECT_EQ(host.shell.ReleaseInterface("GFX", &slot), 0) << "never handed out";
    EXPECT_EQ(host.shell.GetInterface("GFX", &slot), 1);
    EXPECT_NE(slot, nullptr);
    EXPECT_EQ(host.shell.held("GFX"), 1);
    EXPECT_EQ(host.shell.ReleaseInterface("GFX", &slot), 1);
    EXPECT_EQ(host.shell.ReleaseInterface("GFX", &slot), 0) << "released twice";
    host.shell.remove("NET");
    slot = &a;
    EXPECT_EQ(host.shell.GetInterface("NET", &slot), 0);
    EXPECT_EQ(slot, nullptr) << "an absent tag fills the slot with null";
    EXPECT_EQ(host.shell.GetInterface("XYZ", &slot), 0);
}

TEST(SimMemory, CountsOwnersAndRefusesForeignBlocks) {
    kvsim::SimHost host;
    void* a = host.memory.memAlloc(16, 0, 0, "FLT");
    void* b = host.memory.memAlloc(0, 0, 0, "FLT");
    void* c = host.memory.memAlloc(8, 0, 0, "HUD");
    ASSERT_TRUE(a && b && c);
    EXPECT_EQ(host.memory.liveBlocks("FLT"), 2);
    int local = 0;
    host.memory.memFree(&local);
    host.memory.memFree(nullptr);
    EXPECT_EQ(host.state.refusedFrees, 2);
    host.memory.memFree(a);
    host.memory.memFree(a);
    EXPECT_EQ(host.state.refusedFrees, 3) << "a double free is refused";
    host.memory.memReleaseOwner("FLT");
    EXPECT_EQ(host.memory.liveBlocks("FLT"), 0);
    EXPECT_EQ(host.memory.liveBlocks("HUD"), 1);
    EXPECT_EQ(host.memory.memAlloc(-1, 0, 0, "FLT"), nullptr);
}

TEST(SimFileManager, ReadsRealFilesByModulePathsWithoutRegardToCase) {
    const fs::path root = fs::temp_directory_path() / "korvane-sim-files";
    fs::remove_all(root);
    fs::create_directories(root / "Flights" / "Training");
    std::ofstream(root / "Flights" / "Training" / "Startup.INI", std::ios::binary) << "[Flight]\r\n";
    const fs::path before = fs::current_path();
    fs::current_path(root);

    kvsim::SimHost host;
    kv::FileManagerInterface& fmg = host.fileManager;
    EXPECT_EQ(fmg.fmgFileExists("flights\\TRAINING\\startup.ini", 0), 1);
    EXPECT_EQ(fmg.fmgFileExists(".\\Flights\\Training\\Startup.INI", 0), 1);
    EXPECT_EQ(fmg.fmgFileExists("Flights\\Training", 0), 0) << "a folder is not a file";
    EXPECT_EQ(fmg.fmgFileExists("Flights\\Missing.ini", 0), 0);
    EXPECT_EQ(fmg.fmgFileExists("", 0), 0);
    EXPECT_EQ(fmg.fmgFileExists(nullptr, 0), 0);
    EXPECT_EQ(fmg.fmgGetFileSize("FLIGHTS\\training\\STARTUP.ini"), 10);

    const int32_t handle = fmg.fmgOpenFile("flights\\training\\startup.ini", 0);
    ASSERT_GT(handle, 0);
    char buffer[32] = {};
    EXPECT_EQ(fmg.fmgReadFile(handle, buffer, sizeof buffer), 10);
    EXPECT_EQ(std::string(buffer), "[Flight]\r\n");
    EXPECT_EQ(fmg.fmgReadFile(handle, buffer, sizeof buffer), 0);
    fmg.fmgCloseFile(handle);
    EXPECT_EQ(fmg.fmgReadFile(handle, buffer, sizeof buffer), 0) << "a closed handle reads nothing";
    EXPECT_EQ(fmg.fmgOpenFile("nothing.ini", 0), -1);

    // Push and pop bring the working directory back.
    fmg.fmgPushDirectory();
    fs::current_path(root / "Flights");
    fmg.fmgPopDirectory();
    EXPECT_EQ(fs::canonical(fs::current_path()), fs::canonical(root));
    fmg.fmgPopDirectory();  // one pop too many is harmless

    fs::current_path(before);
    fs::remove_all(root);
}

TEST(SimGraphics, CamerasAreDistinctWithTheirOwnParameters) {
    kvsim::SimHost host;
    kv::Camera* first = host.front<kv::GraphicsInterface>().gfxCreateCamera(0);
    kv::Camera* second = host.front<kv::GraphicsInterface>().gfxCreateCamera(1);
    ASSERT_NE(first, second);
    kv::CameraParams* p1 = nullptr;
    kv::CameraParams* p2 = nullptr;
    first->cameraGetParams(&p1);
    second->cameraGetParams(&p2);
    ASSERT_TRUE(p1 && p2);
    EXPECT_NE(p1, p2);
    p1->fieldOfView = 30.0f;
    EXPECT_NE(p2->fieldOfView, 30.0f);
    EXPECT_EQ(host.log().records()[0].result, "camera:1");
    EXPECT_EQ(host.log().records()[1].result, "camera:2");
    host.front<kv::GraphicsInterface>().gfxDestroyCamera(&first);
    EXPECT_EQ(first, nullptr);
}

}  // namespace

namespace {

std::vector<std::string> opsOf(const kvsim::CallLog& log) {
    std::vector<std::string> ops;
    for (const auto& record : log.records()) ops.push_back(record.op);
    return ops;
}

}  // namespace

// Before any view is chosen the views look from the player's object, the
// one the module set, whatever its id.
TEST(SimViews, BeforeAViewIsChosenTheViewLooksFromThePlayersObject) {
    kvsim::Scenario scenario;
    scenario.playerObject = 7;
    kvsim::SimHost host(scenario);
    kv::ObjectsInterface& objects = host.front<kv::ObjectsInterface>();
    kv::ViewsInterface& views = host.front<kv::ViewsInterface>();
    objects.objInitObjects();
    objects.objSetPlayerObject(7);
    host.objects.objects.at(7)->position[0] = 123.0;
    EXPECT_EQ(views.vmgGetViewObject(), 7);
    double position[3] = {};
    views.vmgGetViewPosition(position);
    EXPECT_EQ(position[0], 123.0);
    EXPECT_EQ(position[2], 1000.0);
    objects.objSetPlayerObject(-1);
    EXPECT_EQ(views.vmgGetViewObject(), -1) << "no player object, no object to look from";
}

// The module's calls on the objects an interface hands out go through
// fronts of their own: recorded, then passed to the simulation's object;
// handed back, the simulation gets its own object again.
TEST(RecordingLayer, ObjectsHandedOutAreRecordedAndHandedBackUnwrapped) {
    kvsim::SimHost host;
    kv::GraphicsInterface& graphics = host.front<kv::GraphicsInterface>();
    kv::Camera* camera = graphics.gfxCreateCamera(0);
    ASSERT_NE(camera, nullptr);
    ASSERT_EQ(host.graphics.cameras.size(), 1u);
    kvsim::SimCamera* simulated = host.graphics.cameras[0].get();
    EXPECT_NE(camera, static_cast<kv::Camera*>(simulated)) << "the module gets a front";

    const double position[3] = {1.0, 2.0, 3.0};
    camera->cameraSetPosition(position);
    EXPECT_EQ(simulated->position[1], 2.0) << "passed on to the simulation's camera";
    kv::CameraParams* params = nullptr;
    camera->cameraGetParams(&params);
    EXPECT_EQ(params, &simulated->params);
    params->fieldOfView = 45.0f;
    graphics.gfxSetCamera(camera);
    camera->cameraApply();
    graphics.gfxApplyCamera();
    EXPECT_EQ(simulated->applied.fieldOfView, 45.0f);

    // A camera the module never asked the parameters of has none to show.
    kv::Camera* other = graphics.gfxCreateCamera(1);
    graphics.gfxSetCamera(other);
    graphics.gfxDestroyCamera(&other);
    EXPECT_EQ(other, nullptr);
    graphics.gfxApplyCamera();

    graphics.gfxDestroyCamera(&camera);
    EXPECT_EQ(camera, nullptr);
    EXPECT_TRUE(host.graphics.cameras.empty()) << "the simulation got its own camera back";

    const std::vector<Json> lines = traceLines(host.log());
    ASSERT_EQ(lines.size(), 11u);
    EXPECT_EQ(lines[0].dump(), R"({"op":"gfxCreateCamera","args":[0],"ret":"camera:1"})");
    EXPECT_EQ(lines[1].dump(), R"({"op":"cameraSetPosition","args":[[1.0,2.0,3.0]]})");
    EXPECT_EQ(lines[2].dump(), R"({"op":"cameraGetParams","args":[]})");
    EXPECT_EQ(lines[3]["args"][0], "camera:1");
    EXPECT_EQ(lines[3]["args"][1]["fieldOfView"], 45.0);
    EXPECT_EQ(lines[4]["op"], "cameraApply");
    EXPECT_EQ(lines[4]["args"][0]["fieldOfView"], 45.0);
    EXPECT_EQ(lines[5]["op"], "gfxApplyCamera");
    EXPECT_EQ(lines[5]["args"][0]["fieldOfView"], 45.0) << "the camera gfxSetCamera selected";
    EXPECT_EQ(lines[6].dump(), R"({"op":"gfxCreateCamera","args":[1],"ret":"camera:2"})");
    EXPECT_EQ(lines[7].dump(), R"({"op":"gfxSetCamera","args":["camera:2",null]})");
    EXPECT_EQ(lines[8].dump(), R"({"op":"gfxDestroyCamera","args":["camera:2"]})");
    EXPECT_EQ(lines[9].dump(), R"({"op":"gfxApplyCamera","args":[null]})") << "the selected camera went";
    EXPECT_EQ(lines[10].dump(), R"({"op":"gfxDestroyCamera","args":["camera:1"]})");

    // Object interfaces come out of their slot behind fronts too.
    host.log().clear();
    kv::ObjectsInterface& objects = host.front<kv::ObjectsInterface>();
    objects.objInitObjects();
    void* body = nullptr;
    ASSERT_EQ(objects.objGetObjectInterface(1, kv::kBodyKind, &body), 1);
    double at[3] = {};
    static_cast<kv::Body*>(body)->bodyGetPosition(at);
    EXPECT_EQ(at[2], 1000.0);
    kv::GameObject* object = objects.objGetObject(1);
    EXPECT_EQ(objects.objGetObject(1), object) << "one front per object";
    void* aircraft = nullptr;
    object->objectGetInterface(kv::kAircraftKind, &aircraft);
    EXPECT_EQ(opsOf(host.log()), (std::vector<std::string>{"objInitObjects", "objGetObjectInterface", "bodyGetPosition",
                                                             "objGetObject", "objGetObject", "objectGetInterface"}));
}
