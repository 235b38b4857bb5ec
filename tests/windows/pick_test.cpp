// A Pick row: filepick.exe from end to end, as the host runs it.
#include "rows.h"

#include "driver/request.h"
#include "entry/command_line.h"

// The reply's bytes as the host reads them: the short path in a 300-byte
// block, then for DoLoadDebugFile three little-endian words.
std::string ExpectedReply(const Row& row, const Session& session)
{
    std::wstring chosen = wcscmp(row.reply, L"*") ? Expand(row.reply, session.dir) : session.picked;
    std::string reply = ShortPathOf(chosen);
    reply.resize(300, '\0');
    for (int i = 0; wcscmp(row.verb, L"DoLoadDebugFile") == 0 && i < 12; ++i)
        reply += (char)(row.words[i / 4] >> (8 * (i % 4)));
    return reply;
}

std::string RequestBytes(const Row& row, const std::wstring& dir)
{
    std::wstring request = Expand(row.request, dir);
    if (request.compare(0, 4, L"raw:") == 0)
        return std::string((size_t)_wtoi(request.c_str() + 4), 'a');
    if (request.compare(0, 6, L"block:") == 0) {
        // The folder, then ".\" (the same folder) up to the 299th byte; the
        // 300th is an 'x', where a NUL would be.
        std::string bytes = Narrow(request.substr(6), CP_ACP) + "\\";
        if (bytes.size() % 2 == 0)
            bytes += "\\";
        while (bytes.size() < 299)
            bytes += ".\\";
        return bytes + "x";
    }
    unsigned char bytes[RequestCapacity];
    int size = BuildRequest(FindVerb(Narrow(row.verb, CP_ACP).c_str()), request.c_str(), bytes);
    EXPECT_GT(size, 0) << Utf8(request);
    return std::string((const char*)bytes, size > 0 ? size : 0);
}

void PrintTo(const Row& row, std::ostream* out) { *out << row.name; }

TEST_P(Pick, Row)
{
    const Row& row = GetParam();
    std::string table = testing::UnitTest::GetInstance()->current_test_info()->test_suite_name();
    if (!RunsUnderWine() &&
        (table.rfind("CodePage936/", 0) == 0 || table.rfind("FullDisk/", 0) == 0))
        GTEST_SKIP() << "this table needs a Wine prefix of its own (code page 936, or a drive that "
                        "fills up)";
    BeginRow();
    if (HasFailure())
        return;
    Cleanup cleanup;
    Session session = { {}, FreshFolder() };
    const wchar_t* steps = row.steps;
    if (!ForThisPlatform(row.onWindows, &steps, session.dir))
        return;
    if (row.request)
        WriteFileBytes(L"C:\\FILE", RequestBytes(row, session.dir));
    for (const std::wstring& step : Split(row.setup, L';'))
        session.Step(step);
    if (IsSkipped())
        return;
    ASSERT_FALSE(HasFailure()) << "set-up";
    wchar_t exe[MAX_PATH];
    PathBesideSelf(L"filepick.exe", exe, MAX_PATH);
    std::wstring line = row.verb[0] == L'"' ? row.verb
                                            : L"\"" + std::wstring(exe) + L"\" " + row.verb;
    Process picker;
    session.clock = RowClock();
    ASSERT_TRUE(picker.Start(exe, line));
    session.driver = { picker.info.dwProcessId, picker.info.hProcess, session.clock.Left(), 0, 0 };
    TimeKeeper keeper = { session.clock };
    DWORD expected = steps && wcscmp(steps, L"exit 0") == 0 ? 0 : 1;
    if (steps && expected) {
        // A row stops at its first failed step: what follows would act on a
        // dialog that is not there.
        ASSERT_NE(SessionDialog(&session.driver), nullptr) << "no dialog" << session.Awaited();
        for (const std::wstring& step : Split(steps, L';')) {
            session.Step(step);
            if (HasFailure())
                return;
        }
    } else {
        EXPECT_EQ(
            WaitForDialog(picker.info.dwProcessId, picker.info.hProcess, session.clock.Left(), 0),
            nullptr)
            << "a dialog showed";
    }
    DWORD exitCode = 0;
    ASSERT_TRUE(WaitForExit(picker.info.hProcess, session.clock.Left(), &exitCode))
        << "the picker did not end" << session.Awaited();
    EXPECT_EQ(exitCode, expected);
    session.Release();
    if (row.reply)
        EXPECT_EQ(ReadFileBytes(L"C:\\FILE"), ExpectedReply(row, session));
    CheckAfter(row, session);
}
