// End-to-end cases as table rows: a request, what the user does in the
// dialog (a short script), and what must hold afterwards. Every row runs
// filepick.exe through tools/driver, in a fresh folder holding the files
// below, and the same checks hold for every row: exit code 1; a reply, when
// one is expected, of the verb's size whose path is the ASCII short form of
// the chosen file and opens exactly that file; no reply otherwise; nothing
// left at C:\FILE.new or C:\FILE.old.
#ifndef FILEPICK_TEST_E2E_H
#define FILEPICK_TEST_E2E_H

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "driver/picker_driver.h"

namespace e2e {

extern const wchar_t ExchangeFile[];  // C:\FILE

struct Row {
    const char* name;
    // The command tail; the whole command line when it starts with a quote
    // ({picker}: the full path of filepick.exe).
    const wchar_t* verb;
    // "dir:TEXT" a path block of TEXT in the ANSI code page; "mode:N" an
    // integer block; "raw:N" N bytes of 'a'; "raw:nonul" 300 bytes without
    // a NUL, then more; 0: no request at all.
    const wchar_t* request;
    // Steps separated by ';', after the picker started; 0: it must end
    // without showing a dialog; "exit 0": so, with exit code 0.
    // What the dialog shows: "title T", "types A,B" (the file types),
    // "enabled ID 0|1". What the user does, through the driver: "type N",
    // "click ID", "pick PATH", "answer ID", "warn TEXT", "cancel". Files:
    // "put PATH=TEXT" (parents made), "mkdir P", "hold P" and "holdshared P"
    // (kept open without write or delete sharing, or with delete sharing),
    // "readonly P", "symlink P>TARGET", "hardlink P>TARGET", "fill" (the
    // drive, till it is full).
    const wchar_t* steps;
    const wchar_t* reply;    // the file whose short path is replied ("*": the
                             // one picked last); 0: none
    const wchar_t* after;    // files afterwards, as CheckAfter takes them
    const wchar_t* setup;    // steps before the picker starts (request written)
    int words[3];            // DoLoadDebugFile: startup skip, symbol only, format
};

// Runs the rows of a table in turn (FILEPICK_ROWS=TEXT: only those whose
// name holds TEXT); after a row in which a wait ran out (a dialog that never
// showed, a picker that never ended) the table stops.
void RunRows(const char* suite, const Row* rows, int count);
#define RUN_ROWS(suite, table) \
    TEST(suite, Table) { RunRows(#suite, table, (int)(sizeof table / sizeof *table)); }

// A fresh folder for a row, C:\filepick-tests\<suite>-<index>, holding
// the standard files (each file's content is its own name, in UTF-8).
std::wstring FreshFolder(const char* suite, int index);

// {dir}: the row's folder; {len:N}: as many 'y' as make the text N long.
std::wstring Expand(const std::wstring& text, const std::wstring& dir);

// The parts of text between separators (none of a null text).
std::vector<std::wstring> Split(const wchar_t* text, wchar_t separator);

// Checks "PATH=TEXT;..." (TEXT in UTF-8; ! absent, / a folder, * any file;
// no PATH: the picked one).
void CheckAfter(const wchar_t* after, const std::wstring& dir, const std::wstring& picked = L"");

// Runs a program beside this one with a command tail to its end, standard
// output captured; its exit code, -1 if it did not end.
int Run(const std::wstring& exe, const std::wstring& tail, std::string* output);

std::wstring Wide(const std::string& ansi);
std::string Utf8(const std::wstring& wide);
std::string ReadFileBytes(const std::wstring& path);  // "<missing>" if absent
void WriteFileBytes(const std::wstring& path, const std::string& bytes);
std::string ShortPathOf(const std::wstring& path);    // as ANSI bytes

}  // namespace e2e

#endif
