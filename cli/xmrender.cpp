// xmrender.cpp: renders an XM module offline to a WAV file.
//
//   xmrender FILE.xm OUT.wav [--passes N] [--seconds S] [--volume V]
//
// Everything it does is cli::render_main (cli/common/render.h).
#include <cstdio>

#include "cli/common/render.h"

int main(int argc, char** argv) { return cli::render_main(argc, argv, stdout, stderr); }
