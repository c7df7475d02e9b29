// source.cpp: reading song.txt, instruments.txt and the pattern files (see source.h).
#include "tools/xmcompose/source.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace xmc {
namespace {

bool fail(std::string& error, const std::string& file, int line, const std::string& what) {
    error = file + ":" + std::to_string(line) + ": " + what;
    return false;
}

// The line without its comment. A comment starts with a '#' that begins a
// word, so the sharp of a note such as C#4 and a '#' inside quotes are kept.
std::string strip_comment(const std::string& line) {
    bool quoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '"') quoted = !quoted;
        bool word_start = i == 0 || std::isspace(uint8_t(line[i - 1])) || line[i - 1] == '|';
        if (line[i] == '#' && !quoted && word_start) return line.substr(0, i);
    }
    return line;
}

// Blank-separated words; "quoted text" is one word (without its quotes).
bool split_words(const std::string& line, std::vector<std::string>& words) {
    words.clear();
    size_t i = 0;
    while (i < line.size()) {
        if (std::isspace(uint8_t(line[i]))) {
            ++i;
            continue;
        }
        if (line[i] == '"') {
            size_t end = line.find('"', i + 1);
            if (end == std::string::npos) return false;
            words.push_back(line.substr(i + 1, end - i - 1));
            i = end + 1;
            continue;
        }
        size_t end = i;
        while (end < line.size() && !std::isspace(uint8_t(line[end]))) ++end;
        words.push_back(line.substr(i, end - i));
        i = end;
    }
    return true;
}

bool to_int(const std::string& s, int& out) {
    if (s.empty()) return false;
    char* end = nullptr;
    long v = std::strtol(s.c_str(), &end, 10);
    if (*end != 0 || v < -1000000 || v > 1000000) return false;
    out = int(v);
    return true;
}

bool to_number(const std::string& s, double& out) {
    if (s.empty()) return false;
    char* end = nullptr;
    out = std::strtod(s.c_str(), &end);
    return *end == 0;
}

int hex_digit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

int hex_byte(const std::string& s) {
    if (s.size() != 2) return -1;
    int hi = hex_digit(s[0]), lo = hex_digit(s[1]);
    return hi < 0 || lo < 0 ? -1 : hi * 16 + lo;
}

bool read_file(const std::string& path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream s;
    s << in.rdbuf();
    text = s.str();
    return true;
}

std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    std::istringstream in(text);
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

// Volume column: .. | 00..40 | -y +y dy uy py (the letters are lower case, so
// "d3" is a fine slide, never the out-of-range volume 0xD3)
int parse_volume(const std::string& s) {
    if (s == "..") return 0;
    if (s.size() != 2) return -1;
    int v = hex_byte(s);
    if (v >= 0 && v <= 0x40) return 0x10 + v;
    int y = hex_digit(s[1]);
    if (y < 0) return -1;
    switch (s[0]) {
        case '-': return 0x60 + y;
        case '+': return 0x70 + y;
        case 'd': return 0x80 + y;
        case 'u': return 0x90 + y;
        case 'p': return 0xC0 + y;
        default: return -1;
    }
}

// Effect: ... | letter and two hex digits; letters run 0-9 then A-Z (A = 10).
bool parse_effect(const std::string& s, uint8_t& effect, uint8_t& parameter) {
    if (s == "...") {
        effect = parameter = 0;
        return true;
    }
    if (s.size() != 3) return false;
    int e;
    char c = s[0];
    if (c >= '0' && c <= '9') e = c - '0';
    else if (c >= 'A' && c <= 'Z') e = c - 'A' + 10;
    else return false;
    int p = hex_byte(s.substr(1));
    if (p < 0) return false;
    effect = uint8_t(e);
    parameter = uint8_t(p);
    return true;
}

}  // namespace

int parse_note(const std::string& s) {
    if (s == "---") return 0;
    if (s == "===") return 97;
    if (s.size() != 3) return -1;
    static const char names[] = "C-C#D-D#E-F-F#G-G#A-A#B-";
    int semitone = -1;
    for (int i = 0; i < 12; ++i)
        if (s[0] == names[2 * i] && s[1] == names[2 * i + 1]) semitone = i;
    if (semitone < 0 || s[2] < '0' || s[2] > '7') return -1;
    return (s[2] - '0') * 12 + semitone + 1;
}

