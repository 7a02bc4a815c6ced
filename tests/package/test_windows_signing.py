#!/usr/bin/python3
"""Authenticode signatures on the Windows files, made with a throw-away self-signed certificate
(openssl, in a temporary folder) and read back with osslsigncode verify.

Copies of the files the Windows build already made are signed, not rebuilt: every .exe and .dll
of the gathered program folder and the installer. Each then carries one signature whose digest
matches the file, made by the test's certificate. Without the certificate's variables nothing
changes and the files stay unsigned; a wrong password or a missing certificate fails with a
message that says so and leaves the files untouched.

Then package.sh itself, with the certificate, on the same Windows build folder (no compile):
the files inside the zip, the installer, and the uninstaller that NSIS writes (read from an
installation under a throw-away headless Wine prefix) are all signed; with a wrong password it
stops before writing any release.

Needs the Windows build (make windows); without it the test is skipped, and fails in CI."""

import argparse
import filecmp
import glob
import os
import re
import shutil
import subprocess
import sys
import tempfile
import zipfile

SKIP = 77
PASSWORD = "open sesame 7"
SIGNER = "Tirvelon throw-away test signer"
SIGN_VARIABLES = ("TIRVELON_SIGN_CERT", "TIRVELON_SIGN_PASSWORD", "TIRVELON_SIGN_TIMESTAMP")

failures = []


def check(condition, what):
    print("%s: %s" % ("ok" if condition else "FAIL", what))
    if not condition:
        failures.append(what)


def arguments():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--windows-build", required=True, help="the MinGW-w64 build folder")
    parser.add_argument("--dist", required=True, help="folder of the zip and the installer")
    parser.add_argument("--source", required=True, help="the source tree")
    return parser.parse_args()


def require(path, what):
    if os.path.exists(path):
        return
    print("Windows signing: not run, %s is missing (%s); make windows builds it" % (what, path))
    if os.environ.get("CI"):
        print("FAIL: CI always runs the Windows packaging tests", file=sys.stderr)
        sys.exit(1)
    sys.exit(SKIP)


def run(args, env=None, check_rc=True, timeout=600):
    result = subprocess.run(args, env=env, capture_output=True, text=True, errors="replace",
                            timeout=timeout)
    if check_rc and result.returncode != 0:
        raise RuntimeError("%s failed (%d):\n%s%s" % (" ".join(args), result.returncode,
                                                       result.stdout, result.stderr))
    return result


def environment(**sign):
    """This process's environment without any signing variable, plus the given ones."""
    env = {k: v for k, v in os.environ.items() if k not in SIGN_VARIABLES}
    env.update(sign)
    return env


def make_certificate(folder):
    """A self-signed code-signing certificate: (the .pfx, the certificate as PEM)."""
    key, pem, pfx = (os.path.join(folder, n) for n in ("key.pem", "cert.pem", "cert.pfx"))
    run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", key, "-out", pem,
         "-days", "2", "-subj", "/CN=" + SIGNER, "-addext", "keyUsage=digitalSignature",
         "-addext", "extendedKeyUsage=codeSigning"])
    run(["openssl", "pkcs12", "-export", "-inkey", key, "-in", pem, "-out", pfx,
         "-passout", "pass:" + PASSWORD])
    return pfx, pem


def signature(path, ca_file):
    """What osslsigncode verify says of a file: None when it has no signature, else a dict of
    the signer, the number of signatures, whether the digest in it matches the file's, and
    whether the signature checks out against the test's certificate as the trusted root."""
    result = run(["osslsigncode", "verify", "-CAfile", ca_file, "-in", path], check_rc=False)
    text = result.stdout + result.stderr
    if "No signature found" in text:
        return None
    stored = re.search(r"Current message digest\s*:\s*(\w+)", text)
    computed = re.search(r"Calculated message digest\s*:\s*(\w+)", text)
    subject = re.search(r"Subject: (.*)", text)
    count = re.search(r"Number of verified signatures: (\d+)", text)
    return {
        "digest matches": bool(stored and computed and stored.group(1) == computed.group(1)),
        "signer": subject.group(1).strip() if subject else None,
        "signatures": int(count.group(1)) if count else 0,
        "verified": result.returncode == 0 and "Signature verification: ok" in text,
    }


