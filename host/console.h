// Text as the user reads it: wide characters to a console (WriteConsoleW),
// and, where the output is redirected, UTF-8, as the JSON is. A name is
// never turned into a best-fit look-alike of the ANSI code page.
#ifndef FILEPICK_HOST_CONSOLE_H
#define FILEPICK_HOST_CONSOLE_H

#include <stdio.h>

void PrintText(FILE* out, const wchar_t* text);

#endif
