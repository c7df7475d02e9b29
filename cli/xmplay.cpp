// xmplay.cpp: plays an XM module through the sound device.
//
//   xmplay FILE.xm [--seconds S] [--volume V]
//
// Everything it does is cli::play_main (cli/common/play.h).
#include "cli/common/play.h"

int main(int argc, char** argv) { return cli::play_main(argc, argv); }
