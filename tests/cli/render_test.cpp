// xmrender in-process (render_main): the WAV file's header and length for
// one pass, --seconds, --passes and --volume; the same bytes as the player;
// bad input and failing output, each a one-line error (or a clean render)
// with its exit code and no file claimed that was not fully written.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <cstdio>
#include <cstring>
#include <random>

#include "cli/common/render.h"
#include "music/offline.h"
#include "music/player.h"
#include "songs.h"

namespace {

struct Result {
    int code;
    std::string out, err;
};

std::string slurp(std::FILE* f) {
    std::string s;
    std::rewind(f);
    char b[4096];
    for (size_t n; (n = std::fread(b, 1, sizeof b, f)) > 0;) s.append(b, n);
    std::fclose(f);
    return s;
}

Result run(std::vector<std::string> words) {
    words.insert(words.begin(), "xmrender");
    std::vector<const char*> argv;
    for (const std::string& w : words) argv.push_back(w.c_str());
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    const int code = cli::render_main(int(argv.size()), argv.data(), out, err);
    return {code, slurp(out), slurp(err)};
}

uint32_t le32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24; }
uint16_t le16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }

// Checks the header against the file and returns the frame count.
int64_t wav_frames(const std::vector<uint8_t>& f) {
    EXPECT_GE(f.size(), 44u);
    if (f.size() < 44) return -1;
    EXPECT_EQ(std::memcmp(f.data(), "RIFF", 4), 0);
    EXPECT_EQ(le32(&f[4]), f.size() - 8);
    EXPECT_EQ(std::memcmp(&f[8], "WAVEfmt ", 8), 0);
    EXPECT_EQ(le32(&f[16]), 16u);
    EXPECT_EQ(le16(&f[20]), 1);       // PCM
    EXPECT_EQ(le16(&f[22]), 2);       // stereo
    EXPECT_EQ(le32(&f[24]), 44100u);
    EXPECT_EQ(le32(&f[28]), 176400u);
    EXPECT_EQ(le16(&f[32]), 4);
    EXPECT_EQ(le16(&f[34]), 16);
    EXPECT_EQ(std::memcmp(&f[36], "data", 4), 0);
    EXPECT_EQ(le32(&f[40]), f.size() - 44);
    return int64_t(f.size() - 44) / 4;
}

int32_t peak(const std::vector<uint8_t>& f) {
    int32_t p = 0;
    for (size_t i = 44; i + 1 < f.size(); i += 2) p = std::max(p, std::abs(int32_t(int16_t(le16(&f[i])))));
    return p;
}

bool one_line(const std::string& s) { return !s.empty() && s.back() == '\n' && s.find('\n') == s.size() - 1; }

