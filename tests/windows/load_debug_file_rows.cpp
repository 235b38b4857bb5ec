// The debug-file dialog.
#include "rows.h"

const Row LoadDebugFile[] = {
    { "opens with the template on KEIL", LD, DIR,
      L"title File Open;" LOAD_TYPES L";enabled 4392 0;cancel" },
    { "a bare name opens in the requested folder", LD, DIR, L"pick Blinky debug output.hex",
      HEX, 0, 0, KEIL },
    // Wine's old-style dialog lets a name that does not exist through;
    // Windows' refuses it in a box of its own.
    { "a debug file that does not exist is told, then another chosen", LD, DIR,
      L"pick {dir}\\mega.c;warn does not exist;pick " HEX, HEX, 0, 0, KEIL,
      L"instead pick {dir}\\mega.c;answer ok;pick " HEX },
    // Windows' dialogs report a path too long for their buffer; Wine's
    // old-style one cuts it and reports success: the cut name does not
    // exist, and is told as such.
    { "a path cut by the old-style dialog gets no reply", LD, DIR,
      L"pick {dir}\\{len:258}.hex;warn does not exist;cancel", 0, 0, L"put {dir}\\{len:258}.hex=x", {},
      L"instead pick {dir}\\{len:258}.hex;warn GetOpenFileName returned Error #12291" },
};
ROWS(LoadDebugFile);
