#!/usr/bin/env python3
"""Checks of the built release packages (ctest entries packaging.*).

  check_packages.py portable --zip Z --exe E --version V
      The portable zip holds exactly Tovik.exe (the built one, byte for byte)
      and README.txt (UTF-8 with byte-order mark, CRLF, German and English,
      the version, the registry keys and how to remove them).
  check_packages.py winget --manifests DIR --setup S --version V --product-code P
                           --installer-script NSI --release-defines NSH
      The winget manifest set: the fields each manifest type requires, their
      value patterns, and agreement with the installer (SHA-256, product
      code, exit codes) and with each other.
  check_packages.py readme --readme R --version V
      README.md names the packages of this version.
  check_packages.py icon --exe E
      The program icon of Tovik.exe holds 16 to 256 px, 32 bits with alpha.
  check_packages.py imports --exe E --objdump O
      Tovik.exe imports only DLLs that Windows always takes from its own
      folder (KnownDLLs of Windows 7 to 11) and comctl32 (the manifest's).

Exits 1 with one line per fault; prints what it checked otherwise.
"""
import argparse
import hashlib
import pathlib
import re
import struct
import subprocess
import sys
import zipfile

import yaml

faults = []


def fault(text):
    faults.append(text)


def finish(what):
    if faults:
        for f in faults:
            print(f"FAULT: {f}")
        sys.exit(1)
    print(f"OK: {what}")


# ---------------------------------------------------------------- portable zip

def check_portable(args):
    with zipfile.ZipFile(args.zip) as archive:
        bad = archive.testzip()
        if bad:
            fault(f"{bad} is damaged in {args.zip}")
        names = sorted(archive.namelist())
        expected = sorted(["Tovik.exe", "README.txt"])
        if names != expected:
            fault(f"the zip holds {names}, expected {expected}")
        if "Tovik.exe" in names:
            if archive.read("Tovik.exe") != pathlib.Path(args.exe).read_bytes():
                fault("Tovik.exe in the zip is not the built one")
        if "README.txt" in names:
            check_readme_txt(archive.read("README.txt"), args.version)
    finish(f"{args.zip}")


def check_readme_txt(data, version):
    if not data.startswith(b"\xef\xbb\xbf"):
        fault("README.txt has no UTF-8 byte-order mark (Notepad would show the umlauts wrong)")
    if re.search(rb"(?<!\r)\n", data):
        fault("README.txt has line ends without CR")
    try:
        text = data.decode("utf-8-sig")
    except UnicodeDecodeError as error:
        fault(f"README.txt is not UTF-8: {error}")
        return
    required = [
        (f"Tovik {version}", "the version"),
        ("Deutsch", "the German part"),
        ("English", "the English part"),
        ("Einstellungen und", "the German note on settings and counters"),
        ("settings and usage counters", "the English note on settings and counters"),
        ("HKEY_CURRENT_USER\\Software\\Zeb\\Tovik", "the settings key"),
        ("HKEY_CURRENT_USER\\Software\\Zeb\\Zeb_Diagnostic", "the diagnostic key"),
        ('reg delete "HKCU\\Software\\Zeb\\Tovik" /f', "how to remove the settings"),
        ('reg delete "HKCU\\Software\\Zeb\\Zeb_Diagnostic" /f', "how to remove the counters"),
    ]
    for needle, what in required:
        if needle not in text:
            fault(f"README.txt lacks {what} ({needle!r})")
    if "@" in text:
        fault("README.txt has an unreplaced @VARIABLE@")


# ---------------------------------------------------------------- winget

IDENTIFIER = re.compile(r'^[^.\s\\/:*?"<>|\x01-\x1f]{1,32}(\.[^.\s\\/:*?"<>|\x01-\x1f]{1,32}){1,7}$')
VERSION = re.compile(r'^[^\\/:*?"<>|\x01-\x1f]+$')
LOCALE = re.compile(r"^([a-zA-Z]{2,3}|[iI]-[a-zA-Z]+|[xX]-[a-zA-Z]{1,8})(-[a-zA-Z]{1,8})*$")
MANIFEST_VERSION = re.compile(r"^(0|[1-9]\d{0,4})\.(0|[1-9]\d{0,4})\.(0|[1-9]\d{0,4})$")
URL = re.compile(r"^([Hh][Tt][Tt][Pp][Ss]?)://.+$")
SHA256 = re.compile(r"^[A-Fa-f0-9]{64}$")
ARCHITECTURES = {"x86", "x64", "arm", "arm64", "neutral"}
INSTALLER_TYPES = {"msix", "msi", "appx", "exe", "zip", "inno", "nullsoft", "wix", "burn", "pwa", "portable"}
SCOPES = {"user", "machine"}
INSTALL_MODES = {"interactive", "silent", "silentWithProgress"}
RETURN_RESPONSES = {
    "packageInUse", "packageInUseByApplication", "installInProgress", "fileInUse", "missingDependency",
    "diskFull", "insufficientMemory", "invalidParameter", "noNetwork", "contactSupport",
    "rebootRequiredToFinish", "rebootRequiredForInstall", "rebootInitiated", "cancelledByUser",
    "alreadyInstalled", "downgrade", "blockedByPolicy", "systemNotSupported", "custom",
}