bool parse_song_text(const std::string& text, const std::string& file, Song& song, std::string& error) {
    std::vector<std::string> lines = lines_of(text), w;
    bool seen_channels = false, seen_orders = false;
    for (size_t n = 0; n < lines.size(); ++n) {
        int line = int(n) + 1;
        if (!split_words(strip_comment(lines[n]), w)) return fail(error, file, line, "unterminated quote");
        if (w.empty()) continue;
        const std::string& key = w[0];
        if (key == "orders") {
            if (w.size() < 2) return fail(error, file, line, "'orders' needs pattern numbers");
            for (size_t i = 1; i < w.size(); ++i) {
                int v;
                if (!to_int(w[i], v) || v < 0 || v > 255)
                    return fail(error, file, line, "order entry '" + w[i] + "' is not a pattern number 0..255");
                song.orders.push_back(v);
            }
            if (!seen_orders) song.orders_line = line;
            seen_orders = true;
            continue;
        }
        if (w.size() != 2) return fail(error, file, line, "'" + key + "' takes one value");
        const std::string& value = w[1];
        if (key == "title") {
            if (value.size() > 20) return fail(error, file, line, "the title has more than 20 characters");
            song.title = value;
        } else if (key == "table") {
            if (value != "linear" && value != "amiga")
                return fail(error, file, line, "table is 'linear' or 'amiga'");
            song.linear = value == "linear";
        } else {
            int v;
            if (!to_int(value, v)) return fail(error, file, line, "'" + value + "' is not a whole number");
            if (key == "channels") {
                if (v < 1 || v > 32) return fail(error, file, line, "channels must be 1..32");
                song.channels = v;
                seen_channels = true;
            } else if (key == "speed") {
                if (v < 1 || v > 31) return fail(error, file, line, "speed must be 1..31");
                song.speed = v;
            } else if (key == "bpm") {
                if (v < 32 || v > 255) return fail(error, file, line, "bpm must be 32..255");
                song.bpm = v;
            } else if (key == "restart") {
                if (v < 0 || v > 255) return fail(error, file, line, "restart must be 0..255");
                song.restart = v;
            } else {
                return fail(error, file, line, "unknown key '" + key + "'");
            }
        }
    }
    if (!seen_channels) return fail(error, file, int(lines.size()), "no 'channels' line");
    if (!seen_orders) return fail(error, file, int(lines.size()), "no 'orders' line");
    if (song.orders.size() > 256) return fail(error, file, int(lines.size()), "more than 256 orders");
    if (song.restart >= int(song.orders.size()))
        return fail(error, file, int(lines.size()), "restart lies beyond the order list");
    return true;
}

bool parse_instruments_text(const std::string& text, const std::string& file, Song& song, std::string& error) {
    std::vector<std::string> lines = lines_of(text), w;
    InstrumentSource* current = nullptr;
    for (size_t n = 0; n < lines.size(); ++n) {
        int line = int(n) + 1;
        if (!split_words(strip_comment(lines[n]), w)) return fail(error, file, line, "unterminated quote");
        if (w.empty()) continue;
        if (w[0] == "instrument") {
            int number;
            if (w.size() != 3 || !to_int(w[1], number))
                return fail(error, file, line, "expected: instrument NUMBER \"name\"");
            if (number != int(song.instruments.size()) + 1)
                return fail(error, file, line,
                            "instrument " + w[1] + " out of turn; expected " +
                                std::to_string(song.instruments.size() + 1));
            if (w[2].size() > 22) return fail(error, file, line, "instrument name longer than 22 characters");
            InstrumentSource ins;
            ins.number = number;
            ins.name = w[2];
            ins.file = file;
            ins.line = line;
            song.instruments.push_back(ins);
            current = &song.instruments.back();
            continue;
        }
        if (!current) return fail(error, file, line, "'" + w[0] + "' before the first 'instrument' line");
        if (w.size() != 2) return fail(error, file, line, "'" + w[0] + "' takes one value");
        const std::string &key = w[0], &value = w[1];
        if (key == "recipe") {
            current->recipe = value;
            continue;
        }
        double v;
        if (!to_number(value, v)) return fail(error, file, line, "'" + value + "' is not a number");
        auto whole = [&](int lo, int hi, int& out) {
            if (v != double(int(v)) || v < lo || v > hi)
                return fail(error, file, line,
                            key + " must be a whole number " + std::to_string(lo) + ".." + std::to_string(hi));
            out = int(v);
            return true;
        };
        if (key == "volume") {
            if (!whole(0, 64, current->volume)) return false;
        } else if (key == "panning") {
            if (!whole(0, 255, current->panning)) return false;
        } else if (key == "relative") {
            if (!whole(-48, 48, current->relative_note)) return false;
        } else if (key == "finetune") {
            if (!whole(-128, 127, current->finetune)) return false;
        } else {
            if (current->params.count(key)) return fail(error, file, line, "'" + key + "' given twice");
            current->params[key] = v;
        }
    }
    for (const InstrumentSource& ins : song.instruments)
        if (ins.recipe.empty()) return fail(error, file, ins.line, "instrument " + ins.name + " has no recipe");
    if (song.instruments.empty()) return fail(error, file, int(lines.size()), "no instruments");
    if (song.instruments.size() > 128) return fail(error, file, int(lines.size()), "more than 128 instruments");
    return true;
}

