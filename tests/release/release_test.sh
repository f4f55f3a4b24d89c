#!/usr/bin/env bash
# script/release with a throwaway certificate: its second build, in another
# folder, is byte for byte the first; the archive is named after the project
# version, holds what SHA256SUMS lists and repacks to the same bytes; its
# launcher is signed, keeps its resources and version, and starts Java under
# Wine with the sample boot file.
#   release_test.sh SOURCE_DIR FIRST_BUILD_EXE VERSION WORK_DIR JAVAW_EXE WINDOWS_TESTS_EXE
set -euo pipefail
src=$1 first=$2 version=$3 work=$4 javaw=$5 windows_tests=$6
fail() { echo "release_test: $*" >&2; exit 1; }
win() { local p=${1//\//\\}; echo "Z:$p"; }
rm -rf "$work" && mkdir -p "$work/unpacked" "$work/install/bin" "$work/install/jre/bin"
openssl req -x509 -newkey rsa:2048 -nodes -subj "/CN=Ledgrix release test" -days 2 \
  -addext extendedKeyUsage=codeSigning -keyout "$work/key.pem" -out "$work/cert.pem" 2>/dev/null
openssl pkcs12 -export -inkey "$work/key.pem" -in "$work/cert.pem" -passout pass:test -out "$work/cert.p12"
export SOURCE_DATE_EPOCH=1700000000 LEDGRIX_SIGN_PKCS12=$work/cert.p12 LEDGRIX_SIGN_PASSWORD=test
"$src/script/release" --build "$work/second-build" --dist "$work/dist"

cmp "$first" "$work/second-build/ledgrix.exe" || fail "two builds of one commit differ"
python3 -m zipfile -e "$work/dist/ledgrix-$version-windows-x64.zip" "$work/unpacked"
listed=$(cd "$work/unpacked" && find . -type f | sort | paste -sd ' ')
[ "$listed" = "./SHA256SUMS ./bin/ledgrix.exe ./ledgrix.boot ./packaging.md" ] || fail "archive holds: $listed"
(cd "$work/unpacked" && sha256sum --check --quiet SHA256SUMS) || fail "SHA256SUMS does not match"
chmod 700 "$work/unpacked/bin/ledgrix.exe"
python3 "$src/tools/release/make_archive.py" "$work/repacked.zip" "$work/unpacked"
cmp "$work/dist/ledgrix-$version-windows-x64.zip" "$work/repacked.zip" || fail "the archive depends on more than its files"

exe=$work/install/bin/ledgrix.exe
cp "$work/unpacked/bin/ledgrix.exe" "$exe" && cp "$javaw" "$work/install/jre/bin/javaw.exe"
verified=$(osslsigncode verify -CAfile "$work/cert.pem" -in "$exe" 2>&1) && grep -q 'Message digest algorithm *: SHA256' <<<"$verified" ||
  fail "no valid SHA-256 signature"
osslsigncode remove-signature -in "$exe" -out "$work/unsigned.exe" >/dev/null
cmp "$first" "$work/unsigned.exe" || fail "the signed launcher is not the build with a signature added"
resources=$(LEDGRIX_EXE=$(win "$exe") LEDGRIX_VERSION=$version timeout 120 "$src/script/run-wine.sh" "$(win "$windows_tests")" \
  --gtest_filter='Start.TheLauncherCarries*') && grep -q '^\[  PASSED  \] 1 test' <<<"$resources" || fail "resources: $resources"
{ cat "$work/unpacked/ledgrix.boot"; printf 'install_dir=%s\r\njrehome=%s\r\n' "$(win "$work/install")" "$(win "$work/install/jre")"; } >"$work/install/ledgrix.boot"
timeout 120 "$src/script/run-wine.sh" "$(win "$exe")" || fail "the signed launcher ended with $?"
grep -q '|-Xms32m|.*lib\\ledgrix-app.jar' "$work/install/javaw.log" || fail "Java was not started with the sample's options and class path"
