@echo off
rem filepick's Windows tests on this machine: every table that makes sense
rem on Windows, each row run whatever the others do. Writes results.xml
rem beside itself and ends with the test program's exit status.
setlocal
cd /d "%~dp0"
echo filepick @VERSION@ test kit, in %~dp0
windows_tests.exe --gtest_filter=-CodePage936/*:FullDisk/* "--gtest_output=xml:%~dp0results.xml"
set status=%ERRORLEVEL%
echo.
if "%status%"=="0" (
    echo run-tests: passed. A row marked SKIPPED above says why it did not run here.
) else (
    echo run-tests: FAILED, status %status%. The rows marked FAILED above say what went wrong.
)
echo Send %~dp0results.xml and the output of "filepick-host --doctor --json" with your report.
exit /b %status%
