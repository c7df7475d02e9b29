// source.h: the module's editable text sources, read into plain records.
//
// A source folder holds
//   song.txt          title, channels, speed, BPM, restart, frequency table, order list
//   instruments.txt   one block per instrument: sample settings and a synthesis recipe
//   patterns/*.txt    one pattern per file, one line per row, one cell per channel
//
//   xmc::Song song;
//   std::string error;
//   if (!xmc::read_song("data/music", song, error)) { print error; fail; }
//
// Every failure names the file and line ("song.txt:4: unknown key 'bmp'").
//
// Pattern rows look like
//   12 | C-2 01 40 ... | --- .. .. F05 | === .. .. ... | ...
// a decimal row number, then per channel four fields separated by blanks:
//   note        C-4, C#4 (C-0..B-7), --- none, === key-off
//   instrument  two hex digits 01.., or .. none
//   volume      .. none; two hex digits 00..40 set the volume; -y +y slide
//               down/up, dy uy fine down/up, py panning (y one hex digit)
//   effect      ... none; an effect letter (0-9, A-Z as in XM) and two hex digits
// A '#' at the start of a word begins a comment; blank lines are ignored.
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace xmc {

struct Cell {
    uint8_t note = 0, instrument = 0, volume = 0, effect = 0, parameter = 0;
};

struct Pattern {
    int number = 0;
    int rows = 64;
    std::vector<Cell> cells;  // rows x channels, row after row
    std::string file;
};

// One instrument: its sample's settings and the recipe that synthesises it.
struct InstrumentSource {
    int number = 0;  // 1-based, as in the patterns
    std::string name;
    std::string recipe;                    // pluck, pulse, pad, kick, snare, hat
    std::map<std::string, double> params;  // the recipe's parameters as written
    int volume = 64, panning = 128, relative_note = 0, finetune = 0;
    std::string file;
    int line = 0;  // where the block starts, for messages
};

struct Song {
    std::string title;
    int channels = 0;
    int speed = 6, bpm = 125, restart = 0;
    bool linear = true;
    std::vector<int> orders;
    int orders_line = 0;  // where the order list starts, for messages
    std::vector<Pattern> patterns;  // by number, 0..n-1
    std::vector<InstrumentSource> instruments;  // by number, 1..n
};

// Reads the three kinds of source from folder `dir`. On failure `error` is
// "FILE:LINE: what is wrong" and the result is false.
bool read_song(const std::string& dir, Song& song, std::string& error);

// Single pieces, for the tests and for read_song.
bool parse_song_text(const std::string& text, const std::string& file, Song& song, std::string& error);
bool parse_instruments_text(const std::string& text, const std::string& file, Song& song, std::string& error);
// `instruments` is the number defined; a cell naming a higher one is an error.
bool parse_pattern_text(const std::string& text, const std::string& file, int channels, int instruments,
                        Pattern& pattern, std::string& error);
// "C-4" -> 49, "---" -> 0, "===" -> 97; -1 when the text is no note.
int parse_note(const std::string& text);

}  // namespace xmc
