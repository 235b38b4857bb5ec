// The debug-file dialog.
#include "rows.h"

const Row LoadDebugFile[] = {
    { "opens with the template on KEIL", LD, DIR,
      L"title File Open;" LOAD_TYPES L";enabled 4392 0;cancel" },
    { "a bare name opens in the requested folder", LD, DIR, L"pick Blinky debug output.hex",
      HEX, 0, 0, KEIL },
    // Windows' dialogs report a path too long for their buffer; Wine's
    // old-style one cuts it and reports success.
    { "a path cut by the old-style dialog gets no reply", LD, DIR, L"pick {dir}\\{len:258}.hex",
      0, 0, L"put {dir}\\{len:258}.hex=x", {},
      L"instead pick {dir}\\{len:258}.hex;warn GetOpenFileName returned Error #12291" },
};
ROWS(LoadDebugFile);
