// e2e_frames: the scripted back end's side of the end-to-end tests. It plays
// the shared input script (session.txt) through the whole viewer on the
// scripted back end and compares what the real binary showed under Xvfb with
// the frames presented here, pixel for pixel.
//
//   e2e_frames SCRIPT SHOT.ppm:LAYOUT:SERVER_BITS ...   compare screenshots
//   e2e_frames SCRIPT --write FRAME OUT.ppm             write one expected frame
//   e2e_frames --audio RAW                              disk-driver sound vs the offline render
//
// Script lines: "<frame> key NAME", "<frame> move X Y", "<frame> click X Y",
// "<frame> shot"; X and Y in frame pixels, '#' starts a comment. The real
// run plays the lines with xdotool at those frames of a 60 Hz clock, holding
// keys and the button a quarter of a second; how many frames the viewer
// really ran in between depends on the machine. So the inputs only ever lead
// to the same state whatever frame they land on, the scripted run plays them
// as early as it can (one every few frames, keys and button held 3 frames),
// and the screenshot is looked for among every frame from the settling of
// the last input onwards (the ticker moves a pixel a frame, so where it
// shows text only one frame matches).
//
// A screenshot is either the 800 x 600 window or a full screen whose frame
// fills whole blocks (scale.h); every pixel of a block must be the same and
// the bars black. Both sides are reduced to the bits the surface layout and
// the server keep (what the layout's converter keeps; 5-6-5 on a 16-bit
// server): a 16-bit layout is compared as its converted frame.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/viewer.h"
#include "music/offline.h"
#include "platform/keys.h"
#include "platform/scripted.h"
#include "platform/sdl/scale.h"
#include "render/render.h"

namespace {

using namespace platform;

constexpr int W = render::frame_width, H = render::frame_height;
constexpr int input_step = 5;         // scripted frames from one input to the next
constexpr int settle_frames = 6;      // after the last input, before a shot is looked for
constexpr int search_frames = 1800;   // frames after the shot line that are searched

struct Action {
    int frame;
    std::string kind, name;
    int x = 0, y = 0;
};

bool read_script(const char* path, std::vector<Action>* out) {
    std::ifstream in(path);
    if (!in) return false;
    std::string line;
    while (std::getline(in, line)) {
        line = line.substr(0, line.find('#'));
        std::istringstream s(line);
        Action a;
        if (!(s >> a.frame >> a.kind)) continue;
        if (a.kind == "key") s >> a.name;
        if (a.kind == "move" || a.kind == "click") s >> a.x >> a.y;
        out->push_back(a);
    }
    return !out->empty();
}

int virtual_key(const std::string& name) {
    if (name.size() >= 2 && name[0] == 'F') return VK_F1 + std::atoi(name.c_str() + 1) - 1;
    if (name == "Home") return VK_HOME;
    if (name == "End") return VK_END;
    if (name == "Up") return VK_UP;
    if (name == "Down") return VK_DOWN;
    return 0;
}

// Channel bits kept: the layout's, and no more than a 16-bit server's 5-6-5.
uint32_t kept_bits(const std::string& layout, int server_bits) {
    if (layout == "rgb555" || layout == "bgr555") return 0xF8F8F8;
    if (layout == "rgb565" || layout == "bgr565" || server_bits == 16) return 0xF8FCF8;
    return 0xFFFFFF;
}

struct Shot {
    std::string name;
    uint32_t mask;
    std::vector<uint32_t> pixels;  // W x H, masked
    int matched = -1;
    int best_frame = -1, best_diff = W * H + 1;  // the closest frame, for the report
    int box[4] = {W, H, -1, -1};                  // where it differs
};

bool read_ppm(const std::string& path, int* w, int* h, std::vector<uint32_t>* px) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    int maxval = 0;
    bool ok = std::fscanf(f, "P6 %d %d %d", w, h, &maxval) == 3 && maxval == 255 && std::fgetc(f) != EOF;
    if (ok) {
        std::vector<uint8_t> raw(size_t(*w) * size_t(*h) * 3);
        ok = std::fread(raw.data(), 1, raw.size(), f) == raw.size();
        px->resize(size_t(*w) * size_t(*h));
        for (size_t i = 0; ok && i < px->size(); ++i)
            (*px)[i] = uint32_t(raw[3 * i]) << 16 | uint32_t(raw[3 * i + 1]) << 8 | raw[3 * i + 2];
    }
    std::fclose(f);
    return ok;
}