def check_signed(path, pem, name):
    found = signature(path, pem)
    check(found is not None, "%s carries a signature" % name)
    if found is None:
        return
    check(found["digest matches"], "%s: the signature's digest is the file's" % name)
    check(found["signer"] == "/CN=" + SIGNER, "%s: signed by the test's certificate (%s)"
          % (name, found["signer"]))
    check(found["signatures"] == 1 and found["verified"],
          "%s: one signature, valid against the test's certificate" % name)


def check_unsigned(path, pem, name):
    check(signature(path, pem) is None, "%s carries no signature" % name)


def windows_binaries(folder):
    """The .exe and .dll files under a folder, as paths relative to it."""
    found = []
    for here, _, files in os.walk(folder):
        for name in files:
            if name.lower().endswith((".exe", ".dll")):
                found.append(os.path.relpath(os.path.join(here, name), folder))
    return sorted(found)


def sign_copies(sign, stage, setup, tmp, pfx, pem):
    copies = os.path.join(tmp, "copies")
    originals = os.path.join(tmp, "originals")
    names = windows_binaries(stage)
    check("tirvelon.exe" in names and "platforms/qwindows.dll" in names
          and any(n.startswith("libstdc++") for n in names),
          "the program, Qt's plugins and MinGW's DLLs are among the files: %d" % len(names))
    sources = {n: os.path.join(stage, n) for n in names}
    sources["setup.exe"] = setup
    names.append("setup.exe")
    for name in names:
        for folder in (copies, originals):
            target = os.path.join(folder, name)
            os.makedirs(os.path.dirname(target), exist_ok=True)
            # A release built with a certificate: start from the same files unsigned.
            if signature(sources[name], pem) is not None:
                run(["osslsigncode", "remove-signature", "-in", sources[name], "-out", target])
            else:
                shutil.copy2(sources[name], target)
    files = [os.path.join(copies, n) for n in names]

    def untouched(what):
        changed = [n for n in names if not filecmp.cmp(os.path.join(copies, n),
                                                       os.path.join(originals, n), False)]
        check(not changed, "%s: every file unchanged %s" % (what, changed[:3]))

    # No certificate: one line says so, and nothing is signed.
    said = run([sign, "--check"], env=environment())
    lines = (said.stdout + said.stderr).strip().splitlines()
    check(len(lines) == 1 and "not signed" in lines[0],
          "without a certificate the check says so in one line: %r" % lines)
    run([sign, *files], env=environment())
    untouched("without a certificate")
    for name in ("tirvelon.exe", "Qt6Core.dll", "setup.exe"):
        check_unsigned(os.path.join(copies, name), pem, name + " without a certificate")

    # A wrong password and a missing certificate stop before any file is signed.
    for what, env, message in (
            ("a wrong password", environment(TIRVELON_SIGN_CERT=pfx,
                                              TIRVELON_SIGN_PASSWORD="not " + PASSWORD),
             "password"),
            ("a missing certificate", environment(TIRVELON_SIGN_CERT=pfx + ".gone",
                                                  TIRVELON_SIGN_PASSWORD=PASSWORD),
             "cannot read the certificate")):
        for args in ([sign, "--check"], [sign, *files]):
            result = run(args, env=env, check_rc=False)
            check(result.returncode != 0 and message in result.stderr,
                  "%s fails %s with a message naming it: %r"
                  % (what, args[1] if args[1] == "--check" else "signing",
                     result.stderr.strip()[:160]))
        untouched("after " + what)

    # With the certificate: every copy signed, by it, over its own contents.
    env = environment(TIRVELON_SIGN_CERT=pfx, TIRVELON_SIGN_PASSWORD=PASSWORD)
    said = run([sign, "--check"], env=env).stdout
    check(SIGNER in said, "the check names the signer: %r" % said.strip())
    run([sign, *files], env=env)
    for name in names:
        check_signed(os.path.join(copies, name), pem, name)


