@echo off
rem filepick's Windows tests on this machine: every table that makes sense
rem on Windows, each row run whatever the others do. Writes its results
rem beside itself, named by the run (results-standard-user.xml, or
rem results-elevated.xml from an elevated prompt). Passes only when the test
rem program exited 0 and its results file holds every test it ran.
setlocal
cd /d "%~dp0"
rem An elevated token carries the high mandatory level. A whoami that lists
rem no mandatory level at all (Wine's) cannot tell: then whether the
rem server's sessions may be listed, which only an elevated prompt may.
whoami /groups | find "S-1-16-" >nul
if errorlevel 1 goto ask_net
whoami /groups | find "S-1-16-12288" >nul
if errorlevel 1 (set run=standard-user) else (set run=elevated)
goto named
:ask_net
net session >nul 2>&1
if errorlevel 1 (set run=standard-user) else (set run=elevated)
:named
set filter=-CodePage936/*:FullDisk/*
set results=%~dp0results-%run%.xml
echo filepick @VERSION@ test kit, in %~dp0 (%run%)
if exist "%results%" del "%results%"
windows_tests.exe "--gtest_filter=%filter%" "--gtest_output=xml:%results%"
set status=%ERRORLEVEL%
echo.
rem A program ended from outside may report 0: what it writes last, the
rem results, must be there and count every test it was to run.
set listed=0
set written=none
for /f %%n in ('windows_tests.exe "--gtest_filter=%filter%" --gtest_list_tests ^| find /c "  "') do set listed=%%n
if exist "%results%" for /f %%n in ('type "%results%" ^| find "<testcase " ^| find /v /c "notrun"') do set written=%%n
if not "%written%"=="%listed%" (
    echo run-tests: FAILED: the test program ended before it wrote its results, status %status%.
    if "%status%"=="0" set status=1
) else if "%status%"=="0" (
    echo run-tests: passed, %written% tests. A row marked SKIPPED above says why it did not run here.
) else (
    echo run-tests: FAILED, status %status%. The rows marked FAILED above say what went wrong.
)
echo Send %~dp0results-%run%.xml and the output of "filepick-host --doctor --json" with your report.
exit /b %status%
