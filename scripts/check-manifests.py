#!/usr/bin/env python3
"""Checks the package manifests that scripts/package.sh wrote in DIST (default dist) for what the
winget (1.6.0) and scoop manifest schemas require of them: the required fields, the manifest
version, the package version, SHA-256 hashes of the right form and of the right files, https
addresses and the release date's form. Exits non-zero with a message for each fault."""
import datetime
import hashlib
import json
import pathlib
import re
import sys

import yaml

dist = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else "dist")
faults = []


def need(ok, what):
    if not ok:
        faults.append(what)


def sha256(name):
    return hashlib.sha256((dist / name).read_bytes()).hexdigest()


def address(value, what):
    ok = isinstance(value, str) and re.fullmatch(r"https://\S+", value) is not None
    need(ok, f"{what} is no https address: {value!r}")


def is_date(text):
    try:
        return re.fullmatch(r"\d{4}-\d{2}-\d{2}", text) is not None and bool(
            datetime.date.fromisoformat(text))
    except ValueError:
        return False


# the version the release files carry in their names
setups = sorted(dist.glob("Tockwen-*-setup.exe"))
need(len(setups) == 1, "not exactly one installer in dist")
version = setups[0].name[len("Tockwen-") : -len("-setup.exe")] if setups else ""

# every scalar as the text it is written as, so that the forms themselves are checked
manifests = (yaml.load(p.read_text(encoding="utf-8"), Loader=yaml.BaseLoader)
             for p in dist.glob("winget/manifests/*/*/*/*/*.yaml"))
winget = {m.get("ManifestType"): m for m in manifests}
required = {
    "version": ["PackageIdentifier", "PackageVersion", "DefaultLocale"],
    "installer": ["PackageIdentifier", "PackageVersion", "Installers"],
    "defaultLocale": ["PackageIdentifier", "PackageVersion", "PackageLocale", "Publisher", "PackageName",
                      "License", "ShortDescription"],
}
need(sorted(winget) == sorted(required), f"winget manifests of types {sorted(winget)}")
for kind, fields in required.items():
    manifest = winget.get(kind, {})
    for field in fields + ["ManifestVersion"]:
        need(manifest.get(field) not in (None, "", []), f"winget {kind}: no {field}")
    for field, wanted in (("ManifestVersion", "1.6.0"), ("PackageVersion", version)):
        need(manifest.get(field) == wanted, f"winget {kind}: {field} {manifest.get(field)!r}, not {wanted!r}")

installer = winget.get("installer", {})
date = installer.get("ReleaseDate", "")
need(is_date(date), f"winget installer: ReleaseDate {date!r} is no date written YYYY-MM-DD")
for entry in installer.get("Installers", []):
    for field in ("Architecture", "InstallerUrl", "InstallerSha256"):
        need(entry.get(field), f"winget installer: an installer without {field}")
    address(entry.get("InstallerUrl"), "winget InstallerUrl")
    digest = str(entry.get("InstallerSha256"))
    need(re.fullmatch(r"[A-Fa-f0-9]{64}", digest) is not None, "winget InstallerSha256 is no SHA-256")
    if setups:
        need(digest.lower() == sha256(setups[0].name), "winget InstallerSha256 is not the installer's")
locale = winget.get("defaultLocale", {})
for field in ("Moniker", "Copyright"):
    need(locale.get(field), f"winget defaultLocale: no {field}")
address(locale.get("LicenseUrl"), "winget LicenseUrl")

scoop = json.loads((dist / "scoop/tockwen.json").read_text(encoding="utf-8"))
for field in ("version", "description", "homepage", "license", "url", "hash", "bin", "uninstaller"):
    need(scoop.get(field), f"scoop: no {field}")
need(scoop.get("version") == version, f"scoop: version {scoop.get('version')!r}, not {version!r}")
address(scoop.get("url"), "scoop url")
address(scoop.get("homepage"), "scoop homepage")
need(re.fullmatch(r"[a-f0-9]{64}", str(scoop.get("hash"))) is not None, "scoop hash is no SHA-256")
need(scoop.get("hash") == sha256(f"Tockwen-{version}.zip"), "scoop hash is not the zip's")
script = "\n".join(scoop.get("uninstaller", {}).get("script", []))
need("$cmd -eq 'uninstall'" in script, "scoop uninstaller acts on update too")

for fault in faults:
    print(f"MANIFEST CHECK FAILED: {fault}")
sys.exit(1 if faults else 0)