# Required fields per manifest type, with the length limits of the schema.
REQUIRED = {
    "version": ["PackageIdentifier", "PackageVersion", "DefaultLocale", "ManifestType", "ManifestVersion"],
    "defaultLocale": ["PackageIdentifier", "PackageVersion", "PackageLocale", "Publisher", "PackageName",
                      "License", "ShortDescription", "ManifestType", "ManifestVersion"],
    "installer": ["PackageIdentifier", "PackageVersion", "Installers", "ManifestType", "ManifestVersion"],
}
LENGTHS = {"Publisher": (2, 256), "PackageName": (2, 256), "License": (3, 512), "ShortDescription": (3, 256),
           "Description": (3, 10000), "Copyright": (3, 512), "Moniker": (1, 40), "PackageVersion": (1, 128)}


def load(path):
    try:
        data = yaml.safe_load(path.read_text(encoding="utf-8"))
    except (OSError, yaml.YAMLError) as error:
        fault(f"{path.name}: {error}")
        return None
    if not isinstance(data, dict):
        fault(f"{path.name}: not a mapping")
        return None
    return data


def text(manifest, name):
    value = manifest.get(name)
    return None if value is None else str(value)


def check_common(name, manifest, kind):
    for field in REQUIRED[kind]:
        if field not in manifest or manifest[field] in (None, "", []):
            fault(f"{name}: required field {field} is missing")
    if manifest.get("ManifestType") != kind:
        fault(f"{name}: ManifestType is {manifest.get('ManifestType')!r}, expected {kind!r}")
    if not MANIFEST_VERSION.match(text(manifest, "ManifestVersion") or ""):
        fault(f"{name}: ManifestVersion {manifest.get('ManifestVersion')!r} is not n.n.n")
    if not IDENTIFIER.match(text(manifest, "PackageIdentifier") or ""):
        fault(f"{name}: PackageIdentifier {manifest.get('PackageIdentifier')!r} does not match the schema")
    if not VERSION.match(text(manifest, "PackageVersion") or ""):
        fault(f"{name}: PackageVersion {manifest.get('PackageVersion')!r} does not match the schema")
    for field, (low, high) in LENGTHS.items():
        if field in manifest and not low <= len(str(manifest[field])) <= high:
            fault(f"{name}: {field} must have {low} to {high} characters")


def nsis_define(path, name):
    match = re.search(rf'^!define\s+{name}\s+"?([^"\n]*)"?\s*$', path.read_text(encoding="utf-8"), re.M)
    return match.group(1) if match else None


