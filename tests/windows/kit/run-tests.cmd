@echo off
rem filepick's Windows tests on this machine: every table that makes sense
rem on Windows, each row run whatever the others do. Writes its results
rem beside itself, named by the run (results-standard-user.xml, or
rem results-elevated.xml from an elevated prompt), and ends with the test
rem program's exit status.
setlocal
cd /d "%~dp0"
rem Only an elevated prompt may list the server's sessions.
net session >nul 2>&1
if errorlevel 1 (set run=standard-user) else (set run=elevated)
echo filepick @VERSION@ test kit, in %~dp0 (%run%)
windows_tests.exe --gtest_filter=-CodePage936/*:FullDisk/* "--gtest_output=xml:%~dp0results-%run%.xml"
set status=%ERRORLEVEL%
echo.
if "%status%"=="0" (
    echo run-tests: passed. A row marked SKIPPED above says why it did not run here.
) else (
    echo run-tests: FAILED, status %status%. The rows marked FAILED above say what went wrong.
)
echo Send %~dp0results-%run%.xml and the output of "filepick-host --doctor --json" with your report.
exit /b %status%
