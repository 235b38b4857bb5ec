// The debug-file dialog.
#include "rows.h"

// A row keeps its fields in groups of a line, as written.
// clang-format off

const Row LoadDebugFile[] = {
    { .name = "opens with the template on KEIL", .verb = LD, .request = DIR,
      .steps = L"title File Open;" LOAD_TYPES L";enabled 4392 0;cancel" },
    { .name = "a bare name opens in the requested folder", .verb = LD, .request = DIR,
      .steps = L"pick Blinky debug output.hex", .reply = HEX, .words = KEIL },
    // Wine's old-style dialog lets a name that does not exist through;
    // Windows' refuses it in a box of its own.
    { .name = "a debug file that does not exist is told, then another chosen", .verb = LD,
      .request = DIR, .steps = L"pick {dir}\\mega.c;warn does not exist;pick " HEX, .reply = HEX,
      .words = KEIL, .onWindows = L"instead pick {dir}\\mega.c;answer ok;pick " HEX },
    // Windows' dialogs report a path too long for their buffer; Wine's
    // old-style one cuts it and reports success: the cut name does not
    // exist, and is told as such.
    { .name = "a path cut by the old-style dialog gets no reply", .verb = LD, .request = DIR,
      .steps = L"pick {dir}\\{len:258}.hex;warn does not exist;cancel",
      .setup = L"put {dir}\\{len:258}.hex=x",
      .onWindows = L"instead pick {dir}\\{len:258}.hex;warn GetOpenFileName returned Error #12291" },
};
ROWS(LoadDebugFile);
