// The host program as a user meets it: scripts, standard input, bad command lines, bad
// scripts and modules that cannot be loaded.
#include <gif_lib.h>
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "standin/host/core/session.h"
#include "standin/host/view/render.h"
#include "standin/win32/png.h"
#include "testing/TempDir.h"

namespace {

struct HostRun {
  int status = -1;
  std::string out, err;
};

std::string Slurp(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// Runs the host with arguments (already shell-quoted) and optional standard input.
HostRun Host(const tovutest::TempDir& dir, const std::string& args, const std::string& input = "",
             const std::string& env = "") {
  const auto in = dir.Write("stdin.txt", input);
  const std::string command = env + " '" TOVU_HOST_EXE "' " + args + " <'" + in.string() + "' >'" +
                              (dir / "out.txt").string() + "' 2>'" + (dir / "err.txt").string() + "'";
  const int raw = std::system(command.c_str());
  HostRun r;
  r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  r.out = Slurp(dir / "out.txt");
  r.err = Slurp(dir / "err.txt");
  return r;
}

TEST(TovuHost, RunsAScriptAndPrintsTheTranscript) {
  tovutest::TempDir dir;
  const auto script = dir.Write("demo.tovu", "; comment\nsample\nnosuch\nunload\nsample\nload\n\n");
  const HostRun r = Host(dir, "'" + script.string() + "'");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out,
            "\nCommand: sample\nCommand: nosuch\nUnknown command \"NOSUCH\".  Press F1 for help."
            "\nCommand: unload\nCommand: sample\nUnknown command \"SAMPLE\".  Press F1 for help."
            "\nCommand: load\nCommand: \nAcRxDynamicLinker failed to load '" +
                std::filesystem::canonical(TOVU_MODULE_FILE).string() +
                "': the application is loaded already\nCommand: \n");  // Enter repeated "load"
}

TEST(TovuHost, TakesStandardInputLineByLine) {
  tovutest::TempDir dir;
  HostRun r = Host(dir, "-", "sample\r\n");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "\nCommand: sample\nCommand: \n");

  // A malformed line ends the run there, with its line number.
  r = Host(dir, "", "sample\n<point 1>\nsample\n");
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("<stdin>:2: expected <point x,y[,z]>"), std::string::npos) << r.err;
  EXPECT_EQ(r.out, "\nCommand: sample\nCommand: \n");

  // Standard input is held to the rules of script files: a NUL, or a line longer than 1 MiB,
  // ends the run as malformed text does.
  r = Host(dir, "-", std::string("sample\nsam\0ple\nsample\n", 20));
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("<stdin>:2: the line holds a NUL character"), std::string::npos) << r.err;
  EXPECT_EQ(r.out, "\nCommand: sample\nCommand: \n");
  r = Host(dir, "-", "sample\n" + std::string((1 << 20) + 1, 'x') + "\nsample\n");
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("<stdin>:2: the line is longer than 1 MiB"), std::string::npos) << r.err;
}

TEST(TovuHost, BadScriptsRunNothing) {
  tovutest::TempDir dir;
  const auto bad = dir.Write("bad.tovu", "sample\nsample\n<pick zz>\n<warp>\n");
  HostRun r = Host(dir, "'" + bad.string() + "'");
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("bad.tovu:3: expected a hexadecimal entity handle"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("bad.tovu:4: unknown input directive <warp>"), std::string::npos) << r.err;
  EXPECT_EQ(r.out, "");

  const auto binary = dir.Write("binary.tovu", std::string("sample\n\xFF\xFE\x00x\n", 10));
  r = Host(dir, "'" + binary.string() + "'");
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("binary.tovu:2: the line is not UTF-8 text"), std::string::npos) << r.err;

  r = Host(dir, "'" + (dir / "missing.tovu").string() + "'");
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("cannot read the script"), std::string::npos) << r.err;

  r = Host(dir, "'" + dir.path().string() + "'");  // a folder is no script
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.out, "");
}

