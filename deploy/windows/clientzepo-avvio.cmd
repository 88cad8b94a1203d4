@echo off
rem Startup script of Group Policy for the workstations of a Windows domain
rem without Ansible: checks the client ZEPO of this workstation and, when the
rem check finds errors, installs it (its folders or files are missing) or
rem repairs it (only its system files are wrong) with the program of the
rem server's share (\\SERVER\zepo\clientzepo.exe beside zepoinst.ini), copied first with its xcopy.exe into %SystemDrive%\clientZEPO:
rem the check writes its list of the share's files into the program's own
rem folder, which must be the workstation's and not one that every
rem workstation shares. Every run appends its steps to the log of the
rem workstation on the share: \\SERVER\zepo\log\COMPUTERNAME\clientzepo.log.
rem
rem   clientzepo-avvio.cmd [SERVER [NUMBER]]
rem
rem The server defaults to ZEPOSRV. The workstation's number, when not
rem given, comes from the line COMPUTERNAME=NUMBER of the share's
rem posti.txt; it is needed for an install only.
setlocal EnableExtensions
set "SERVER=%~1"
if "%SERVER%"=="" set "SERVER=ZEPOSRV"
set "POSTO=%~2"
set "SETUP=\\%SERVER%\zepo"
set "LOCAL=%SystemDrive%\clientZEPO"
set "PROGRAM=%LOCAL%\clientzepo.exe"
set "LOGDIR=\\%SERVER%\zepo\log\%COMPUTERNAME%"
set "LOG=%LOGDIR%\clientzepo.log"
set "REPORT=%TEMP%\clientzepo-verifica.txt"

if not exist "%LOGDIR%\" mkdir "%LOGDIR%"
if not exist "%LOCAL%\" mkdir "%LOCAL%"
copy /y "%SETUP%\clientzepo.exe" "%LOCAL%\" >nul
if errorlevel 1 exit /b 2
copy /y "%SETUP%\xcopy.exe" "%LOCAL%\" >nul
if errorlevel 1 exit /b 2
if "%POSTO%"=="" if exist "%SETUP%\posti.txt" (
  for /f "usebackq eol=; tokens=1,2 delims==" %%a in ("%SETUP%\posti.txt") do (
    if /i "%%a"=="%COMPUTERNAME%" set "POSTO=%%b"
  )
)

"%PROGRAM%" --check --server "%SERVER%" --log "%LOG%" >"%REPORT%"
set STATUS=%ERRORLEVEL%
if "%STATUS%"=="0" exit /b 0
if not "%STATUS%"=="1" exit /b %STATUS%

rem A missing folder, or a missing file of the client (its line names the
rem file with its path; the hosts file's line names HOSTS alone): only a
rem copy from the share brings them back.
set "COPY="
for /f "usebackq delims=" %%l in ("%REPORT%") do call :classify "%%l"
if not defined COPY goto repair
if "%POSTO%"=="" (
  echo clientzepo-avvio: manca il numero del posto di %COMPUTERNAME% in %SETUP%\posti.txt>>"%LOG%"
  exit /b 2
)
"%PROGRAM%" --install --server "%SERVER%" --posto "%POSTO%" --log "%LOG%"
exit /b %ERRORLEVEL%

:repair
"%PROGRAM%" --repair --server "%SERVER%" --log "%LOG%"
exit /b %ERRORLEVEL%

rem One line of the check's report: COPY is set when it names a missing
rem folder or a missing file of the client.
:classify
set "LINE=%~1"
if "%LINE:~0,18%"=="Manca la cartella " set "COPY=1"
if "%LINE:~0,14%"=="Manca il file " if not "%LINE%"=="Manca il file HOSTS" set "COPY=1"
exit /b 0
