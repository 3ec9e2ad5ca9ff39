// The built k4r program as a shell runs it: exit statuses, streams, help,
// and a PNG written by a process that has no GUI application object.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>

#include "core/FaceArchive.h"
#include "support/TempDir.h"

namespace k4r {
namespace {
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

struct Outcome {
  int status = -1;
  std::string out;
  std::string err;
};

// Runs the program with `arguments` (already quoted for the shell), with no
// display and no Qt platform named: k4r must not need a window system.
Outcome RunProgram(const std::string& arguments) {
  TempDir streams;
  const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM '" K4R_BIN_DIR "/k4r' " +
                              arguments + " >'" + (streams / "out").string() + "' 2>'" + (streams / "err").string() +
                              "'";
  const int raw = std::system(command.c_str());
  Outcome outcome;
  outcome.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  outcome.out = ReadBytes(streams / "out");
  outcome.err = ReadBytes(streams / "err");
  return outcome;
}

std::string Quoted(const std::filesystem::path& path) {
  return "'" + path.string() + "'";
}

TEST(K4rProgram, ExitStatusesAndStreams) {
  TempDir dir;
  const std::string missing = (dir / "none.K4R").string();
  const struct {
    std::string arguments;
    int status;
    std::string out;  // the whole of stdout, when not empty
    std::string err;  // a part of stderr
  } cases[] = {
      {"find bases 城 --from 3", 0, "4 内城\n", ""},
      {"find bases 内城 --span 4", 0, "no change\n", ""},
      {"find bases 大坂", 1, "”大坂”　は見つかりませんでした。\n", ""},
      {"dump " + Quoted(missing), 1, "", "ファイル " + missing + " は開けません.\n"},
      {"set " + Quoted(missing), 1, "", "ファイル " + missing + " は開けません.\n"},
      {"", 2, "", "subcommand"},
      {"frobnicate", 2, "", "frobnicate"},
      {"dump", 2, "", "FILE"},
      {"set " + Quoted(missing) + " seibetu=1", 2, "", "read only"},
      {"face x 3 -o", 2, "", "--output"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.arguments);
    const Outcome outcome = RunProgram(c.arguments);
    EXPECT_EQ(outcome.status, c.status);
    if (!c.out.empty()) {
      EXPECT_EQ(outcome.out, c.out);
    }
    EXPECT_NE(outcome.err.find(c.err), std::string::npos) << outcome.err;
  }
}

TEST(K4rProgram, HelpDocumentsEveryCommand) {
  const Outcome overview = RunProgram("--help");
  EXPECT_EQ(overview.status, 0);
  const struct {
    const char* command;
    std::vector<const char*> mentions;
  } commands[] = {
      {"dump", {"--officer-list", "--face-list", "JSON Lines", "_hex", "Kyoten_name", "--csv", "tokugi1_name"}},
      {"set", {"NAME=VALUE", "tokugi1", "seibetu", "botu", "146 bytes"}},
      {"find", {"bases", "--from", "--span", "no change", "1113"}},
      {"face", {"--output", "0..999"}},
      {"faces", {"--face-list", "--from", "--count", "--columns", "grey box", "Examples:"}},
      {"diff", {"--officer-list", "--json", "→", "not compared", "Examples:"}},
      {"demo", {"BUSHOU.DAT", "KAO.DAT", "KAO_M.VX9", "SAMPLE1.K4R"}},
  };
  for (const auto& c : commands) {
    SCOPED_TRACE(c.command);
    EXPECT_NE(overview.out.find(c.command), std::string::npos);
    const Outcome help = RunProgram(std::string(c.command) + " --help");
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.err, "");
    for (const char* mention : c.mentions) {
      EXPECT_NE(help.out.find(mention), std::string::npos) << mention;
    }
  }
}

TEST(K4rProgram, OutputThatCannotBeWrittenFailsTheCommand) {
  TempDir dir;
  const std::string errFile = (dir / "err").string();
  // A command that fails anyway keeps its own status; "find" says 1 for
  // not found, which the lost output must not turn into success either.
  const struct {
    std::string arguments;
    int status;
  } cases[] = {
      {"find bases 城 --from 3", 1},
      {"--help", 1},
      {"dump " + Quoted(dir / "none.K4R"), 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.arguments);
    const std::string command = "'" K4R_BIN_DIR "/k4r' " + c.arguments + " >/dev/full 2>'" + errFile + "'";
    const int raw = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(raw));
    EXPECT_EQ(WEXITSTATUS(raw), c.status);
    EXPECT_NE(ReadBytes(errFile).find(".\n"), std::string::npos) << ReadBytes(errFile);
  }
  const std::string find = "'" K4R_BIN_DIR "/k4r' find bases 城 --from 3 >/dev/full 2>'" + errFile + "'";
  ASSERT_EQ(WEXITSTATUS(std::system(find.c_str())), 1);
  EXPECT_EQ(ReadBytes(errFile), "ストリームへの書き込みエラー.\n");
}