TEST(TovuHost, BadCommandLinesAndModules) {
  tovutest::TempDir dir;
  HostRun r = Host(dir, "--help");
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("Usage: tovu-host"), std::string::npos);

  r = Host(dir, "--bogus");
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("unknown option --bogus"), std::string::npos);
  r = Host(dir, "a.tovu b.tovu");
  EXPECT_EQ(r.status, 2);
  r = Host(dir, "--module");
  EXPECT_EQ(r.status, 2);

  r = Host(dir, "--module '" + (dir / "none.arx").string() + "'", "sample\n");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("no such file"), std::string::npos) << r.out;
  EXPECT_NE(r.err.find("could not be loaded"), std::string::npos);

  r = Host(dir, "--module '" TOVU_FIXTURE_MODULE "'", "sample\n");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("not an application module"), std::string::npos) << r.out;

  // Each wrong file gets its own message and status 2, before anything runs.
  const std::string folder = dir.path().string();
  const std::pair<std::string, std::string> wrong[] = {
      {"--drawing ''", "the drawing has an empty name"},
      {"--drawing '" + folder + "'", "is a folder, not a file"},
      {"--drawing '" + folder + "/none.dxf'", "No such file or directory"},
      {"'" + folder + "'", "the script " + folder + " is a folder"},
      {"preview '" + folder + "/none.png'", "cannot read the file " + folder + "/none.png: No such file"}};
  for (const auto& [args, message] : wrong) {
    r = Host(dir, args, "sample\n");
    EXPECT_EQ(r.status, 2) << args;
    EXPECT_NE(r.err.find(message), std::string::npos) << args << ": " << r.err;
    EXPECT_EQ(r.out.find("Command:"), std::string::npos) << args;
  }
}

TEST(TovuHost, APickOfAMissingEntityIsAnErrorOfItsLine) {
  tovutest::TempDir dir;
  // Not a click at 0,0 that opens a window: the run ends there, with the line.
  const auto script = dir.Write("pick.tovu", "list\n<pick FFFF>\n<point 1000,1000>\n<enter>\nsample\n");
  HostRun r = Host(dir, "'" + script.string() + "'");
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("pick.tovu:2: no entity of the drawing has the handle FFFF"), std::string::npos) << r.err;
  EXPECT_EQ(r.out.find("opposite corner"), std::string::npos) << r.out;
  EXPECT_EQ(r.out.find("sample"), std::string::npos) << "nothing after the faulty line runs: " << r.out;
  r = Host(dir, "-", "list\n<pick 27>\n\n<pick 1234>\nsample\n");
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("<stdin>:4: no entity of the drawing has the handle 1234"), std::string::npos) << r.err;
  EXPECT_NE(r.out.find("1 found"), std::string::npos) << "an existing entity is picked: " << r.out;

  const std::filesystem::path hostile = std::filesystem::path(TOVU_SOURCE_DIR) /
                                        "../shared/testdata/hostile/script_pick_missing_handle_selects_window.tovu";
  if (!std::filesystem::exists(hostile)) GTEST_SKIP() << "no shared test data at " << hostile;
  r = Host(dir, "'" + hostile.string() + "'");
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find(":2: no entity of the drawing has the handle FFFF"), std::string::npos) << r.err;
}

// The demo as a user runs it: the doors blink on the timer while DELAY waits, the journal shows
// each step with its time, and the unload records the profile the host has.
TEST(TovuHost, FlickerDemoWithJournalDelayAndProfile) {
  tovutest::TempDir dir;
  const std::string registry = (dir / "registry.reg").string();
  const std::string env = "TOVU_REGISTRY='" + registry + "'";
  HostRun r = Host(dir, "--journal --profile '<<未命名配置>>' '" TOVU_SOURCE_DIR "/examples/demo.tovu'", "", env);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("选择闪烁对象1 found, 2 total"), std::string::npos) << r.out;
  // The times are the machine's: only the order of hiding and showing is certain.
  const size_t hidden = r.out.find(" s] redraw 1C undraw (hidden)");
  ASSERT_NE(hidden, std::string::npos) << r.out;
  EXPECT_NE(r.out.find(" s] redraw 1C draw (shown)", hidden), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("timer stop"), std::string::npos);
  EXPECT_NE(Slurp(registry).find("@=\"<<未命名配置>>\""), std::string::npos) << Slurp(registry);

  // DELAY asks again for anything but a whole number of milliseconds up to 32767.
  r = Host(dir, "-", "delay\n-1\n40000\n1.5\n10\n", env);
  EXPECT_EQ(r.status, 0) << r.err;
  size_t refusals = 0;
  for (size_t at = r.out.find("Requires an integer"); at != std::string::npos; at = r.out.find("Requires an integer", at + 1))
    ++refusals;
  EXPECT_EQ(refusals, 3u) << r.out;
  EXPECT_EQ(Host(dir, "--profile 'a\\b' -", "", env).status, 2);

  // Once the module and the family's libraries it brought are unloaded, text typed at the host's
  // own selection reaches nothing of theirs.
  r = Host(dir, "-", "ZoFlicker\n<esc>\nunload\nlist\nfoo\n<enter>\n", env);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("*Invalid selection*"), std::string::npos) << r.out;
}

