// The request a host writes to C:\FILE before it starts filepick.exe, made
// with the public header's helpers from what a person types: a folder in
// any characters, or the dump mode as text. filepick-host sends it; the
// tests send theirs the same way.
#ifndef FILEPICK_REQUEST_H
#define FILEPICK_REQUEST_H

#include "filepick.h"

enum {
    RequestCapacity = FILEPICK_DIRECTORY_REQUEST_SIZE,  // the largest request
    RequestNotANumber = -1,                             // a dump mode that is not a number
    RequestNotAnsi = -2,    // a directory with no exact ANSI form, nor a short path that has one
    RequestTooLong = -3,    // a directory that does not fit its block
    RequestOutOfRange = -4  // a dump mode beyond a signed 32-bit integer
};

// Fills request (RequestCapacity bytes) for verb (entry/command_line.h)
// from text (null: an empty directory, or mode 0). Its size, or an error.
int BuildRequest(int verb, const wchar_t* text, unsigned char* request);

#endif
