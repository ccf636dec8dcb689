// korvane-ini lint through its library entry point: where findings point
// (files, lines, includes), what they say, and that the module, flying the
// broken example flight, does what each value finding says it will.
#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/flight_module.h"
#include "entry/module_entry.h"
#include "sim/host/module_driver.h"
#include "sim/host/sim_host.h"
#include "tests/sim/scratch_folder.h"
#include "tools/lint.h"

namespace {

std::string lint(const std::string& options = "") { return kvtool::lintFlight({"flight.ini", "", options}).plain(); }

// The lines of text that contain part, each once.
std::vector<std::string> linesWith(const std::string& text, const std::string& part) {
    std::vector<std::string> found;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        const std::string line = text.substr(start, end - start);
        if (line.find(part) != std::string::npos) found.push_back(line);
        start = end == std::string::npos ? text.size() : end + 1;
    }
    return found;
}

TEST(Lint, LinesCountAsEditorsCountThemWhateverTheLineEnds) {
    const std::string expected =
        "flight.ini:4: warning: DeltaT=0 cannot be used; the module takes the default 0.1 instead\n"
        "flight.ini:6: warning: duplicate key deltat is dropped; the one at line 4 wins\n";
    const char* const ends[] = {"\n", "\r\n", "\r"};
    for (const char* end : ends) {
        for (const char* start : {"", "\xEF\xBB\xBF"}) {
            kvtest::ScratchFolder folder("lint-line-ends");
            const std::string e = end;
            folder.write("flight.ini", std::string(start) + "; a comment" + e + e + "[Korvane]" + e + "DeltaT=0" + e +
                                           "   " + e + "deltat=0.05" + e);
            EXPECT_EQ(lint(), expected) << "line end " << static_cast<int>(end[0]) << (*start ? " with a mark" : "");
        }
    }
}

TEST(Lint, FindingsInIncludesNameTheIncludedFileAndEveryIncludeThatFails) {
    kvtest::ScratchFolder folder("lint-includes");
    folder.write("flight.ini",
                 "#include \"sub dir.ini\"\n#include absent.ini\n#include chain1.ini\n#include again.ini\n"
                 "#include big.ini\n[Korvane]\nDeltaT=1\n");
    // Included from the flight directory, not from the including file's
    // folder, and read after the including file: its [Korvane] is dropped.
    folder.write("sub dir.ini", "[SoundSettings]\n\nBitsPerSample=16bit\n#include .\\flight.ini\n[KORVANE]\n");
    // A second directive of the same name closing a cycle is found at its own place.
    folder.write("again.ini", "; again\n#include .\\flight.ini\n");
    // A chain deeper than the document follows.
    for (int i = 1; i <= 40; ++i)
        folder.write("chain" + std::to_string(i) + ".ini", "#include chain" + std::to_string(i + 1) + ".ini\n");
    // More than the start-up document keeps room for.
    const std::string big = "[WorldSettings]\nBorder=1\n" + std::string(70000, ';') + "\nSectorWidth=x\n";
    folder.write("big.ini", big);
    const std::string findings = lint();
    EXPECT_EQ(linesWith(findings, "sub dir.ini"),
              (std::vector<std::string>{
                  "sub dir.ini:3: warning: BitsPerSample=16bit has trailing text \"bit\"; it reads as 16",
                  "sub dir.ini:4: error: include \".\\flight.ini\" closes a cycle: the file is already being read",
                  "sub dir.ini:5: warning: duplicate section [KORVANE] is dropped; the one at flight.ini:6 wins"}));
    EXPECT_EQ(linesWith(findings, "again.ini:"),
              std::vector<std::string>{
                  "again.ini:2: error: include \".\\flight.ini\" closes a cycle: the file is already being read"});
    EXPECT_EQ(linesWith(findings, "absent.ini"),
              std::vector<std::string>{"flight.ini:2: error: include \"absent.ini\" cannot be opened: the flight "
                                       "directory does not hold it"});
    EXPECT_EQ(linesWith(findings, "deep"),
              std::vector<std::string>{"chain31.ini:1: error: include \"chain32.ini\" nests more than 32 files deep"});
    const std::vector<std::string> cut = linesWith(findings, "big.ini");
    ASSERT_EQ(cut.size(), 1u) << findings;
    EXPECT_EQ(cut[0].rfind("flight.ini:5: error: include \"big.ini\" is cut after ", 0), 0u) << cut[0];
    EXPECT_NE(cut[0].find("of its " + std::to_string(big.size()) + " bytes: a start-up file's includes share 61440 bytes"),
              std::string::npos);
    EXPECT_EQ(linesWith(findings, "SectorWidth"), std::vector<std::string>{}) << "the cut-off line is not read";
}