TEST(Render, WavHeaderAndLength) {
    const std::string dir = songs::scratch_dir("wav_length");
    const std::string in = songs::write_file(dir, "song.xm", xmw::xm_write(songs::plain(2)));
    const std::string out = dir + "/out.wav";
    const int64_t pass = 32 * songs::frames_per_row;
    const struct {
        std::vector<std::string> options;
        int64_t frames;
        const char* said;
    } cases[] = {
        {{}, pass, "1 pass, 32 rows, 192 ticks, 169,344 frames, 0:03.840"},
        {{"--passes", "2"}, 2 * pass, "2 passes, 64 rows"},
        {{"--seconds", "1.5"}, 66150, "66,150 frames, 0:01.500"},
        {{"--seconds", "0.001"}, 44, "44 frames"},  // ends inside the first block
        {{"--seconds", "60", "--passes", "3"}, 3 * pass, "3 passes"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> words = {in, out};
        words.insert(words.end(), c.options.begin(), c.options.end());
        const Result r = run(words);
        ASSERT_EQ(r.code, 0) << r.err;
        EXPECT_EQ(r.err, "");
        EXPECT_TRUE(one_line(r.out)) << r.out;
        EXPECT_NE(r.out.find("\"Test song\": "), std::string::npos) << r.out;
        EXPECT_NE(r.out.find(c.said), std::string::npos) << r.out;
        EXPECT_EQ(wav_frames(songs::read_file(out)), c.frames);
    }
    EXPECT_EQ(songs::dir_entries(dir), (std::vector<std::string>{"out.wav", "song.xm"}));
}

TEST(Render, SameBytesAsThePlayerAndDeterministic) {
    const std::string dir = songs::scratch_dir("same_bytes");
    const std::vector<uint8_t> module = xmw::xm_write(songs::plain(3));
    const std::string in = songs::write_file(dir, "song.xm", module);
    ASSERT_EQ(run({in, dir + "/a.wav", "--seconds", "2.2", "--volume", "50"}).code, 0);
    ASSERT_EQ(run({in, dir + "/b.wav", "--seconds", "2.2", "--volume", "50"}).code, 0);
    const std::vector<uint8_t> a = songs::read_file(dir + "/a.wav");
    EXPECT_EQ(a, songs::read_file(dir + "/b.wav"));

    music::player_set_volume(50);
    ASSERT_EQ(music::offline_start(module.data(), int32_t(module.size()), 1), 1);
    std::vector<uint8_t> want;
    while (want.size() < 97020 * 4) {
        const uint8_t* b = music::offline_block();
        want.insert(want.end(), b, b + 4096);
    }
    music::offline_stop();
    want.resize(97020 * 4);
    ASSERT_EQ(a.size(), 44 + want.size());
    EXPECT_TRUE(std::equal(want.begin(), want.end(), a.begin() + 44));
}

TEST(Render, VolumeAndReportedPeaks) {
    const std::string dir = songs::scratch_dir("volume");
    xmw::Module m = songs::plain(1);
    for (int r = 0; r < 16; r += 4) xmw::cell(m, 0, r, 1) = {61, 1, 0, 0, 0};  // both channels: loud
    const std::string in = songs::write_file(dir, "song.xm", xmw::xm_write(m));
    int32_t peaks[3];
    const int32_t volumes[] = {0, 32, 64};
    for (int k = 0; k < 3; ++k) {
        const Result r = run({in, dir + "/out.wav", "--volume", std::to_string(volumes[k])});
        ASSERT_EQ(r.code, 0) << r.err;
        const std::vector<uint8_t> f = songs::read_file(dir + "/out.wav");
        peaks[k] = peak(f);
        int32_t l = -1, rr = -1;
        ASSERT_EQ(std::sscanf(r.out.substr(r.out.find("peaks")).c_str(), "peaks L %d R %d", &l, &rr), 2) << r.out;
        EXPECT_EQ(std::max(l, rr), peaks[k]);
    }
    EXPECT_EQ(peaks[0], 0);
    EXPECT_GT(peaks[1], 0);
    EXPECT_LE(peaks[1], 10922);
    EXPECT_GT(peaks[2], peaks[1]);
}

TEST(Render, BadInputGivesOneLineAndItsExitCode) {
    const std::string dir = songs::scratch_dir("bad_input");
    const std::vector<uint8_t> good = xmw::xm_write(songs::plain(2));
    std::vector<uint8_t> random(5000);
    std::mt19937 rng(7);
    for (uint8_t& b : random) b = uint8_t(rng());

    xmw::Module huge_sample = songs::plain(1);
    huge_sample.instruments[0].samples[0].length_field = 0x7FFFFFFEu;  // 2 GiB claimed
    xmw::Module many_samples = songs::plain(1);
    many_samples.instruments[0].sample_count = 200;
    xmw::Module huge_pattern = songs::plain(1);
    huge_pattern.patterns[0].stored_rows = 65535;  // rows claimed, not stored
    std::vector<uint8_t> far_header = good;  // the patterns would start past any end
    far_header[60] = 0x00;
    far_header[61] = far_header[62] = far_header[63] = 0xFF;

    const std::vector<uint8_t> half(good.begin(), good.begin() + long(good.size() / 2));
    const std::vector<uint8_t> id_only(good.begin(), good.begin() + 17);
    const std::string text = "Ext. modulations of the voice\n";
    std::vector<uint8_t> lower_id = good;  // the player tests "Exte", letter case and all
    lower_id[0] = 'e';

    std::filesystem::create_directories(dir + "/folder.xm");
    songs::write_file(dir, "empty.xm", {});
    songs::write_file(dir, "text.xm", std::vector<uint8_t>(text.begin(), text.end()));
    songs::write_file(dir, "random.xm", random);
    songs::write_file(dir, "lower_id.xm", lower_id);
    songs::write_file(dir, "half.xm", half);
    songs::write_file(dir, "id_only.xm", id_only);
    songs::write_file(dir, "huge_sample.xm", xmw::xm_write(huge_sample));
    songs::write_file(dir, "many_samples.xm", xmw::xm_write(many_samples));
    songs::write_file(dir, "huge_pattern.xm", xmw::xm_write(huge_pattern));
    songs::write_file(dir, "far_header.xm", far_header);

    // Exit code 1: an error and no file; 0: a warning and a clean render.
    const struct {
        const char* name;
        int code;
        const char* said;
    } expected[] = {
        {"missing.xm", 1, "cannot open: No such file or directory"},
        {"folder.xm", 1, "is a directory"},
        {"empty.xm", 1, "empty file, not an XM module"},
        {"random.xm", 1, "not an XM module"},
        {"text.xm", 1, "not an XM module"},
        {"lower_id.xm", 1, "not an XM module"},
        {"huge_sample.xm", 1, "cannot be loaded"},
        {"many_samples.xm", 1, "cannot be loaded"},
        {"half.xm", 0, "is truncated"},
        {"id_only.xm", 0, "is truncated"},
        {"huge_pattern.xm", 0, "is truncated"},
        {"far_header.xm", 0, "is truncated"},
    };

    const std::string out_dir = songs::scratch_dir("bad_input_out");
    for (const auto& c : expected) {
        SCOPED_TRACE(c.name);
        const std::string in = dir + "/" + c.name;
        // Ten seconds at most: huge_pattern's one pass would be the full 30
        // minutes (its end is the pass rule's concern, not this table's).
        const Result r = run({in, out_dir + "/out.wav", "--seconds", "10"});
        EXPECT_EQ(r.code, c.code) << r.err;
        EXPECT_TRUE(one_line(r.err)) << r.err;
        EXPECT_NE(r.err.find("'" + in + "'"), std::string::npos) << r.err;
        EXPECT_NE(r.err.find(c.said), std::string::npos) << r.err;
        if (c.code == 0) {
            EXPECT_GT(wav_frames(songs::read_file(out_dir + "/out.wav")), 0);
            EXPECT_EQ(songs::dir_entries(out_dir), std::vector<std::string>{"out.wav"});
        } else {
            EXPECT_EQ(r.out, "");
            EXPECT_TRUE(songs::dir_entries(out_dir).empty());
        }
        std::filesystem::remove(out_dir + "/out.wav");
    }

    // What the player takes the programs take: only "Exte" is tested.
    std::vector<uint8_t> other_id = good;
    std::memcpy(other_id.data() + 4, "nded Mischief", 13);
    const Result r = run({songs::write_file(dir, "other_id.xm", other_id), out_dir + "/out.wav"});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.err, "");
}

