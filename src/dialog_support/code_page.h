// Texts in the system's ANSI code page, the only one the host reads, and
// the dialogs' wide characters.
#ifndef FILEPICK_CODE_PAGE_H
#define FILEPICK_CODE_PAGE_H

#include <windows.h>

// The host's ANSI text as wide characters, into wide of capacity
// characters (cut there); its length.
int AnsiToWide(const char* ansi, wchar_t* wide, int capacity);

// The ANSI form of text into ansi (capacity bytes): its length when the
// bytes read back as the very same characters (no best-fit look-alike, no
// default character), else AnsiInexact (host_path.h).
int ExactAnsi(const wchar_t* text, char* ansi, int capacity);

#endif
