@echo off
rem Runs after every turn: writes the webmap from the game database, draws
rem the map page and copies it where the web server serves it. Run it by
rem hand or from Task Scheduler: it needs cmd and the two programs beside
rem it, nothing else. The programs' input is NUL, so that a failure never
rem waits for a key, not even in a task that nobody sees. A failed run
rem publishes nothing.
rem
rem Usage: publish-webmap.cmd FOLDER-OF-CONFIG.TXT WEB-PAGE-PATH
rem   FOLDER-OF-CONFIG.TXT  the folder with config.txt (and, by its name in
rem                         config.txt, the game database)
rem   WEB-PAGE-PATH         where the page goes, such as a folder the web
rem                         server serves or a mapped drive
rem
rem Task Scheduler, every 15 minutes (one line, in a Command Prompt):
rem   schtasks /Create /SC MINUTE /MO 15 /TN "Quarrion webmap"
rem     /TR "\"C:\zelkor-generator\publish-webmap.cmd\" \"C:\Quarrion\saves\" \"D:\www\webmap.html\""
rem
rem Statuses: 0 published; 2 wrong arguments, no config.txt in the folder
rem or no folder for the page; 3 a program is missing beside this script;
rem 1 the page could not be copied; any other is the failed program's own
rem (README.txt lists them). Those are negative: test the status with
rem   if not %ERRORLEVEL%==0 (...)
rem or with ||, not with "if errorlevel 1", which a negative one never meets.
rem
rem A script that runs it with call finds the status in ERRORLEVEL and in
rem PUBLISH_WEBMAP_STATUS: Wine's call turns every failed status into 1.
rem
rem Written for Windows' cmd and Wine's alike: no || after pushd (Wine's
rem pushd leaves a failed status behind), and one way out, at :end.
setlocal
set "generator=%~dp0zelkor-generator.exe"
set "mappage=%~dp0zelkor-map-page.exe"
set status=2
if "%~1"=="" goto usage
if "%~2"=="" goto usage
if not "%~3"=="" goto usage
if not exist "%~1\config.txt" (
  >&2 echo publish-webmap: no config.txt in %~1
  goto usage
)
if not exist "%~dp2" (
  >&2 echo publish-webmap: no folder %~dp2
  goto usage
)
set status=3
if not exist "%generator%" (
  >&2 echo publish-webmap: zelkor-generator.exe is not beside this script, in %~dp0
  goto end
)
if not exist "%mappage%" (
  >&2 echo publish-webmap: zelkor-map-page.exe is not beside this script, in %~dp0
  goto end
)
rem The page's path counts from where the script started, before pushd.
set "target=%~f2"
pushd "%~1"
"%generator%" <NUL
set status=%ERRORLEVEL%
if not "%status%"=="0" goto generatorFailed
"%mappage%" --output webmap.html <NUL
set status=%ERRORLEVEL%
if not "%status%"=="0" goto mapPageFailed
rem Copied beside the target, then moved over it: the web server sees the
rem old page or the new one, never half.
copy /Y webmap.html "%target%.new" >NUL
if errorlevel 1 goto copyFailed
move /Y "%target%.new" "%target%" >NUL
if errorlevel 1 goto copyFailed
set status=0
goto leaveFolder

:generatorFailed
>&2 echo publish-webmap: zelkor-generator ended with status %status%; nothing was published
goto leaveFolder

:mapPageFailed
>&2 echo publish-webmap: zelkor-map-page ended with status %status%; nothing was published
goto leaveFolder

:copyFailed
>&2 echo publish-webmap: webmap.html could not be copied to %target%; the page there is as it was
set status=1
goto leaveFolder

:usage
>&2 echo usage: publish-webmap.cmd FOLDER-OF-CONFIG.TXT WEB-PAGE-PATH
goto end

:leaveFolder
popd

:end
endlocal & set "PUBLISH_WEBMAP_STATUS=%status%" & exit /b %status%
