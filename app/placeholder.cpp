// placeholder.cpp: stand-ins for the viewer's pages, navigation, mouse and
// ticker until the real ones land.
#include "app/viewer.h"

namespace app {
void build_page_table() {}
void select_page(int32_t) {}
void draw_page_rows() {}
void handle_keyboard() {}
void handle_menu() {}
void handle_buttons() {}
void queue_ticker_messages() {}
void draw_ticker() {}
}  // namespace app