def check_winget(args):
    folder = pathlib.Path(args.manifests)
    code = args.product_code
    files = {
        "version": folder / f"{code}.yaml",
        "installer": folder / f"{code}.installer.yaml",
    }
    version_manifest = load(files["version"]) if files["version"].exists() else None
    if version_manifest is None:
        fault(f"no version manifest {files['version'].name}")
        finish("")
    locale = text(version_manifest, "DefaultLocale") or ""
    if not LOCALE.match(locale):
        fault(f"DefaultLocale {locale!r} does not match the schema")
    files["defaultLocale"] = folder / f"{code}.locale.{locale}.yaml"
    present = sorted(p.name for p in folder.iterdir())
    if present != sorted(p.name for p in files.values()):
        fault(f"the manifest folder holds {present}, expected {sorted(p.name for p in files.values())}")

    manifests = {"version": version_manifest}
    for kind in ("defaultLocale", "installer"):
        manifests[kind] = load(files[kind]) if files[kind].exists() else None
        if manifests[kind] is None:
            fault(f"no {kind} manifest {files[kind].name}")
            finish("")
    for kind, manifest in manifests.items():
        check_common(files[kind].name, manifest, kind)
        if text(manifest, "PackageIdentifier") != code:
            fault(f"{files[kind].name}: PackageIdentifier is not {code}")
        if text(manifest, "PackageVersion") != args.version:
            fault(f"{files[kind].name}: PackageVersion is not the project version {args.version}")
    if len({text(m, "ManifestVersion") for m in manifests.values()}) != 1:
        fault("the manifests differ in ManifestVersion")

    default_locale = manifests["defaultLocale"]
    if text(default_locale, "PackageLocale") != locale:
        fault(f"PackageLocale {default_locale.get('PackageLocale')!r} is not the DefaultLocale {locale!r}")

    installer = manifests["installer"]
    entries = installer.get("Installers")
    if not isinstance(entries, list) or not entries:
        fault("Installers must be a non-empty list")
        entries = []
    sha = hashlib.sha256(pathlib.Path(args.setup).read_bytes()).hexdigest()
    exit_running = nsis_define(pathlib.Path(args.installer_script), "EXIT_TOVIK_RUNNING")
    for index, entry in enumerate(entries):
        where = f"Installers[{index}]"
        # Root-level values are the defaults of every installer.
        merged = {**{k: v for k, v in installer.items() if k != "Installers"}, **entry}
        if merged.get("Architecture") not in ARCHITECTURES:
            fault(f"{where}: Architecture {merged.get('Architecture')!r} is missing or unknown")
        if merged.get("Architecture") != "x64":
            fault(f"{where}: Tovik.exe is a 64-bit program, Architecture must be x64")
        if not URL.match(text(merged, "InstallerUrl") or ""):
            fault(f"{where}: InstallerUrl is missing or not an http(s) address")
        elif not text(merged, "InstallerUrl").endswith("/" + pathlib.Path(args.setup).name):
            fault(f"{where}: InstallerUrl does not name {pathlib.Path(args.setup).name}")
        if not SHA256.match(text(merged, "InstallerSha256") or ""):
            fault(f"{where}: InstallerSha256 is missing or not 64 hex digits")
        elif text(merged, "InstallerSha256").lower() != sha:
            fault(f"{where}: InstallerSha256 is not the SHA-256 of {args.setup}")
        if merged.get("InstallerType") not in INSTALLER_TYPES:
            fault(f"{where}: InstallerType {merged.get('InstallerType')!r} is missing or unknown")
        if merged.get("InstallerType") != "nullsoft":
            fault(f"{where}: InstallerType must be nullsoft")
        if merged.get("Scope") not in SCOPES or merged.get("Scope") != "user":
            fault(f"{where}: Scope must be user")
        modes = merged.get("InstallModes", [])
        if not set(modes) <= INSTALL_MODES or "silent" not in modes:
            fault(f"{where}: InstallModes {modes!r} must be known modes including silent")
        switches = merged.get("InstallerSwitches") or {}
        for switch in ("Silent", "SilentWithProgress"):
            if switches.get(switch) != "/S":
                fault(f"{where}: InstallerSwitches.{switch} must be /S")
        if text(merged, "ProductCode") != code:
            fault(f"{where}: ProductCode is not {code}, the name of the Uninstall key")
        for apps in merged.get("AppsAndFeaturesEntries", []):
            if text(apps, "ProductCode") != code:
                fault(f"{where}: AppsAndFeaturesEntries ProductCode is not {code}")
            if text(apps, "DisplayVersion") != args.version:
                fault(f"{where}: AppsAndFeaturesEntries DisplayVersion is not {args.version}")
            if text(apps, "Publisher") != text(default_locale, "Publisher"):
                fault(f"{where}: AppsAndFeaturesEntries Publisher differs from the locale's Publisher")
        returns = merged.get("ExpectedReturnCodes", [])
        for item in returns:
            if not isinstance(item.get("InstallerReturnCode"), int) or item["InstallerReturnCode"] == 0:
                fault(f"{where}: InstallerReturnCode {item.get('InstallerReturnCode')!r} must be a non-zero integer")
            if item.get("ReturnResponse") not in RETURN_RESPONSES:
                fault(f"{where}: ReturnResponse {item.get('ReturnResponse')!r} is unknown")
        in_use = [str(i.get("InstallerReturnCode")) for i in returns if i.get("ReturnResponse") == "packageInUse"]
        if in_use != [exit_running]:
            fault(f"{where}: packageInUse must be the installer's running-Tovik exit code {exit_running}")

    # The installer writes the Uninstall key that the ProductCode names.
    script = pathlib.Path(args.installer_script).read_text(encoding="utf-8")
    if not re.search(r'^!define UNINSTALL_KEY "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\\$\{PRODUCT_CODE\}"',
                     script, re.M):
        fault("the installer script does not name its Uninstall key after PRODUCT_CODE")
    if nsis_define(pathlib.Path(args.release_defines), "PRODUCT_CODE") != code:
        fault(f"the installer's PRODUCT_CODE is not {code}")
    if nsis_define(pathlib.Path(args.release_defines), "VERSION") != args.version:
        fault(f"the installer's VERSION is not {args.version}")
    finish(f"{folder}")


# ---------------------------------------------------------------- README.md