TEST(Render, FailedOutputLeavesNoFileClaimed) {
    const std::string dir = songs::scratch_dir("bad_output");
    const std::string in = songs::write_file(dir, "song.xm", xmw::xm_write(songs::plain(4)));
    std::filesystem::create_directories(dir + "/taken.wav");
    const struct {
        std::string out;
        const char* said;
    } cases[] = {
        {"/dev/full", "No space left on device"},
        {dir + "/no/such/dir/out.wav", "cannot create"},
        {dir + "/taken.wav", "is a directory"},
    };
    for (const auto& c : cases) {
        const Result r = run({in, c.out});
        EXPECT_EQ(r.code, 1);
        EXPECT_EQ(r.out, "");
        EXPECT_TRUE(one_line(r.err)) << r.err;
        EXPECT_NE(r.err.find("'" + c.out + "'"), std::string::npos) << r.err;
        EXPECT_NE(r.err.find(c.said), std::string::npos) << r.err;
    }

    // A disk that fills up half way: the earlier out.wav stays as it was and
    // no temporary file is left behind.
    const std::vector<uint8_t> old = {'o', 'l', 'd'};
    songs::write_file(dir, "out.wav", old);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 100000;
    auto previous = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    const Result r = run({in, dir + "/out.wav"});
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(one_line(r.err)) << r.err;
    EXPECT_NE(r.err.find("cannot write"), std::string::npos) << r.err;
    EXPECT_EQ(songs::read_file(dir + "/out.wav"), old);
    EXPECT_EQ(songs::dir_entries(dir), (std::vector<std::string>{"out.wav", "song.xm", "taken.wav"}));
}

TEST(Render, RefusesToWriteOverTheInput) {
    // The same file by its name, another path, a hard link and a symbolic
    // link: refused before anything is read or written, the module intact.
    namespace fs = std::filesystem;
    const std::string dir = songs::scratch_dir("over_input");
    const std::vector<uint8_t> module = xmw::xm_write(songs::plain(1));
    const std::string in = songs::write_file(dir, "song.xm", module);
    fs::create_directories(dir + "/sub");
    fs::create_hard_link(in, dir + "/hard.wav");
    fs::create_symlink(in, dir + "/soft.wav");
    for (const std::string& out : {in, dir + "/sub/../song.xm", dir + "/hard.wav", dir + "/soft.wav"}) {
        const Result r = run({in, out});
        EXPECT_EQ(r.code, 2) << out;
        EXPECT_EQ(r.out, "");
        EXPECT_TRUE(one_line(r.err)) << r.err;
        EXPECT_NE(r.err.find("'" + out + "' is the input file"), std::string::npos) << r.err;
        EXPECT_EQ(songs::read_file(in), module);
    }
    EXPECT_EQ(songs::dir_entries(dir), (std::vector<std::string>{"hard.wav", "soft.wav", "song.xm", "sub"}));
    // Another file of the same content is not the input.
    const std::string copy = songs::write_file(dir, "copy.xm", module);
    EXPECT_EQ(run({in, copy}).code, 0);
}

TEST(Render, UsageErrorsExitTwo) {
    const Result r = run({"only.xm"});
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.err.rfind("xmrender: needs an XM file and a WAV file to write\nusage: xmrender", 0), 0u) << r.err;
    const Result h = run({"--help"});
    EXPECT_EQ(h.code, 0);
    EXPECT_EQ(h.out.rfind("usage: xmrender", 0), 0u);
}

}  // namespace
