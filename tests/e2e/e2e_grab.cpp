// e2e_grab: writes what an X window shows as a P6 picture, 8 bits a channel.
//
//   e2e_grab WINDOW_ID OUT.ppm
//
// Each channel of the server's pixel is widened by repeating its top bits
// (5 bits v -> v << 3 | v >> 2), so dropping the low bits again gives back
// exactly what the server holds, at any depth. (ImageMagick's import reads
// the 5-bit channels of a 16-bit server one step too high.)
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

// The channel under `mask` of a pixel, widened to 8 bits.
unsigned channel(unsigned long pixel, unsigned long mask) {
    if (!mask) return 0;
    int shift = 0, bits = 0;
    while (!((mask >> shift) & 1)) ++shift;
    while ((mask >> (shift + bits)) & 1) ++bits;
    unsigned v = unsigned((pixel & mask) >> shift);
    if (bits >= 8) return v >> (bits - 8);
    unsigned out = 0;
    for (int filled = 0; filled < 8; filled += bits) out = (out << bits) | v;
    int total = ((8 + bits - 1) / bits) * bits;
    return out >> (total - 8);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: e2e_grab WINDOW_ID OUT.ppm\n");
        return 2;
    }
    Display* d = XOpenDisplay(nullptr);
    if (!d) return 1;
    Window w = Window(std::strtoul(argv[1], nullptr, 0));
    XWindowAttributes a{};
    if (!XGetWindowAttributes(d, w, &a)) return 1;
    XImage* img = XGetImage(d, w, 0, 0, unsigned(a.width), unsigned(a.height), AllPlanes, ZPixmap);
    if (!img) return 1;
    std::FILE* f = std::fopen(argv[2], "wb");
    if (!f) return 1;
    std::fprintf(f, "P6\n%d %d\n255\n", a.width, a.height);
    std::vector<unsigned char> row(size_t(a.width) * 3);
    for (int y = 0; y < a.height; ++y) {
        for (int x = 0; x < a.width; ++x) {
            unsigned long p = XGetPixel(img, x, y);
            row[size_t(x) * 3] = (unsigned char)channel(p, a.visual->red_mask);
            row[size_t(x) * 3 + 1] = (unsigned char)channel(p, a.visual->green_mask);
            row[size_t(x) * 3 + 2] = (unsigned char)channel(p, a.visual->blue_mask);
        }
        std::fwrite(row.data(), 1, row.size(), f);
    }
    std::fclose(f);
    XDestroyImage(img);
    XCloseDisplay(d);
    return 0;
}
