// png.h: writes a frame as an uncompressed PNG so a person can look at what a
// failing test drew (deflate "stored" blocks; no library needed).
//
//   render_test::write_png("frame.png", pixels, 800, 600);   // 0x00RRGGBB words
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace render_test {

inline uint32_t png_crc(const uint8_t* p, size_t n, uint32_t crc = 0) {
    crc = ~crc;
    for (size_t i = 0; i < n; ++i) {
        crc ^= p[i];
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    return ~crc;
}

inline bool write_png(const std::string& path, const uint32_t* pixels, int width, int height) {
    std::vector<uint8_t> raw;
    for (int y = 0; y < height; ++y) {
        raw.push_back(0);  // no filter
        for (int x = 0; x < width; ++x) {
            const uint32_t p = pixels[size_t(y) * width + x];
            raw.push_back((p >> 16) & 255);
            raw.push_back((p >> 8) & 255);
            raw.push_back(p & 255);
        }
    }
    std::vector<uint8_t> z = {0x78, 0x01};
    uint32_t a = 1, b = 0;
    for (uint8_t c : raw) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    for (size_t i = 0; i < raw.size(); i += 65535) {
        const size_t n = std::min<size_t>(65535, raw.size() - i);
        z.push_back(i + n == raw.size() ? 1 : 0);
        z.push_back(n & 255);
        z.push_back(n >> 8);
        z.push_back(~n & 255);
        z.push_back((~n >> 8) & 255);
        z.insert(z.end(), raw.begin() + i, raw.begin() + i + n);
    }
    const uint32_t adler = b << 16 | a;
    for (int s = 24; s >= 0; s -= 8) z.push_back((adler >> s) & 255);

    std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    auto chunk = [&](const char* type, const std::vector<uint8_t>& data) {
        const uint32_t n = uint32_t(data.size());
        for (int s = 24; s >= 0; s -= 8) out.push_back((n >> s) & 255);
        const size_t start = out.size();
        out.insert(out.end(), type, type + 4);
        out.insert(out.end(), data.begin(), data.end());
        const uint32_t crc = png_crc(out.data() + start, out.size() - start);
        for (int s = 24; s >= 0; s -= 8) out.push_back((crc >> s) & 255);
    };
    std::vector<uint8_t> ihdr;
    for (uint32_t v : {uint32_t(width), uint32_t(height)})
        for (int s = 24; s >= 0; s -= 8) ihdr.push_back((v >> s) & 255);
    ihdr.insert(ihdr.end(), {8, 2, 0, 0, 0});  // 8-bit RGB
    chunk("IHDR", ihdr);
    chunk("IDAT", z);
    chunk("IEND", {});
    std::FILE* f = std::fopen(path.c_str(), "wb");
    return f && std::fwrite(out.data(), 1, out.size(), f) == out.size() && std::fclose(f) == 0;
}

}  // namespace render_test
