// main.cpp: the program's entry. QUILLON takes no arguments and reads no files.
#include "app/viewer.h"

int main() { app::viewer_main(); }