TEST(Lint, UnknownNamesGetTheNearestKnownOneAndEveryKnownSpellingPasses) {
    kvtest::ScratchFolder folder("lint-names");
    folder.write("flight.ini",
                 "[korvane]\nMaxDeltaTime=0.5\nDeltaT=0.05\nSoundLists=a\nRadar=1\n=5\n"
                 "[Graphic]\nZBufferDepth=16\n"
                 "[Korvane Settings]\n"
                 "[StartView]\nStartView007=Chase\nStartView-01=Chase\nStartView7=Chase\n"
                 "[MedDetailOption]\nMaxTextureRes=256\nWaterEffect=1\nDetailLevl=2\n"
                 "[LoadingScreen]\nTextBold=TRUE\nFadeTime=1\nTextFontColour=1,1,1\n"
                 "[GraphicsSettings]\nTextSize=12\n");
    EXPECT_EQ(lint(),
              "flight.ini:2: warning: the module never reads MaxDeltaTime in [korvane]; did you mean MaxDeltaT?\n"
              "flight.ini:4: warning: the module never reads SoundLists in [korvane]; did you mean SoundList?\n"
              "flight.ini:5: warning: the module never reads Radar in [korvane]\n"
              "flight.ini:6: warning: a key without a name is never read\n"
              "flight.ini:7: warning: the module never reads section [Graphic]; did you mean [GraphicsSettings]?\n"
              "flight.ini:9: warning: the module never reads section [Korvane Settings]; did you mean [Korvane]?\n"
              "flight.ini:13: warning: the module never reads StartView7 in [StartView]; did you mean StartView000?\n"
              "flight.ini:17: warning: the module never reads DetailLevl in [MedDetailOption]; did you mean "
              "DetailLevel?\n"
              "flight.ini:21: warning: the module never reads TextFontColour in [LoadingScreen]; did you mean "
              "TextFontColor?\n"
              "flight.ini:23: warning: the module never reads TextSize in [GraphicsSettings]; it reads it in "
              "[LoadingScreen]\n");
}

// Each value is read with the document's own getter: what a finding says
// it reads as is what the module gets.
TEST(Lint, ValuesThatDoNotReadAsWrittenNameWhatTheModuleTakes) {
    kvtest::ScratchFolder folder("lint-values");
    folder.write("flight.ini",
                 "[Debug]\nSkipFlight=true\n"
                 // A number, however large, is a boolean the module reads.
                 "[Korvane]\nStartPaused=-3\nShowCockpit=99999999999\nChangeTimeAmount=0x10\n"
                 // Ordered as the module uses them: after the default replaced nan.
                 "StartTimeCompression=nan\nMaxTimeCompression=0.5\nDeltaT=abc\nMaxDeltaT=\n"
                 "[GraphicsSettings]\nZBufferDepth=32\nMaxVertexCount=99999999999\n"
                 "[NearSceneClip]\nFarClipDistance=1\nNearClipDistance=1\n"
                 "[LoadingScreen]\nProgressBarRect=1,2,3\nTextFontColor=1,1\nLoopAudio=\nFadeTime=0.5s\n"
                 "BackgroundImageSize=320,240\n");
    EXPECT_EQ(lint(),
              "flight.ini:6: warning: ChangeTimeAmount=0x10 has trailing text \"x10\"; it reads as 0\n"
              "flight.ini:7: warning: StartTimeCompression=nan cannot be used; the module takes the default 1 "
              "instead\n"
              "flight.ini:7: warning: StartTimeCompression 1 is above MaxTimeCompression 0.5 in [Korvane]\n"
              "flight.ini:9: warning: DeltaT=abc is not a number; it reads as 0\n"
              "flight.ini:9: warning: DeltaT=abc cannot be used; the module takes the default 0.1 instead\n"
              "flight.ini:10: warning: MaxDeltaT has no value; it reads as 0\n"
              "flight.ini:10: warning: MaxDeltaT= cannot be used; the module takes the default 0.2 instead\n"
              "flight.ini:13: warning: MaxVertexCount=99999999999 does not fit 32 bits; it reads as 2147483647\n"
              "flight.ini:15: warning: FarClipDistance 1 is not beyond NearClipDistance 1 in [NearSceneClip]\n"
              "flight.ini:18: warning: ProgressBarRect=1,2,3 is not four numbers with commas between; it reads as "
              "0,0,0,0\n"
              "flight.ini:19: warning: TextFontColor=1,1 is not three or four numbers with commas between; it is "
              "not used\n"
              "flight.ini:20: warning: LoopAudio has no value; it reads as FALSE\n"
              "flight.ini:21: warning: FadeTime=0.5s has trailing text \"s\"; it reads as 0.5\n");
}

