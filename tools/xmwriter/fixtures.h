// fixtures.h: modules in the layouts and shapes that trackers other than the
// format's own write, shared by the loader's tests and the fuzz seeds.
//
//   xmw::Module m = xmw::overfull_module();   // instruments of 23 and 17 samples
//   m.version = 0x0102;                      // any of them in the older layouts
//   xmw::Module s = xmw::resized_module();    // header sizes other than the usual
//
// Each plays: its patterns strike notes through every instrument, so a test
// can load it in each layout, compare the tables and render it.
#pragma once
#include "tools/xmwriter/xmwriter.h"

namespace xmw {

// Two 16-row patterns on 4 channels (orders 0 1 0). Instrument 1 holds 23
// 8-bit looped samples, its map giving note k sample k % 24 (so some notes
// name sample 23, past the last); instrument 2 holds 17 16-bit samples, its
// map naming 16 on the upper notes and 200 on the top octave.
Module overfull_module();
// A sound module whose every header has another size than the format's own
// tracker writes: a module header that ends with the used orders, pattern
// headers of 12 bytes, instrument headers of 300 and 250 bytes, sample
// headers of 48 and 30 bytes.
Module resized_module();

}  // namespace xmw