TEST(TovuHost, LanguageFromTheEnvironment) {
  tovutest::TempDir dir;
  HostRun r = Host(dir, "", "sample\n", "TOVU_LANG=../etc");
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.err.find("is no language code"), std::string::npos) << r.err;

  r = Host(dir, "", "sample\n", "TOVU_LANG=xx TOVU_LANG_DIR='" + dir.path().string() + "'");
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.err.find("no dictionaries for \"xx\""), std::string::npos) << r.err;

  r = Host(dir, "", "sample\n", "TOVU_LANG=en");  // the shipped dictionary loads without complaint
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
}

}  // namespace

namespace {

// A drawing of another writer is what the session holds; picks before a command and at its
// prompt reach its entities, and an unreadable drawing stops the host before anything runs.
TEST(TovuHost, HoldsTheDrawingItIsGiven) {
  tovutest::TempDir dir;
  const std::string plan = std::string(TOVU_SOURCE_DIR) + "/standin/host/drawing/testdata/plan_r2000.dxf";
  HostRun r = Host(dir, "--drawing '" + plan + "' -", "<pick 58>\nlist\nlist\n<pick 68>\n\n");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(
      r.out.find("\nLINE         Layer: \"WALL\"  Space: Model space  Handle = 58\nCommand: list\nSelect objects: "
                 "1 found\nSelect objects: \nTEXT"),
      std::string::npos)
      << r.out;

  // Without --drawing the session holds the sample floor plan.
  r = Host(dir, "-", "list\n<window 0,0 1000,1000>\n\n");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("13 found"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("LWPOLYLINE   Layer: \"FURNITURE\""), std::string::npos) << r.out;

  // An entity that cannot be kept is left out with a note; a file that cannot be followed is refused.
  const auto odd = dir.Write("odd.dxf", "0\nSECTION\n2\nENTITIES\n0\nCIRCLE\n40\n-1\n0\nENDSEC\n0\nEOF\n");
  r = Host(dir, "--drawing '" + odd.string() + "' -", "sample\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.err.find("odd.dxf:5: the CIRCLE is left out: it has no positive radius"), std::string::npos) << r.err;
  const auto bad = dir.Write("bad.dxf", "0\nSECTION\n2\nENTITIES\n0\nCIRCLE\n40\nwide\n0\nENDSEC\n0\nEOF\n");
  r = Host(dir, "--drawing '" + bad.string() + "' -", "sample\n");
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.out, "");
  EXPECT_NE(r.err.find("bad.dxf:8: group code 40 needs a finite number"), std::string::npos) << r.err;
  r = Host(dir, "--drawing");
  EXPECT_EQ(r.status, 2);
}

// tovu-host preview: the sample slide as PNG and as BMP, and what it refuses.
TEST(TovuHost, PreviewWritesPngAndBmp) {
  tovutest::TempDir dir;
  const std::string slide = std::string(TOVU_SOURCE_DIR) + "/examples/floorplan.sld";
  HostRun r = Host(dir, "preview '" + slide + "' -o '" + (dir / "plan.png").string() + "' --size 321x123");
  EXPECT_EQ(r.status, 0) << r.err;
  std::string png = Slurp(dir / "plan.png");
  ASSERT_GE(png.size(), 24u);
  EXPECT_EQ(png.substr(1, 3), "PNG");
  EXPECT_EQ(png.substr(16, 8), std::string("\0\0\x01\x41\0\0\0\x7b", 8));  // IHDR: 321 by 123

  // BMP through the module: 24 bits, rows of 900 bytes.
  r = Host(dir, "preview --highlight '" + slide + "' --size 300x200 -o '" + (dir / "plan.bmp").string() + "'");
  EXPECT_EQ(r.status, 0) << r.err;
  const std::string bmp = Slurp(dir / "plan.bmp");
  ASSERT_EQ(bmp.size(), 54u + 900u * 200u);
  EXPECT_EQ(bmp.substr(0, 2), "BM");
  // The highlight fill, blue-green-red 0xC0 0x80 0x00, reaches the middle of the bottom row.
  EXPECT_EQ(bmp.substr(54 + 3 * 150, 3), std::string("\xC0\x80\x00", 3));

  // Without -o: the file's name with .png in the current folder, 400 by 300.
  r = Host(dir, "preview '" + slide + "'", "", "cd '" + dir.path().string() + "' &&");
  EXPECT_EQ(r.status, 0) << r.err;
  png = Slurp(dir / "floorplan.png");
  ASSERT_GE(png.size(), 24u);
  EXPECT_EQ(png.substr(16, 8), std::string("\0\0\x01\x90\0\0\x01\x2c", 8));
  // A picture's preview never takes its place: without -o it gets a name of its own, and -o
  // naming the input itself is refused.
  std::filesystem::copy_file(dir / "floorplan.png", dir / "photo.png");
  const std::string photo = Slurp(dir / "photo.png");
  r = Host(dir, "preview photo.png", "", "cd '" + dir.path().string() + "' &&");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(Slurp(dir / "photo.png"), photo);
  EXPECT_TRUE(std::filesystem::exists(dir / "photo.preview.png"));
  r = Host(dir, "preview photo.png -o ./photo.png", "", "cd '" + dir.path().string() + "' &&");
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("would be written over its own input"), std::string::npos) << r.err;
  EXPECT_EQ(Slurp(dir / "photo.png"), photo);