def check_readme(args):
    readme = pathlib.Path(args.readme).read_text(encoding="utf-8")
    for name in (f"Tovik-{args.version}-setup.exe", f"Tovik-{args.version}-portable.zip"):
        if name not in readme:
            fault(f"README.md does not name {name}: its version is not the project version {args.version}")
    finish(f"{args.readme}")


# ---------------------------------------------------------------- program icon

def pe_resources(exe):
    """{(type, id): data} of a PE32+ file's resources, first language of each."""
    pe = struct.unpack_from("<I", exe, 0x3C)[0]
    count, optional_size = struct.unpack_from("<H12xH", exe, pe + 6)
    root_rva = struct.unpack_from("<I", exe, pe + 24 + 112 + 2 * 8)[0]
    sections = [struct.unpack_from("<8xII4xI", exe, pe + 24 + optional_size + 40 * k) for k in range(count)]
    offset = lambda rva: next(raw + rva - va for size, va, raw in sections if va <= rva < va + size)
    root = offset(root_rva) if root_rva else None
    entries = lambda at: [struct.unpack_from("<II", exe, root + at + 16 + 8 * k)
                          for k in range(sum(struct.unpack_from("<12xHH", exe, root + at)))]
    found = {}
    for kind, names in entries(0) if root else []:
        for name, languages in entries(names & 0x7FFFFFFF):
            rva, size = struct.unpack_from("<II", exe, root + entries(languages & 0x7FFFFFFF)[0][1])
            found[(kind, name)] = exe[offset(rva):offset(rva) + size]
    return found


def check_icon(args):
    resources = pe_resources(pathlib.Path(args.exe).read_bytes())
    group = resources.get((14, 1), bytes(6))          # RT_GROUP_ICON IDI_TOVIK
    listed = []
    for k in range(struct.unpack_from("<4xH", group)[0]):
        width, height, _, _, _, bits, _, image_id = struct.unpack_from("<BBBBHHIH", group, 6 + 14 * k)
        image = resources.get((3, image_id), bytes(16))  # RT_ICON: PNG or BITMAPINFOHEADER
        image_bits = 32 if image.startswith(b"\x89PNG") else struct.unpack_from("<H", image, 14)[0]
        listed.append(f"{width or 256}x{height or 256}/{bits}/{image_bits}")
    print("icon sizes (width x height / bits in the group / bits of the image):", " ".join(listed))
    if sorted(listed) != sorted(f"{size}x{size}/32/32" for size in (16, 20, 24, 32, 40, 48, 64, 256)):
        fault("the program icon lacks a size from 16 to 256 px at 32 bits with alpha")
    finish(args.exe)


# ---------------------------------------------------------------- import table

SYSTEM_FOLDER_DLLS = {
    "advapi32", "clbcatq", "comdlg32", "difxapi", "gdi32", "imagehlp", "imm32", "kernel32", "msctf", "msvcrt",
    "normaliz", "nsi", "ole32", "oleaut32", "psapi", "rpcrt4", "sechost", "setupapi", "shell32", "shlwapi",
    "user32", "wldap32", "ws2_32", "ntdll", "comctl32"}


def check_imports(args):
    table = subprocess.run([args.objdump, "-p", args.exe], capture_output=True, text=True, check=True).stdout
    names = re.findall(r"^\s*DLL Name:\s*(\S+)", table, re.M)
    if "kernel32" not in {n.lower().removesuffix(".dll") for n in names}:
        fault(f"no import table read from {args.exe}")
    for name in names:
        if name.lower().removesuffix(".dll") not in SYSTEM_FOLDER_DLLS:
            fault(f"{args.exe} imports {name}, which Windows may load from the program's folder")
    finish(f"{args.exe} imports {', '.join(names)}")


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    commands = parser.add_subparsers(dest="command", required=True)
    portable = commands.add_parser("portable")
    portable.add_argument("--zip", required=True)
    portable.add_argument("--exe", required=True)
    portable.add_argument("--version", required=True)
    winget = commands.add_parser("winget")
    winget.add_argument("--manifests", required=True)
    winget.add_argument("--setup", required=True)
    winget.add_argument("--version", required=True)
    winget.add_argument("--product-code", required=True)
    winget.add_argument("--installer-script", required=True)
    winget.add_argument("--release-defines", required=True)
    readme = commands.add_parser("readme")
    readme.add_argument("--readme", required=True)
    readme.add_argument("--version", required=True)
    commands.add_parser("icon").add_argument("--exe", required=True)
    imports = commands.add_parser("imports")
    imports.add_argument("--exe", required=True)
    imports.add_argument("--objdump", required=True)
    args = parser.parse_args()
    {"portable": check_portable, "winget": check_winget, "readme": check_readme,
     "icon": check_icon, "imports": check_imports}[args.command](args)


if __name__ == "__main__":
    main()
