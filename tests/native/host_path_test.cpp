#include <gtest/gtest.h>

#include <string>

#include "dialog_support/host_path.h"

namespace {

// A platform without short names of its own: the short form comes from the
// row (null: the system refuses it), and the ANSI code page is Latin-1
// (exact below 256).
const wchar_t* RowShortForm;

int FakeShortForm(const wchar_t*, wchar_t* shortPath, int capacity)
{
    if (!RowShortForm)
        return ShortFormFailed;
    if ((int)wcslen(RowShortForm) >= capacity)
        return ShortFormTooLong;
    wcscpy(shortPath, RowShortForm);
    return (int)wcslen(shortPath);
}

int Latin1(const wchar_t* text, char* ansi, int capacity)
{
    int length = (int)wcslen(text);
    for (int i = 0; i <= length; ++i) {
        if (text[i] > 0xFF || i >= capacity)
            return AnsiInexact;
        ansi[i] = (char)text[i];
    }
    return length;
}

const PathServices Fake = { FakeShortForm, Latin1 };

TEST(HostPath, ShortFormOnlyWhenExactAndFitting)
{
    const std::wstring longName = L"C:\\d\\" + std::wstring(250, L'n') + L".lst";
    const std::wstring fits = L"C:\\" + std::wstring(292, L'D') + L".LST";  // 299 characters
    const std::wstring over = fits + L"X";
    const std::wstring outgrows = L"C:\\" + std::wstring(900, L'D');  // no buffer holds it
    const struct {
        const char* name;
        std::wstring longPath;
        const wchar_t* shortForm;
        int reply;  // HostShortPath, 300 bytes of room
        std::string replyPath;
        int caller;  // HostCallerPath, 255 bytes of room
        std::string callerPath;
    } rows[] = {
        // Names outside the code page that have a short form go through
        // Wine's own conversions in the Windows tests.
        { "in the code page", L"C:\\d\\M\u00fcller.c", L"C:\\D\\MLLER~1.C", HostPathReady,
          "C:\\D\\MLLER~1.C", HostPathReady, "C:\\d\\M\xfcller.c" },
        { "outside it, without one", L"C:\\d\\\u03a9mega.c", L"C:\\d\\\u03a9mega.c",
          HostPathNoAnsiForm, "", HostPathNoAnsiForm, "" },
        // The caller's 255 bytes take neither the long path nor these.
        { "a short form of 299 bytes fits the reply", longName, fits.c_str(), HostPathReady,
          std::string(fits.begin(), fits.end()), HostPathTooLong, "" },
        { "300 do not", longName, over.c_str(), HostPathTooLong, "", HostPathTooLong, "" },
        { "nor one beyond any buffer", longName, outgrows.c_str(), HostPathTooLong, "",
          HostPathTooLong, "" },
        { "a short form the system refuses", L"C:\\d\\\u03a9mega.c", nullptr, HostPathNoShortForm,
          "", HostPathNoShortForm, "" },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        RowShortForm = row.shortForm;
        char path[300] = "";
        EXPECT_EQ(HostShortPath(&Fake, row.longPath.c_str(), path, 300), row.reply);
        if (row.reply == HostPathReady)
            EXPECT_EQ(std::string(path), row.replyPath);
        EXPECT_EQ(HostCallerPath(&Fake, row.longPath.c_str(), path, 255), row.caller);
        if (row.caller == HostPathReady)
            EXPECT_EQ(std::string(path), row.callerPath);
    }
}

}  // namespace