TEST(Lint, NamesFoundAsTheModuleAndItsFileManagerFindThem) {
    kvtest::ScratchFolder folder("lint-files");
    folder.write("Modules/Hud.dll", "module");
    folder.write("Data/Sounds.LST", "sounds");
    folder.write("text/strings.ini", "[Strings]\nPaused=Paused\nFactor=x%d (%s)\n");
    folder.write("flight.ini",
                 // Found: the module adds ".DLL", names match without regard to case.
                 "[Korvane]\nHUDDLL=modules\\hud\nSoundList=data\\sounds.lst\nCommDLL=\nViewList=Data/Sounds.lst\n"
                 "[ScreenShot]\nFilenameFormat=shot.pgm\n"
                 // Strings named before any string table are not looked up.
                 "[TextStrings]\nGamePaused=Paused\n"
                 "[LoadingScreen]\nTextFile=text\\strings.ini\nLoadingTextStringID=paused\n"
                 "PercentTextStringID=Factor\n");
    EXPECT_EQ(lint(),
              "flight.ini:7: warning: FilenameFormat \"shot.pgm\" holds no number: every screenshot takes the same "
              "name, so only the first is written\n"
              "flight.ini:9: warning: GamePaused is not looked up: no string table is named before it\n"
              "flight.ini:13: warning: PercentTextStringID names the string \"Factor\", whose text \"x%d (%s)\" the "
              "module shows as plain text (at most one real conversion)\n");
}

TEST(Lint, ThePlayersLevelsSelectTheDetailSectionsAndTheControlMap) {
    kvtest::ScratchFolder folder("lint-options");
    folder.write("keys.map", "map");
    folder.write("flight.ini", "[HighDetailOption]\nHorizonDistance=1\n");
    // No TerrainDetail key: level 0, so LowDetailOption.
    folder.write("options.ini",
                 "[GraphicsOptions]\nHorizonDistance=2\nObjectTexture=1\nTerrainTexture=1\nCockpitTexture=2\n"
                 "[ControlOptions]\nControlMap=KEYS.MAP\n");
    EXPECT_EQ(lint("options.ini"),
              "options.ini:1: warning: the player's TerrainDetail 0 selects [LowDetailOption], which the start-up "
              "file lacks: DetailLevel, WaterEffect and NoiseTexture take their defaults\n"
              "options.ini:3: warning: the player's ObjectTexture 1 selects [MedDetailOption], which the start-up "
              "file lacks: MaxTextureRes takes its default\n"
              "options.ini:4: warning: the player's TerrainTexture 1 selects [MedDetailOption], which the start-up "
              "file lacks: MaxTextureRes takes its default\n");
}

TEST(Lint, UnreadableFilesAndFoldersAreFailuresNotFindings) {
    kvtest::ScratchFolder folder("lint-failures");
    folder.write("flight.ini", "[Korvane]\n");
    const auto failure = [](const kvtool::LintRequest& request) {
        try {
            kvtool::lintFlight(request);
        } catch (const kvtool::LintFailure& failure) {
            return failure.message;
        }
        return std::string("no failure");
    };
    EXPECT_EQ(failure({"absent.ini", "", ""}), "no such file: absent.ini");
    EXPECT_EQ(failure({"flight.ini", "", "absent.ini"}), "no such file: absent.ini");
    EXPECT_EQ(failure({"flight.ini", "nowhere", ""}), "no such flight directory: nowhere");
    EXPECT_EQ(kvtool::lintFlight({"flight", "", ""}).plain(), "") << "the document adds .INI";
    EXPECT_EQ(std::filesystem::current_path(), folder.path()) << "the caller's folder comes back";
}

// Every value finding names the row and the value the engine ends up
// with; flying the flight shows the module takes exactly that value.
TEST(LintAgreesWithTheModule, TheBrokenFlightFliesWithEveryValueTheLinterNamed) {
    const std::string flight = KORVANE_LINT_DATA "/lint-broken";
    const kvtool::LintReport report = kvtool::lintFlight({flight + "/flight.ini", "", flight + "/options.ini"});
    std::vector<const kvtool::Finding*> values;
    std::vector<std::string> kinds;
    for (const kvtool::Finding& finding : report.findings()) {
        if (!finding.row || !finding.row->field) continue;
        values.push_back(&finding);
        kinds.push_back(finding.kind);
    }
    for (const char* kind : {"value", "default-taken", "order", "choice"})
        EXPECT_NE(std::find(kinds.begin(), kinds.end(), std::string(kind)), kinds.end()) << kind;

    kvsim::Scenario scenario;
    scenario.events[3] = {"EXIT_FLIGHT"};
    kvsim::SimHost host{scenario};
    kvsim::ModuleDriver driver{host, kvsim::ModuleEntryPoints{InitDLL, ExitDLL}};
    driver.initDll(0);
    ASSERT_EQ(driver.fly(flight.c_str(), "flight.ini"), 0) << "the broken flight loads and flies";
    kv::FlightModule& engine = kv::flightModule();
    for (const kvtool::Finding* finding : values) {
        const kv::StartupRow& row = *finding->row;
        const kv::StartupField field = row.field(engine);
        const double used = row.read == kv::StartupRead::kReal ? kv::startupRealValue(field)
                                                               : kv::startupIntValue(field);
        EXPECT_EQ(used, finding->valueUsed) << finding->message;
    }
    driver.exitDll();
}

}  // namespace
