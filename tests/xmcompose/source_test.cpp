// source_test.cpp: the text sources of the built-in module: notes, volume
// column and effect fields, and faults reported with their file and line.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "tools/xmcompose/source.h"

namespace {

std::string row(int number, const std::string& cell, int channels = 2) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02d", number);
    std::string s = buf;
    for (int c = 0; c < channels; ++c) s += " | " + cell;
    return s + "\n";
}

TEST(Source, NoteNames) {
    struct Case { const char* text; int note; };
    const Case cases[] = {{"C-0", 1}, {"C#0", 2}, {"B-7", 96}, {"C-4", 49}, {"A-4", 58}, {"G#3", 45},
                          {"---", 0}, {"===", 97}, {"C-8", -1}, {"H-4", -1}, {"Db4", -1}, {"C4", -1}};
    for (const Case& c : cases) EXPECT_EQ(xmc::parse_note(c.text), c.note) << c.text;
}

TEST(Source, CellFields) {
    struct Case { const char* cell; xmc::Cell want; };
    const Case cases[] = {
        {"C-4 01 40 F05", {49, 1, 0x50, 15, 5}},
        {"=== .. .. ...", {97, 0, 0, 0, 0}},
        {"--- .. 00 E61", {0, 0, 0x10, 14, 0x61}},
        {"A#2 06 d3 8C0", {35, 6, 0x83, 8, 0xC0}},
        {"--- .. -2 A0F", {0, 0, 0x62, 10, 0x0F}},
        {"--- .. +1 K00", {0, 0, 0x71, 20, 0}},
        {"--- .. uF 037", {0, 0, 0x9F, 0, 0x37}},
        {"--- .. p8 3FF", {0, 0, 0xC8, 3, 0xFF}},
    };
    for (const Case& c : cases) {
        xmc::Pattern p;
        std::string error;
        ASSERT_TRUE(xmc::parse_pattern_text("pattern 0 rows 1\n" + row(0, c.cell, 1), "p.txt", 1, 6, p, error))
            << c.cell << ": " << error;
        const xmc::Cell& got = p.cells[0];
        EXPECT_EQ(got.note, c.want.note) << c.cell;
        EXPECT_EQ(got.instrument, c.want.instrument) << c.cell;
        EXPECT_EQ(got.volume, c.want.volume) << c.cell;
        EXPECT_EQ(got.effect, c.want.effect) << c.cell;
        EXPECT_EQ(got.parameter, c.want.parameter) << c.cell;
    }
}

TEST(Source, PatternCellsAreRowMajorAndCommentsAreSkipped) {
    std::string text = "# a comment line\npattern 3 rows 2   # trailing comment\n\n" +
                       std::string("00 | C-4 01 .. ... | D-4 02 .. ... # the sharp of C#4 is no comment\n") +
                       "# between rows\n01 | C#4 01 .. ... | E-4 02 .. ...\n";
    xmc::Pattern p;
    std::string error;
    ASSERT_TRUE(xmc::parse_pattern_text(text, "p.txt", 2, 2, p, error)) << error;
    EXPECT_EQ(p.number, 3);
    ASSERT_EQ(p.cells.size(), 4u);
    EXPECT_EQ(p.cells[0].note, 49);
    EXPECT_EQ(p.cells[1].note, 51);
    EXPECT_EQ(p.cells[2].note, 50);
    EXPECT_EQ(p.cells[3].note, 53);
}

TEST(Source, PatternFaultsNameFileAndLine) {
    const std::string head = "pattern 0 rows 2\n";
    const std::string good = "C-4 01 .. ...";
    struct Case { std::string text; const char* where; const char* what; };
    const Case cases[] = {
        {head + row(0, good) + row(1, good, 3), "p.txt:3:", "3 cells"},
        {head + row(0, "C-9 01 .. ...") + row(1, good), "p.txt:2:", "no note"},
        {head + row(0, good) + row(2, good), "p.txt:3:", "out of turn"},
        {head + row(0, good), "p.txt:2:", "1 rows, not 2"},
        {head + row(0, good) + row(1, good) + row(2, good), "p.txt:4:", "beyond"},
        {head + row(0, "C-4 07 .. ...") + row(1, good), "p.txt:2:", "not defined"},
        {head + row(0, "C-4 01 41 ...") + row(1, good), "p.txt:2:", "volume"},
        {head + row(0, "C-4 01 .. F5") + row(1, good), "p.txt:2:", "effect"},
        {head + row(0, "C-4 01 ..") + row(1, good), "p.txt:2:", "note, instrument, volume and effect"},
        {"patern 0\n", "p.txt:1:", "expected: pattern"},
    };
    for (const Case& c : cases) {
        xmc::Pattern p;
        std::string error;
        EXPECT_FALSE(xmc::parse_pattern_text(c.text, "p.txt", 2, 6, p, error)) << c.text;
        EXPECT_EQ(error.rfind(c.where, 0), 0u) << error;
        EXPECT_NE(error.find(c.what), std::string::npos) << error;
    }
}

