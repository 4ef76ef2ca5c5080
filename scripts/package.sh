#!/usr/bin/env bash
# Builds the release Tockwen.exe and packs it for Windows users, in dist/ (the script's own output
# folder, written afresh on every run):
#   Tockwen-<version>.zip          Tockwen.exe, README.txt, LICENSE.txt
#   Tockwen-<version>-setup.exe    the installer (installer/Tockwen.nsi), per user
#   SHA256SUMS                     for the zip, the installer and the exe
#   winget/manifests/...           the winget manifests of the installer, with its hash
#   scoop/tockwen.json             the scoop manifest of the zip, with its hash
# The same sources always give the same bytes: the exe carries no link time, and the zip and the
# installer store fixed file times and a fixed file order. The time is SOURCE_DATE_EPOCH, or the
# commit's time in a clean git checkout; with neither the script stops, since it cannot tell
# what time the sources are from (a source export), or would pack uncommitted changes under the
# commit's time.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
    if [ "$(git rev-parse --show-toplevel 2>/dev/null)" != "$root" ]; then
        echo "package.sh: this is no git checkout, so the sources' time is unknown." >&2
        echo "Set SOURCE_DATE_EPOCH to it (seconds since 1970), e.g. SOURCE_DATE_EPOCH=1767225600 bash scripts/package.sh" >&2
        exit 1
    fi
    if [ -n "$(git status --porcelain)" ]; then
        echo "package.sh: the checkout has changes that are not committed; they would be packed under the" >&2
        echo "last commit's time. Commit (or stash) them, or set SOURCE_DATE_EPOCH to package them anyway:" >&2
        git status --short >&2
        exit 1
    fi
    SOURCE_DATE_EPOCH=$(git log -1 --format=%ct)
fi
[[ $SOURCE_DATE_EPOCH =~ ^[0-9]+$ ]] || { echo "SOURCE_DATE_EPOCH is no number of seconds: '$SOURCE_DATE_EPOCH'" >&2; exit 1; }
export SOURCE_DATE_EPOCH

bash scripts/setup.sh
build=build/package
# TOCKWEN_PACKAGE_EXE: a release Tockwen.exe already built from these sources with the same
# toolchain (the test command's 32-bit build), packed instead of building another
exe=${TOCKWEN_PACKAGE_EXE:-$build/Tockwen.exe}
if [ -z "${TOCKWEN_PACKAGE_EXE:-}" ]; then
    cmake --no-warn-unused-cli -S . -B $build -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release \
        -DTOCKWEN_TESTS=OFF >/dev/null
    cmake --build $build -j"$(nproc)" --target Tockwen
fi

parts=scripts/release-parts.sh
version=$(bash $parts version)
company=$(bash $parts company)
stage=$build/zip
zip=Tockwen-$version.zip
setup=Tockwen-$version-setup.exe
rm -rf dist
mkdir -p dist
mkdir -p $build
bash $parts stage "$exe" "$stage"
# -X: no uid/gid or extra time fields; -D: no directory entries; DOS times taken in UTC
(cd "$stage" && TZ=UTC zip -q -X -D "$root/dist/$zip" Tockwen.exe README.txt LICENSE.txt)
bash $parts installer "$stage" "dist/$setup" x86

(cd dist && sha256sum "$zip" "$setup") >dist/SHA256SUMS
(cd "$stage" && sha256sum Tockwen.exe) >>dist/SHA256SUMS
hash() { sha256sum "dist/$1" | cut -d' ' -f1; }

# Package manifests. The download addresses are not known here: the maintainer replaces the
# placeholder before each URL's file name (and the scoop homepage) with the real ones.
url=https://DOWNLOAD-FOLDER-TO-FILL-IN
id=$company.Tockwen
released=$(date -u -d "@$SOURCE_DATE_EPOCH" +%Y-%m-%d)
copyright=$(grep -m1 '^Copyright ' LICENSE)
winget=dist/winget/manifests/$(echo "${company:0:1}" | tr '[:upper:]' '[:lower:]')/$company/Tockwen/$version
mkdir -p "$winget" dist/scoop
header="# Made by scripts/package.sh.
PackageIdentifier: $id
PackageVersion: \"$version\""
cat >"$winget/$id.yaml" <<EOF
$header
DefaultLocale: en-US
ManifestType: version
ManifestVersion: 1.6.0
EOF
cat >"$winget/$id.installer.yaml" <<EOF
$header
InstallerType: nullsoft
Scope: user
InstallModes:
- interactive
- silent
- silentWithProgress
UpgradeBehavior: install
ProductCode: Tockwen
ReleaseDate: $released
Installers:
- Architecture: x86
  InstallerUrl: $url/$setup
  InstallerSha256: $(hash "$setup" | tr '[:lower:]' '[:upper:]')
ManifestType: installer
ManifestVersion: 1.6.0
EOF
cat >"$winget/$id.locale.en-US.yaml" <<EOF
$header
PackageLocale: en-US
Publisher: $company
PackageName: Tockwen
Moniker: tockwen
License: MIT
LicenseUrl: https://LICENSE-ADDRESS-TO-FILL-IN
Copyright: $copyright
ShortDescription: A live analog clock in the notification area that speaks the time in Korean.
Tags:
- clock
- tray
- korean
ManifestType: defaultLocale
ManifestVersion: 1.6.0
EOF
# scoop's uninstall leaves the per-user start-with-Windows value behind: the uninstaller removes it,
# and its StartupApproved value, when it names this copy (the version folder, or "current", the
# junction to it that scoop's shortcut starts). Not on `scoop update`, which runs the old version's
# uninstaller too. The settings stay, as scoop keeps user data.
IFS= read -r -d '' uninstaller <<'EOF' || true
    "uninstaller": {
        "script": [
            "if ($cmd -eq 'uninstall') {",
            "    $apps = Split-Path $dir",
            "    $exes = $dir, \"$apps\\$version\", \"$apps\\current\" | ForEach-Object { Join-Path $_ 'Tockwen.exe' }",
            "    $key = 'HKCU:\\Software\\Microsoft\\Windows\\CurrentVersion'",
            "    $named = (Get-ItemProperty ($key + '\\Run') -Name Tockwen -ErrorAction SilentlyContinue).Tockwen",
            "    if ($named -is [string] -and $exes -contains $named.Trim([char[]](32, 9, 34))) {",
            "        Remove-ItemProperty ($key + '\\Run') -Name Tockwen",
            "        Remove-ItemProperty ($key + '\\Explorer\\StartupApproved\\Run') -Name Tockwen -ErrorAction SilentlyContinue",
            "    }",
            "}"
        ]
    }
EOF
cat >dist/scoop/tockwen.json <<EOF
{
    "version": "$version",
    "description": "A live analog clock in the notification area that speaks the time in Korean.",
    "homepage": "https://HOMEPAGE-TO-FILL-IN",
    "license": "MIT",
    "url": "$url/$zip",
    "hash": "$(hash "$zip")",
    "bin": "Tockwen.exe",
    "shortcuts": [["Tockwen.exe", "Tockwen"]],
$uninstaller
}
EOF

find dist -type f | sort
cat dist/SHA256SUMS
