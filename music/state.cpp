// state.cpp: the player's global records, and the empty sample that a voice
// gets when a note maps to no sample.
#include "music/state.h"

namespace music {
SongState song;
ChannelState channels[max_channels];
Voice voices[voice_count];
StreamState stream;
char song_title[21];
SampleRecord empty_sample;
}  // namespace music