TEST(Source, SongAndInstrumentFaultsNameFileAndLine) {
    struct Case { std::string song, instruments; const char* where; };
    const std::string song_ok = "channels 2\norders 0\n";
    const std::string ins_ok = "instrument 1 \"x\"\n  recipe kick\n";
    const Case cases[] = {
        {"channels 2\nbmp 125\norders 0\n", ins_ok, "song.txt:2:"},
        {"channels 40\norders 0\n", ins_ok, "song.txt:1:"},
        {"channels 2\norders 0 300\n", ins_ok, "song.txt:2:"},
        {"title \"a title of more than twenty\"\nchannels 2\norders 0\n", ins_ok, "song.txt:1:"},
        {"channels 2\nrestart 1\norders 0\n", ins_ok, "song.txt:3:"},
        {song_ok, "instrument 2 \"x\"\n  recipe kick\n", "instruments.txt:1:"},
        {song_ok, "  recipe kick\n", "instruments.txt:1:"},
        {song_ok, "instrument 1 \"x\"\n  recipe kick\n  volume 65\n", "instruments.txt:3:"},
        {song_ok, "instrument 1 \"x\"\n  recipe kick\n  decay 0.1\n  decay 0.2\n", "instruments.txt:4:"},
        {song_ok, "instrument 1 \"x\"\n  volume 64\n", "instruments.txt:1:"},
    };
    for (const Case& c : cases) {
        xmc::Song s;
        std::string error;
        bool ok = xmc::parse_song_text(c.song, "song.txt", s, error) &&
                  xmc::parse_instruments_text(c.instruments, "instruments.txt", s, error);
        EXPECT_FALSE(ok) << c.song << c.instruments;
        EXPECT_EQ(error.rfind(c.where, 0), 0u) << error;
    }
}

// A copy of the real sources with one line broken: read_song names the
// file and line, and the xmcompose program fails without output.
class BrokenSources : public ::testing::Test {
protected:
    std::filesystem::path dir;
    void SetUp() override {
        dir = std::filesystem::temp_directory_path() /
              ("xmcompose_test_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir);
        std::filesystem::copy(QUILLON_MUSIC_DIR, dir, std::filesystem::copy_options::recursive);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    // Replaces the first line of `file` that starts with `prefix`; returns its line number.
    int break_line(const std::string& file, const std::string& prefix, const std::string& replacement) {
        std::ifstream in(dir / file);
        std::string text, line;
        int n = 0, found = 0;
        while (std::getline(in, line)) {
            ++n;
            if (!found && line.rfind(prefix, 0) == 0) {
                line = replacement;
                found = n;
            }
            text += line + "\n";
        }
        in.close();
        std::ofstream(dir / file) << text;
        return found;
    }
};

TEST_F(BrokenSources, TheRealSourcesRead) {
    xmc::Song song;
    std::string error;
    EXPECT_TRUE(xmc::read_song(dir.string(), song, error)) << error;
}

TEST_F(BrokenSources, FaultsNameFileAndLine) {
    const std::string file = "patterns/03-bridge.txt";
    int line = break_line(file, "17 |", "17 | C-4 01 .. ... | this is not a cell");
    ASSERT_GT(line, 0);
    xmc::Song song;
    std::string error;
    ASSERT_FALSE(xmc::read_song(dir.string(), song, error));
    std::string where = (dir / file).string() + ":" + std::to_string(line) + ":";
    EXPECT_EQ(error.rfind(where, 0), 0u) << error;

    std::filesystem::path out = dir / "out.xm", log = dir / "log.txt";
    std::string cmd = std::string("\"") + XMCOMPOSE_PATH + "\" \"" + dir.string() + "\" \"" + out.string() +
                      "\" 2> \"" + log.string() + "\"";
    int status = std::system(cmd.c_str());
    EXPECT_NE(status, 0);
    EXPECT_FALSE(std::filesystem::exists(out));
    std::ifstream in(log);
    std::string message((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(message.find(where), std::string::npos) << message;
}

TEST_F(BrokenSources, AnOrderNamingAMissingPatternIsAFault) {
    int line = break_line("song.txt", "orders", "orders 0 1 12");
    ASSERT_GT(line, 0);
    xmc::Song song;
    std::string error;
    ASSERT_FALSE(xmc::read_song(dir.string(), song, error));
    EXPECT_EQ(error.rfind((dir / "song.txt").string() + ":" + std::to_string(line) + ":", 0), 0u) << error;
    EXPECT_NE(error.find("pattern 12"), std::string::npos) << error;
}

}  // namespace
