#!/usr/bin/env bash
# Usage: make_package.sh MANIFEST ZIP DEPFILE
# Makes the Windows package ZIP from the files MANIFEST names (written by
# scripts/dist/CMakeLists.txt): one folder tessaric/ holding
#   bin/             the deliverables, and bin/examples/ the examples
#   run/<program>/   each program's run folder, as its run.conf describes it
#   source/<program>/ the BASIC source each program was built from, with its
#                    resource scripts
#   tests/           the test programs, fixtures/ and source/ (see driver.h)
#   compiler/        tessaric.exe with its kit and the language page, laid
#                    out as make install lays it out
#   run-tests.cmd    runs every test program and sums up
#   README.txt
# DEPFILE lists the source files taken, for the build's dependency check.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$1"
zip_file=$(realpath -m "$2")
depfile=$3
root=$ROOT
source "$here/../run-conf.sh"

stage=$(dirname "$zip_file")/stage
package=$stage/tessaric
rm -rf "$stage"
mkdir -p "$package/bin/examples" "$package/run" "$package/source" "$package/tests/fixtures" "$package/tests/source"
sources=()

for file in "${DELIVERABLES[@]}"; do cp "$file" "$package/bin/"; done
for file in "${EXAMPLES[@]}"; do cp "$file" "$package/bin/examples/"; done