bool parse_pattern_text(const std::string& text, const std::string& file, int channels, int instruments,
                        Pattern& pattern, std::string& error) {
    std::vector<std::string> lines = lines_of(text), w;
    bool header = false;
    int next_row = 0;
    pattern.file = file;
    for (size_t n = 0; n < lines.size(); ++n) {
        int line = int(n) + 1;
        std::string body = strip_comment(lines[n]);
        if (!header) {
            if (!split_words(body, w)) return fail(error, file, line, "unterminated quote");
            if (w.empty()) continue;
            // pattern NUMBER [rows COUNT]
            if (w[0] != "pattern" || (w.size() != 2 && w.size() != 4) ||
                !to_int(w[1], pattern.number) || pattern.number < 0 || pattern.number > 255 ||
                (w.size() == 4 && (w[2] != "rows" || !to_int(w[3], pattern.rows))))
                return fail(error, file, line, "expected: pattern NUMBER [rows COUNT]");
            if (pattern.rows < 1 || pattern.rows > 256) return fail(error, file, line, "rows must be 1..256");
            pattern.cells.assign(size_t(pattern.rows) * channels, Cell{});
            header = true;
            continue;
        }
        // ROW | cell | cell | ...
        std::vector<std::string> parts;
        size_t start = 0;
        for (size_t bar; (bar = body.find('|', start)) != std::string::npos; start = bar + 1)
            parts.push_back(body.substr(start, bar - start));
        parts.push_back(body.substr(start));
        if (parts.size() == 1) {
            if (!split_words(parts[0], w)) return fail(error, file, line, "unterminated quote");
            if (w.empty()) continue;
        }
        int row;
        if (!split_words(parts[0], w) || w.size() != 1 || !to_int(w[0], row))
            return fail(error, file, line, "a row starts with its number");
        if (row != next_row)
            return fail(error, file, line, "row " + w[0] + " out of turn; expected " + std::to_string(next_row));
        if (row >= pattern.rows)
            return fail(error, file, line, "row " + w[0] + " beyond the pattern's " + std::to_string(pattern.rows));
        if (int(parts.size()) - 1 != channels)
            return fail(error, file, line,
                        std::to_string(parts.size() - 1) + " cells; the song has " + std::to_string(channels) +
                            " channels");
        for (int ch = 0; ch < channels; ++ch) {
            std::string where = "channel " + std::to_string(ch + 1) + ": ";
            if (!split_words(parts[ch + 1], w) || w.size() != 4)
                return fail(error, file, line, where + "a cell is note, instrument, volume and effect");
            Cell& c = pattern.cells[size_t(row) * channels + ch];
            int note = parse_note(w[0]);
            if (note < 0) return fail(error, file, line, where + "'" + w[0] + "' is no note");
            int instrument = w[1] == ".." ? 0 : hex_byte(w[1]);
            if (instrument < 0) return fail(error, file, line, where + "'" + w[1] + "' is no instrument");
            if (instrument > instruments)
                return fail(error, file, line, where + "instrument " + w[1] + " is not defined");
            int volume = parse_volume(w[2]);
            if (volume < 0) return fail(error, file, line, where + "'" + w[2] + "' is no volume column entry");
            if (!parse_effect(w[3], c.effect, c.parameter))
                return fail(error, file, line, where + "'" + w[3] + "' is no effect");
            c.note = uint8_t(note);
            c.instrument = uint8_t(instrument);
            c.volume = uint8_t(volume);
        }
        ++next_row;
    }
    if (!header) return fail(error, file, int(lines.size()), "no 'pattern' line");
    if (next_row != pattern.rows)
        return fail(error, file, int(lines.size()),
                    "the pattern has " + std::to_string(next_row) + " rows, not " + std::to_string(pattern.rows));
    return true;
}

bool read_song(const std::string& dir, Song& song, std::string& error) {
    namespace fs = std::filesystem;
    std::string text;
    std::string song_file = dir + "/song.txt", instruments_file = dir + "/instruments.txt";
    if (!read_file(song_file, text)) return fail(error, song_file, 0, "cannot be read");
    if (!parse_song_text(text, song_file, song, error)) return false;
    if (!read_file(instruments_file, text)) return fail(error, instruments_file, 0, "cannot be read");
    if (!parse_instruments_text(text, instruments_file, song, error)) return false;

    std::vector<std::string> files;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(dir + "/patterns", ec))
        if (entry.path().extension() == ".txt") files.push_back(entry.path().string());
    if (ec) return fail(error, dir + "/patterns", 0, "cannot be listed");
    std::sort(files.begin(), files.end());
    for (const std::string& f : files) {
        Pattern p;
        if (!read_file(f, text)) return fail(error, f, 0, "cannot be read");
        if (!parse_pattern_text(text, f, song.channels, int(song.instruments.size()), p, error)) return false;
        song.patterns.push_back(std::move(p));
    }
    std::sort(song.patterns.begin(), song.patterns.end(),
              [](const Pattern& a, const Pattern& b) { return a.number < b.number; });
    for (size_t i = 0; i < song.patterns.size(); ++i) {
        if (song.patterns[i].number != int(i))
            return fail(error, song.patterns[i].file, 1,
                        "pattern " + std::to_string(song.patterns[i].number) + " where pattern " +
                            std::to_string(i) + " was expected (numbers run 0.. without gaps or repeats)");
    }
    // Every order names a stored pattern.
    for (size_t i = 0; i < song.orders.size(); ++i)
        if (song.orders[i] >= int(song.patterns.size()))
            return fail(error, song_file, song.orders_line,
                        "order " + std::to_string(i) + " names pattern " + std::to_string(song.orders[i]) +
                            ", which has no file");
    return true;
}

}  // namespace xmc
