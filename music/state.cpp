// state.cpp: the player's global records.
#include "music/state.h"

namespace music {
SongState song;
ChannelState channels[max_channels];
Voice voices[voice_count];
StreamState stream;
char song_title[21];
}  // namespace music