// Loads SHOT.ppm:LAYOUT:BITS and brings it back to frame pixels.
bool load_shot(const std::string& arg, Shot* shot) {
    size_t a = arg.find(':'), b = arg.rfind(':');
    if (a == std::string::npos || a == b) return false;
    std::string path = arg.substr(0, a);
    shot->name = path.substr(path.rfind('/') + 1);
    shot->mask = kept_bits(arg.substr(a + 1, b - a - 1), std::atoi(arg.c_str() + b + 1));
    int sw = 0, sh = 0;
    std::vector<uint32_t> px;
    if (!read_ppm(path, &sw, &sh, &px)) {
        std::fprintf(stderr, "FAIL: %s: not a readable P6 picture\n", path.c_str());
        return false;
    }
    platform::sdl::Placement p = platform::sdl::place_frame(sw, sh, W, H, true);
    if (p.w != W * p.factor || p.h != H * p.factor) {
        std::fprintf(stderr, "FAIL: %s: %dx%d does not hold the frame in whole blocks\n", shot->name.c_str(), sw, sh);
        return false;
    }
    shot->pixels.assign(size_t(W) * H, 0);
    for (int y = 0; y < sh; ++y)
        for (int x = 0; x < sw; ++x) {
            uint32_t c = px[size_t(y) * sw + x] & shot->mask;
            int fx = x - p.x, fy = y - p.y;
            if (fx < 0 || fy < 0 || fx >= p.w || fy >= p.h) {
                if (c != 0) {
                    std::fprintf(stderr, "FAIL: %s: the bar at (%d, %d) is %06X, not black\n", shot->name.c_str(), x,
                                 y, c);
                    return false;
                }
                continue;
            }
            uint32_t& slot = shot->pixels[size_t(fy / p.factor) * W + fx / p.factor];
            if (fx % p.factor == 0 && fy % p.factor == 0) {
                slot = c;
            } else if (slot != c) {
                std::fprintf(stderr, "FAIL: %s: the block of frame pixel (%d, %d) is not one colour (%06X, %06X)\n",
                             shot->name.c_str(), fx / p.factor, fy / p.factor, slot, c);
                return false;
            }
        }
    return true;
}

// Counts differing pixels, from the bottom up (the ticker differs first),
// and where they lie.
int differing(const Shot& s, const uint8_t* frame, int32_t pitch, int limit, int box[4]) {
    int n = 0;
    for (int y = H - 1; y >= 0; --y) {
        const uint32_t* row = reinterpret_cast<const uint32_t*>(frame + size_t(y) * size_t(pitch));
        const uint32_t* want = s.pixels.data() + size_t(y) * W;
        for (int x = 0; x < W; ++x) {
            if ((row[x] & s.mask) == want[x]) continue;
            if (++n >= limit) return n;
            if (x < box[0]) box[0] = x;
            if (y < box[1]) box[1] = y;
            if (x > box[2]) box[2] = x;
            if (y > box[3]) box[3] = y;
        }
    }
    return n;
}

void write_ppm(const char* path, const uint8_t* frame, int32_t pitch) {
    std::FILE* f = std::fopen(path, "wb");
    if (!f) return;
    std::fprintf(f, "P6\n%d %d\n255\n", W, H);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            const uint8_t* p = frame + size_t(y) * size_t(pitch) + size_t(x) * 4;
            uint8_t rgb[3] = {p[2], p[1], p[0]};
            std::fwrite(rgb, 1, 3, f);
        }
    std::fclose(f);
}