TEST(K4rProgram, WritesAPngWithoutAWindowSystem) {
  TempDir dir;
  // One picture of colour 1 (pure red) for face 0; everything else zero.
  ByteString archive(static_cast<std::size_t>(face_file::kTableEnd + face_file::kImageSize), '\0');
  archive[28] = static_cast<char>(face_file::kTableEnd & 0xFF);
  archive[29] = static_cast<char>((face_file::kTableEnd >> 8) & 0xFF);
  const auto image = static_cast<std::size_t>(face_file::kTableEnd);
  archive[image + face_file::kPaletteOffset + 4 + 2] = '\xff';
  for (std::size_t at = image + face_file::kPixelsOffset; at < archive.size(); ++at) {
    archive[at] = 1;
  }
  WriteBytes(dir / "KAO_M.VX9", archive);
  const Outcome outcome =
      RunProgram("face " + Quoted(dir / "KAO_M.VX9") + " 0 -o " + Quoted(dir / "face.png") + " </dev/null");
  ASSERT_EQ(outcome.status, 0) << outcome.err;
  EXPECT_EQ(ReadBytes(dir / "face.png").substr(0, 8), "\x89PNG\r\n\x1a\n");

  // A sheet draws text, which takes a GUI application; still no display,
  // and nothing of Qt's own on stderr.
  const Outcome sheet = RunProgram("faces " + Quoted(dir / "KAO_M.VX9") + " --count 3 -o " + Quoted(dir / "sheet.png"));
  ASSERT_EQ(sheet.status, 0) << sheet.err;
  EXPECT_EQ(sheet.err, "");
  EXPECT_EQ(ReadBytes(dir / "sheet.png").substr(0, 8), "\x89PNG\r\n\x1a\n");
}

// A batch that runs over a second (its table arrives late on stdin) draws a
// progress line on a terminal (a pseudo-terminal made by script(1)), never
// into a pipe, and not with --quiet.
TEST(K4rProgram, ProgressLineOnlyOnATerminal) {
  if (std::system("script --version >/dev/null 2>&1") != 0) {
    GTEST_SKIP() << "script (util-linux) is not installed";
  }
  TempDir dir;
  WriteBytes(dir / "A.K4R", ByteString(300, '\0'));
  WriteBytes(dir / "table.csv", "file,seiji\n" + (dir / "A.K4R").string() + ",77\n");
  const std::string late =
      "(sleep 1.2; cat '" + (dir / "table.csv").string() + "') | '" K4R_BIN_DIR "/k4r' set --from-csv -";
  const struct {
    std::string command;
    bool drawn;
  } cases[] = {
      {"script -qec \"" + late + "\" /dev/null", true},
      {"script -qec \"" + late + " --quiet\" /dev/null", false},
      {late + " 2>&1 | cat", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.command);
    const std::string command =
        "unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM; { " + c.command + "; } >'" + (dir / "seen").string() + "' 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << ReadBytes(dir / "seen");
    const std::string seen = ReadBytes(dir / "seen");
    EXPECT_EQ(seen.find("k4r set: checking 0 of 1 files") != std::string::npos, c.drawn) << seen;
  }
}

}  // namespace
}  // namespace k4r
