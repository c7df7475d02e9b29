// compose.h: turns the parsed sources into the XM writer's description.
//
//   xmc::Song song;      // from read_song (source.h)
//   xmw::Module m;
//   if (!xmc::build_module(song, m, error)) fail(error);
//   std::vector<uint8_t> bytes = xmw::xm_write(m);
//
// Every instrument gets its one synthesised sample (synth.h) on all 96 notes,
// without envelopes, fade-out or auto-vibrato.
#pragma once
#include <string>

#include "tools/xmcompose/source.h"
#include "tools/xmwriter/xmwriter.h"

namespace xmc {

bool build_module(const Song& song, xmw::Module& module, std::string& error);

}  // namespace xmc
