@echo off
rem Runs after every turn: writes the webmap from the game database, draws
rem the map page and copies it where the web server serves it. Run it by
rem hand or from Task Scheduler. A failed run publishes nothing, and the
rem script ends with the generator's status.
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
rem The programs are looked for beside this script.
setlocal
if "%~1"=="" goto usage
if "%~2"=="" goto usage
if not exist "%~1\config.txt" (
  >&2 echo publish-webmap: no config.txt in %~1
  goto usage
)
if not exist "%~dp2" (
  >&2 echo publish-webmap: no folder %~dp2
  goto usage
)
set "programs=%~dp0"
pushd "%~1" || exit /b 2
rem Started without a console window (CreateNoWindow), so that a failure
rem never waits for a key, not even in a task that nobody sees; its output
rem is passed on.
powershell -NoProfile -ExecutionPolicy Bypass -Command ^
  "$i = New-Object System.Diagnostics.ProcessStartInfo '%programs%zelkor-generator.exe';" ^
  "$i.UseShellExecute = $false; $i.CreateNoWindow = $true; $i.RedirectStandardOutput = $true;" ^
  "$p = [System.Diagnostics.Process]::Start($i); [Console]::Out.Write($p.StandardOutput.ReadToEnd());" ^
  "$p.WaitForExit(); exit $p.ExitCode"
set status=%ERRORLEVEL%
if not "%status%"=="0" (
  >&2 echo publish-webmap: zelkor-generator ended with status %status%; nothing was published
  popd
  exit /b %status%
)
"%programs%zelkor-map-page.exe" --output webmap.html
set status=%ERRORLEVEL%
if not "%status%"=="0" (
  popd
  exit /b %status%
)
rem Copied beside the target, then moved over it: the web server sees the
rem old page or the new one, never half.
copy /Y webmap.html "%~2.new" >NUL || (popd & exit /b 1)
move /Y "%~2.new" "%~2" >NUL || (popd & exit /b 1)
popd
exit /b 0

:usage
>&2 echo usage: publish-webmap.cmd FOLDER-OF-CONFIG.TXT WEB-PAGE-PATH
exit /b 2