  const auto junk = dir.Write("junk.sld", "not a slide at all");
  r = Host(dir, "preview '" + junk.string() + "' -o '" + (dir / "junk.png").string() + "'");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("is not a slide, BMP or picture file"), std::string::npos) << r.err;
  EXPECT_FALSE(std::filesystem::exists(dir / "junk.png"));
  r = Host(dir, "preview '" + slide + "' -o '" + (dir / "plan.gif").string() + "'");
  EXPECT_EQ(r.status, 2);
  for (const char* args : {"preview", "preview a.sld --size 0x10", "preview a.sld --size 10", "preview a.sld b.sld",
                           "preview a.sld -o", "preview a.sld --bogus"}) {
    r = Host(dir, args);
    EXPECT_EQ(r.status, 2) << args;
    EXPECT_NE(r.err.find("tovu-host: "), std::string::npos) << args;
  }
}

}  // namespace

namespace {

std::vector<uint8_t> PngPixels(const std::filesystem::path& file) {
  int width = 0, height = 0;
  std::vector<uint8_t> rgb;
  EXPECT_TRUE(standin::ReadPng(file.wstring(), &width, &height, &rgb, nullptr)) << file;
  EXPECT_EQ(width, 800);
  EXPECT_EQ(height, 600);
  return rgb;
}

// Pictures of the drawing view: a snapshot where the script says, numbered frames and an animated
// GIF after each change the user sees, and what is refused.
TEST(TovuHost, SnapshotsFramesAndAnimation) {
  tovutest::TempDir dir;
  const auto script =
      dir.Write("look.tovu", "<snapshot " + (dir / "plan view.png").string() + ">\n<zoom 250,400 100>\n<snapshot " +
                                 (dir / "zoomed.png").string() + ">\n<snapshot /no/such/x.png>\n");
  HostRun r = Host(dir, "--frames '" + (dir / "frames").string() + "' --gif '" + (dir / "look.gif").string() + "' '" +
                            script.string() + "'");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find("look.tovu:4: cannot write the snapshot /no/such/x.png"), std::string::npos) << r.err;
  // The first snapshot is the sample drawing as a fresh session shows it.
  standin::Session::Get().Reset();
  const std::vector<uint8_t> plan = PngPixels(dir / "plan view.png"), zoomed = PngPixels(dir / "zoomed.png");
  EXPECT_EQ(plan, standin::RenderView().raster.Rgb());
  EXPECT_NE(zoomed, plan);
  // One frame at the start and one after the zoom.
  EXPECT_EQ(PngPixels(dir / "frames" / "frame-0000.png"), plan);
  EXPECT_EQ(PngPixels(dir / "frames" / "frame-0001.png"), zoomed);
  EXPECT_FALSE(std::filesystem::exists(dir / "frames" / "frame-0002.png"));
  int error = 0;
  GifFileType* gif = DGifOpenFileName((dir / "look.gif").c_str(), &error);
  ASSERT_NE(gif, nullptr) << error;
  ASSERT_EQ(DGifSlurp(gif), GIF_OK);
  EXPECT_EQ(gif->ImageCount, 2);
  EXPECT_EQ(gif->SWidth, 800);
  DGifCloseFile(gif, &error);

  for (const char* bad : {"<snapshot>\n", "<snapshot plan.jpg>\n"}) {
    r = Host(dir, "-", bad);
    EXPECT_EQ(r.status, 2) << bad;
    EXPECT_NE(r.err.find("<stdin>:1: expected <snapshot FILE.png>"), std::string::npos) << r.err;
  }
  EXPECT_EQ(Host(dir, "--frames '" + script.string() + "' -").status, 2);  // a file, not a folder
  EXPECT_EQ(Host(dir, "--gif '" + (dir / "no" / "a.gif").string() + "' -").status, 2);
}

}  // namespace
