// Command lines of both programs: what is accepted, what each option
// becomes, and the one-line reasons for what is refused.
#include <gtest/gtest.h>

#include <vector>

#include "cli/common/args.h"

namespace {

cli::ArgsResult render(std::vector<const char*> words, cli::RenderArgs* a, std::string* error) {
    words.insert(words.begin(), "xmrender");
    return cli::args_parse_render(int(words.size()), words.data(), a, error);
}

TEST(Args, RenderOptionsAnywhere) {
    cli::RenderArgs a;
    std::string e;
    ASSERT_EQ(render({"--volume=32", "in.xm", "--seconds", "2.5", "out.wav", "--passes", "3"}, &a, &e), cli::args_ok) << e;
    EXPECT_EQ(a.input, "in.xm");
    EXPECT_EQ(a.output, "out.wav");
    EXPECT_EQ(a.volume, 32);
    EXPECT_EQ(a.seconds_ms, 2500);
    EXPECT_EQ(a.passes, 3);
    ASSERT_EQ(render({"--", "-odd.xm", "--volume"}, &a, &e), cli::args_ok) << e;
    EXPECT_EQ(a.input, "-odd.xm");
    EXPECT_EQ(a.output, "--volume");
    EXPECT_EQ(render({"-h"}, &a, &e), cli::args_help);
}

TEST(Args, RenderRefusals) {
    const struct {
        std::vector<const char*> words;
        const char* reason;
    } cases[] = {
        {{"in.xm"}, "needs an XM file and a WAV file"},
        {{"a", "b", "c"}, "too many file names"},
        {{"a", "b", "--volume", "65"}, "--volume wants"},
        {{"a", "b", "--volume", "-1"}, "--volume wants"},
        {{"a", "b", "--volume", "3x"}, "--volume wants"},
        {{"a", "b", "--seconds", "0"}, "--seconds wants"},
        {{"a", "b", "--seconds", "1800.001"}, "--seconds wants"},
        {{"a", "b", "--seconds", "1.2345"}, "--seconds wants"},
        {{"a", "b", "--seconds", "."}, "--seconds wants"},
        {{"a", "b", "--passes", "0"}, "--passes wants"},
        {{"a", "b", "--passes", "99999999999"}, "--passes wants"},
        {{"a", "b", "--passes"}, "--passes needs a value"},
        {{"a", "b", "--loud"}, "unknown option '--loud'"},
    };
    for (const auto& c : cases) {
        cli::RenderArgs a;
        std::string e;
        EXPECT_EQ(render(c.words, &a, &e), cli::args_error) << c.reason;
        EXPECT_NE(e.find(c.reason), std::string::npos) << e;
        EXPECT_EQ(e.find('\n'), std::string::npos);
    }
}

TEST(Args, SecondsAndPlay) {
    EXPECT_EQ(cli::args_seconds("1800", cli::max_render_ms), 1800000);
    EXPECT_EQ(cli::args_seconds("0.001", cli::max_render_ms), 1);
    EXPECT_EQ(cli::args_seconds("99999999999999999999", cli::max_render_ms), 0);
    EXPECT_EQ(cli::args_seconds("1e3", cli::max_render_ms), 0);

    std::vector<const char*> w = {"xmplay", "song.xm", "--seconds=3", "--volume", "0"};
    cli::PlayArgs p;
    std::string e;
    ASSERT_EQ(cli::args_parse_play(int(w.size()), w.data(), &p, &e), cli::args_ok) << e;
    EXPECT_EQ(p.input, "song.xm");
    EXPECT_EQ(p.seconds_ms, 3000);
    EXPECT_EQ(p.volume, 0);
    w = {"xmplay", "song.xm", "--passes", "2"};  // rendering only
    EXPECT_EQ(cli::args_parse_play(int(w.size()), w.data(), &p, &e), cli::args_error);
    w = {"xmplay"};
    EXPECT_EQ(cli::args_parse_play(int(w.size()), w.data(), &p, &e), cli::args_error);
}

}  // namespace
