#include "exchange/same_entry.h"

static const wchar_t* WithoutVerbatimPrefix(const wchar_t* path)
{
    return wcsncmp(path, L"\\\\?\\", 4) == 0 ? path + 4 : path;
}

static wchar_t Folded(wchar_t c) { return c >= L'a' && c <= L'z' ? (wchar_t)(c - 32) : c; }

// Whether path starts with prefix (its first length characters, or all of
// it when length is negative); what follows is returned, else null.
static const wchar_t* After(const wchar_t* path, const wchar_t* prefix, int length)
{
    for (int i = 0; length < 0 ? prefix[i] != 0 : i < length; ++i, ++path)
        if (Folded(*path) != Folded(prefix[i]))
            return 0;
    return path;
}

int IsSameEntry(const wchar_t* requested, const wchar_t* store, const wchar_t* handle)
{
    handle = WithoutVerbatimPrefix(handle);
    const wchar_t* rest = After(handle, requested, -1);
    if (rest && !*rest)
        return 1;
    if (!store || !*store)
        return 0;
    // The copy: the store folder, then the requested path without its
    // drive ("C:\FILE" is <store>\FILE).
    if (!(requested[0] && requested[1] == L':' && requested[2] == L'\\'))
        return 0;
    store = WithoutVerbatimPrefix(store);
    int storeLength = (int)wcslen(store);
    while (storeLength > 0 && store[storeLength - 1] == L'\\')
        --storeLength;
    rest = After(handle, store, storeLength);
    rest = rest ? After(rest, requested + 2, -1) : 0;
    return rest && !*rest;
}