def package(source, windows_build, stage, tmp, pfx, pem):
    """package.sh on the existing build: (the dist folder, its output) or None when it failed."""
    # The Qt this build was made with, as its CMake cache names it: the cache folder may hold
    # other builds of Qt (of another version of build-qt.sh, or one still being built).
    qt = []
    with open(os.path.join(windows_build, "CMakeCache.txt")) as f:
        for line in f:
            if line.startswith("Qt6_DIR:"):
                qt = [os.path.normpath(os.path.join(line.split("=", 1)[1].strip(), "..", "..",
                                                    ".."))]
    require(qt[0] if qt else os.path.join(windows_build, "CMakeCache.txt (Qt6_DIR)"),
            "the Qt for MinGW-w64")
    script = os.path.join(source, "tools", "windows", "package.sh")

    # A wrong password: nothing is gathered into a release.
    dist = os.path.join(tmp, "dist-wrong-password")
    result = run([script, windows_build, qt[0], dist], check_rc=False, env=environment(
        TIRVELON_SIGN_CERT=pfx, TIRVELON_SIGN_PASSWORD="not " + PASSWORD))
    written = glob.glob(os.path.join(dist, "*.zip")) + glob.glob(os.path.join(dist, "*.exe"))
    check(result.returncode != 0 and not written and "password" in result.stderr,
          "package.sh with a wrong password fails and writes no release: %r"
          % result.stderr.strip()[-200:])

    dist = os.path.join(tmp, "dist")
    run([script, windows_build, qt[0], dist],
        env=environment(TIRVELON_SIGN_CERT=pfx, TIRVELON_SIGN_PASSWORD=PASSWORD))
    zips = glob.glob(os.path.join(dist, "*.zip"))
    setups = glob.glob(os.path.join(dist, "*-setup.exe"))
    check(len(zips) == 1 and len(setups) == 1, "package.sh wrote the zip and the installer")
    if len(zips) != 1 or len(setups) != 1:
        return

    unzipped = os.path.join(tmp, "unzipped")
    with zipfile.ZipFile(zips[0]) as archive:
        archive.extractall(unzipped)
    inside = windows_binaries(unzipped)
    check(sorted(os.path.relpath(n, os.path.basename(stage)) for n in inside)
          == windows_binaries(stage), "the zip holds the program and its DLLs: %d" % len(inside))
    unsigned = [n for n in inside if signature(os.path.join(unzipped, n), pem) is None]
    check(not unsigned, "every .exe and .dll in the zip is signed %s" % unsigned[:5])
    check_signed(os.path.join(unzipped, inside[0]), pem, "in the zip, " + inside[0])
    check_signed(setups[0], pem, "the installer")
    check_uninstaller(setups[0], tmp, pem)


def check_uninstaller(setup, tmp, pem):
    """The uninstaller exists only once the installer writes it: install silently into a
    throw-away prefix (no desktop is needed for /S) and read the files it wrote."""
    prefix = os.path.join(tmp, "wineprefix")
    env = environment(WINEPREFIX=prefix, WINEARCH="win64", WINEDEBUG="-all",
                      WINEDLLOVERRIDES="mscoree,mshtml=")
    env.pop("DISPLAY", None)
    env.pop("WAYLAND_DISPLAY", None)
    try:
        run(["wineboot", "--init"], env=env, timeout=300)
        run(["wine", setup, "/S", r"/D=C:\Tirvelon"], env=env, timeout=300)
        run(["wineserver", "-w"], env=env, timeout=120)
    finally:
        subprocess.run(["wineserver", "-k"], env=env, timeout=60, capture_output=True)
    installed = os.path.join(prefix, "drive_c", "Tirvelon")
    for name in ("uninstall.exe", "tirvelon.exe"):
        path = os.path.join(installed, name)
        check(os.path.isfile(path), "installed: " + name)
        if os.path.isfile(path):
            check_signed(path, pem, "installed " + name)


def main():
    args = arguments()
    build = os.path.abspath(args.windows_build)
    cache = os.path.join(build, "CMakeCache.txt")
    require(cache, "the Windows build")
    with open(cache) as f:
        version = re.search(r"^CMAKE_PROJECT_VERSION:STATIC=(.*)$", f.read(), re.M).group(1)
    stage = os.path.join(args.dist, "tirvelon-%s-windows-x64" % version)
    setup = os.path.join(args.dist, "tirvelon-%s-setup.exe" % version)
    require(stage, "the gathered Windows program")
    require(setup, "the Windows installer")
    sign = os.path.join(args.source, "tools", "windows", "sign.sh")

    with tempfile.TemporaryDirectory(prefix="tirvelon-signing-") as tmp:
        pfx, pem = make_certificate(tmp)
        sign_copies(sign, stage, setup, tmp, pfx, pem)
        package(args.source, build, stage, tmp, pfx, pem)

    if failures:
        print("%d check(s) failed" % len(failures), file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
