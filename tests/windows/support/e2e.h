// Helpers for the end-to-end tests: the exchange file, test folders and
// files, and a fixture that starts filepick.exe and always ends it.
#ifndef FILEPICK_TEST_E2E_H
#define FILEPICK_TEST_E2E_H

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "driver/picker_driver.h"

namespace e2e {

enum {
    DialogTimeoutMs = 60000,
    ExitTimeoutMs = 60000
};

extern const char Exchange[];  // C:\FILE

void RemoveExchange();
void PutExchange(const std::string& bytes);
bool ExchangeExists();
std::string ReadBytes(const std::string& path);  // "<missing>" if absent

// A 300-byte path block holding text.
std::string PathBlock(const std::string& text);
// A 4-byte little-endian integer block.
std::string IntBlock(int value);
int IntAt(const std::string& bytes, size_t offset);
// The text at the start of a path block.
std::string TextOf(const std::string& block);

// A fresh, empty folder C:\filepick-tests\<name> (made anew on each call).
std::string FreshFolder(const std::string& name);
void WriteBytes(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);
std::string ShortPathOf(const std::string& path);

// filepick.exe beside this test program.
std::string PickerPath();

// Starts filepick.exe with a verb (or any command line) and ends it when
// the test ends, whatever happened.
class PickerTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes the request, starts the verb and returns its dialog.
    HWND Open(const std::string& request, const char* verb);
    // Starts "<quoted picker path> <tail>".
    void Start(const std::string& tail);
    // Starts a command line written by hand.
    void StartLine(const std::string& commandLine);
    // The picker's dialog (or a further window such as a prompt when
    // exclude names the dialog); fails the test on timeout.
    HWND Dialog(HWND exclude = 0);
    // Waits for the picker to end; its exit code, or -1 on timeout.
    int ExitCode();
    // Types path into the dialog, accepts it, waits for the picker to end
    // (exit code 1) and returns the reply's path text, or "<none>" when
    // there is no reply. A reply must have replySize bytes.
    std::string Pick(HWND dialog, const std::string& path, size_t replySize = 300);
    // Waits for the picker to end without a dialog: -2 if one shows.
    int ExitCodeWithoutDialog();

    PROCESS_INFORMATION process_ = {};
    // A fresh folder for this test: C:\filepick-tests\<suite>-<test>.
    std::string folder_;
};

std::wstring Text(HWND window);
std::wstring ComboText(HWND dialog, int id, int index);

}  // namespace e2e

#endif