int compare_audio(const char* path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<uint8_t> got((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // The device played silence while paused (before the write and after the
    // stop): the sound it took from the player lies between.
    auto frame_at = [](const std::vector<uint8_t>& v, size_t i) { return std::memcmp(&v[i], "\0\0\0\0", 4) != 0; };
    size_t begin = 0, end = got.size() & ~size_t(3);
    while (begin < end && !frame_at(got, begin)) begin += 4;
    while (end > begin && !frame_at(got, end - 4)) end -= 4;
    if (end - begin < 44100 * 4) {
        std::fprintf(stderr, "FAIL: %s: only %zu bytes of sound\n", path, end - begin);
        return 1;
    }
    if (!music::offline_start(builtin_module, int32_t(builtin_module_size), 1)) {
        std::fprintf(stderr, "FAIL: the built-in module does not render\n");
        return 1;
    }
    std::vector<uint8_t> want;
    while (want.size() < (end - begin) + (size_t(1) << 20)) {
        const uint8_t* b = music::offline_block();
        want.insert(want.end(), b, b + 4096);
    }
    music::offline_stop();
    size_t start = 0;
    while (start < want.size() && !frame_at(want, start)) start += 4;
    for (size_t i = 0; i < end - begin; ++i)
        if (got[begin + i] != want[start + i]) {
            std::fprintf(stderr, "FAIL: %s: byte %zu of the sound differs from the offline render\n", path, i);
            return 1;
        }
    std::printf("ok: %zu bytes of sound (%.1f s) equal the offline render\n", end - begin,
                double(end - begin) / 176400.0);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--audio") == 0) return compare_audio(argv[2]);
    std::vector<Action> actions;
    if (argc < 3 || !read_script(argv[1], &actions)) {
        std::fprintf(stderr, "usage: e2e_frames SCRIPT SHOT.ppm:LAYOUT:BITS ... | SCRIPT --write FRAME OUT.ppm | --audio RAW\n");
        return 2;
    }
    int write_frame = -1;
    const char* write_path = nullptr;
    std::vector<Shot> shots;
    if (std::strcmp(argv[2], "--write") == 0 && argc == 5) {
        write_frame = std::atoi(argv[3]);
        write_path = argv[4];
    } else {
        for (int i = 2; i < argc; ++i) {
            shots.emplace_back();
            if (!load_shot(argv[i], &shots.back())) return 1;
        }
    }

    script::Config config;
    config.answer = IDNO;
    script::reset(config);
    script::keep_calls(false);
    script::keep_presented(false);
    int settled = 0, shot_frame = 0, at = 1;
    for (const Action& a : actions) {
        if (a.kind == "key") script::key_down(virtual_key(a.name), at, at + 2);
        if (a.kind == "move") script::mouse(at, a.x, a.y, false);
        if (a.kind == "click") {
            script::mouse(at, a.x, a.y, true);
            script::mouse(at + 3, a.x, a.y, false);
        }
        if (a.kind == "shot") shot_frame = a.frame;
        else settled = at + 3 + settle_frames;
        at += input_step;
    }
    int last = write_frame >= 0 ? write_frame : shot_frame + search_frames;
    script::key_down(VK_ESCAPE, last + 1, last + 2);
    script::on_present([&](const script::Presented& p) {
        if (p.frame == write_frame) write_ppm(write_path, p.bytes.data(), p.pitch);
        if (p.frame < settled) return;
        for (Shot& s : shots) {
            if (s.matched >= 0) continue;
            int box[4] = {W, H, -1, -1};
            int d = differing(s, p.bytes.data(), p.pitch, s.best_diff, box);
            if (d == 0) s.matched = p.frame;
            if (d < s.best_diff) {
                s.best_diff = d;
                s.best_frame = p.frame;
                std::memcpy(s.box, box, sizeof box);
            }
        }
    });
    app::viewer_run();

    int failed = 0;
    for (const Shot& s : shots) {
        if (s.matched >= 0) {
            std::printf("ok: %s is frame %d\n", s.name.c_str(), s.matched);
        } else {
            std::fprintf(stderr,
                         "FAIL: %s matches no frame from %d to %d; closest frame %d, %d pixels differ within "
                         "(%d, %d)-(%d, %d)\n",
                         s.name.c_str(), settled, last, s.best_frame, s.best_diff, s.box[0], s.box[1], s.box[2],
                         s.box[3]);
            ++failed;
        }
    }
    return failed ? 1 : 0;
}