for file in "${DELIVERABLES[@]}" "${EXAMPLES[@]}"; do
  name=$(basename "${file%.*}")
  folder=$(source_folder "$name")
  mkdir "$package/source/$name"
  for source in "$root/$folder"/*.bas "$root/$folder"/*.rc; do
    [ -f "$source" ] || continue
    cp "$source" "$package/source/$name/"
    sources+=("$source")
  done
  load_conf "$name"
  [ "$KIND" = library ] && continue
  mkdir "$package/run/$name"
  copy_run_files "$package/run/$name"
  [ -f "$root/$folder/run.conf" ] && sources+=("$root/$folder/run.conf")
  for pair in $FILES; do sources+=("$root/${pair#*=}"); done
  if [ -n "$DRIVE_D" ]; then
    cp -r "$root/$DRIVE_D" "$package/run/$name/drive_d"
    while IFS= read -r file; do sources+=("$file"); done < <(find "$root/$DRIVE_D" -type f)
  fi
done

# The files a program's resource script reads that the build makes (a cursor
# from text art), beside its source, so that the package's compiler finds them.
for line in "${BUILD_LINES[@]}"; do
  IFS='|' read -r output _ includes <<<"$line"
  for dir in $includes; do
    for file in "$dir"/*.cur "$dir"/*.ico "$dir"/*.bmp; do
      [ -f "$file" ] && cp "$file" "$package/source/${output%.*}/"
    done
  done
done

# The compiler, as an installation that works from wherever it is unpacked.
"$root/scripts/install/install.sh" "$BUILD" "$package/compiler" windows >/dev/null

# The build keeps the test programs' symbols; the package does not need them.
for file in "${TEST_PROGRAMS[@]}"; do "$STRIP" -o "$package/tests/$(basename "$file")" "$file"; done
for file in "${FIXTURE_FILES[@]}"; do
  relative=${file#"$FIXTURE_DIR"/}
  mkdir -p "$(dirname "$package/tests/fixtures/$relative")"
  cp "$file" "$package/tests/fixtures/$relative"
done
# The source files the tests read: every literal path given to driver::SourcePath.
while IFS= read -r relative; do
  mkdir -p "$(dirname "$package/tests/source/$relative")"
  cp "$root/$relative" "$package/tests/source/$relative"
  sources+=("$root/$relative")
done < <(grep -rhoE --include='*.cpp' --include='*.h' 'SourcePath\("[^"]+"\)' "$root/tests" | sed -E 's/^SourcePath\("(.*)"\)$/\1/' | sort -u)

# Text files with Windows line ends.
crlf() { sed 's/\r*$/\r/'; }
crlf <"$here/README.txt" >"$package/README.txt"
{
  cat <<'HEAD'
@echo off
rem Runs every test program in turn from the tests folder and sums up; exits
rem with 0 only when all passed. Each program's output goes to a log file.
setlocal
set TESSARIC_BIN=
set TESSARIC_FIXTURES=
set TESSARIC_SOURCE=
set TESSARIC_TMP=
set "here=%~dp0"
set "scratch=%TEMP%\tessaric-tests"
if exist "%scratch%" rd /s /q "%scratch%"
if not exist "%scratch%\logs" mkdir "%scratch%\logs"
cd /d "%~dp0tests"
set passed=0
set failed=0
HEAD
  for file in "${TEST_PROGRAMS[@]}"; do echo "call :run $(basename "${file%.*}")"; done
  cat <<'REBUILD'
call :compiler
rem The package's compiler builds every program again from its source, into a
rem folder of its own, and the end-to-end tests run again against those
rem builds. A program its code generator cannot build yet (exit code 3) keeps
rem the packaged build there and is listed.
set refused=0
xcopy /e /i /q "%here%bin" "%scratch%\bin" >nul
REBUILD
  for line in "${BUILD_LINES[@]}"; do
    IFS='|' read -r output sources _ <<<"$line"
    folder=
    for file in "${EXAMPLES[@]}"; do [ "$(basename "$file")" = "$output" ] && folder='examples\'; done
    echo "call :build $output \"$sources\" $folder"
  done
  echo 'set "TESSARIC_BIN=%scratch%\bin"'
  for file in "${TEST_PROGRAMS[@]}"; do
    name=$(basename "${file%.*}")
    [[ $name == e2e_* ]] && echo "call :run $name rebuilt"
  done
  cat <<'TAIL'
set TESSARIC_BIN=
set /a total=passed+failed
echo.
echo %passed% of %total% test programs passed, %failed% failed.
echo %refused% programs not built yet by the package's compiler.
echo Their output is in %scratch%\logs.
if %failed% neq 0 exit /b 1
exit /b 0

:run
rem A test program, and "rebuilt" when it runs against the rebuilt programs.
set "label=%~1"
if not "%~2"=="" set "label=%~1 %~2"
"%~1.exe" >"%scratch%\logs\%label%.txt" 2>&1
if %errorlevel% equ 0 (
  echo %label% passed
  set /a passed+=1
) else (
  echo %label% failed
  set /a failed+=1
)
exit /b 0

:build
rem A program from its sources: output, the sources, the folder under bin.
pushd "%here%source\%~n1"
"%here%compiler\bin\tessaric.exe" %~2 -o "%scratch%\bin\%~3%~1" >"%scratch%\logs\build-%~n1.txt" 2>&1
set code=%errorlevel%
popd
if %code% equ 0 (
  echo %~n1 built
  exit /b 0
)
if %code% equ 3 (
  echo %~n1 not built yet
  set /a refused+=1
  exit /b 0
)
echo %~n1 build failed
set /a failed+=1
exit /b 0

:compiler
rem The package's compiler builds hello by itself, and hello greets.
"%here%compiler\bin\tessaric.exe" "%here%source\hello\hello.bas" -o "%scratch%\hello.exe" >"%scratch%\logs\compiler.txt" 2>&1
if errorlevel 1 goto compiler_failed
"%scratch%\hello.exe" <nul >>"%scratch%\logs\compiler.txt" 2>&1
findstr /x /c:"Hello, world!" "%scratch%\logs\compiler.txt" >nul
if errorlevel 1 goto compiler_failed
echo compiler passed
set /a passed+=1
exit /b 0
:compiler_failed
echo compiler failed
set /a failed+=1
exit /b 0
TAIL
} | crlf >"$package/run-tests.cmd"

rm -f "$zip_file"
(cd "$stage" && zip -q -r -X "$zip_file" tessaric)
rm -rf "$stage"

{
  printf '%s:' "${zip_file// /\\ }"
  for file in "${sources[@]}"; do printf ' \\\n  %s' "${file// /\\ }"; done
  printf '\n'
} >"$depfile"
