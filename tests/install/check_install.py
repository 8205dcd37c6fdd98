#!/usr/bin/env python3
"""Installs the build into a scratch DESTDIR, or packages it as a Debian package, and checks the
result: the file list, the desktop validators, the file type, the icons and the dependencies.

usage: check_install.py install|package BUILD SCRATCH APPLICATION_ID BINDIR DATADIR
"""
import os
import shutil
import struct
import subprocess
import sys
import xml.etree.ElementTree as ElementTree

PREFIX = "/usr"
CMAKE = os.environ.get("GLYFORA_CMAKE", "cmake")
CPACK = os.environ.get("GLYFORA_CPACK", "cpack")

# Libraries the programs link, which dpkg-shlibdeps must turn into dependencies, and the one that
# is named by hand.
EXPECTED_DEPENDENCIES = [
    "libc6", "libstdc++6", "libqt6core6", "libqt6gui6", "libqt6widgets6", "libqt6opengl6",
    "libqt6openglwidgets6", "libfreetype6", "libfontconfig1", "libpng16-16", "libexpat1",
    "zlib1g", "qt6-qpa-plugins",
]


def fail(message):
    print("FAIL: " + message)
    sys.exit(1)


def run(argv, env=None, expect=0, timeout=300):
    done = subprocess.run(argv, env=env, capture_output=True, text=True, timeout=timeout)
    if expect is not None and done.returncode != expect:
        fail(f"{' '.join(argv)} exited with {done.returncode}:\n{done.stdout}{done.stderr}")
    return done


def expected_files(application_id, bindir, datadir):
    data = f"{datadir}/"
    return sorted([
        f"{bindir}/glyfora",
        f"{bindir}/glyfora-cli",
        data + f"applications/{application_id}.desktop",
        data + f"icons/hicolor/48x48/apps/{application_id}.png",
        data + f"icons/hicolor/256x256/apps/{application_id}.png",
        data + f"icons/hicolor/scalable/apps/{application_id}.svg",
        data + f"metainfo/{application_id}.metainfo.xml",
        data + f"mime/packages/{application_id}.xml",
    ])


def files_below(root):
    found = []
    for folder, _, names in os.walk(root):
        found += [os.path.relpath(os.path.join(folder, name), root) for name in names]
    return sorted(found)


def desktop_value(path, key):
    with open(path, encoding="utf-8") as entry:
        for line in entry:
            if line.startswith(key + "="):
                return line[len(key) + 1:].strip()
    return None


def png_size(path):
    with open(path, "rb") as png:
        header = png.read(24)
    if header[:8] != b"\x89PNG\r\n\x1a\n" or header[12:16] != b"IHDR":
        fail(f"{path} is not a PNG")
    return struct.unpack(">II", header[16:24])


def check_desktop_files(usr, application_id, bindir, datadir, scratch):
    share = os.path.join(usr, datadir)
    entry = os.path.join(share, "applications", application_id + ".desktop")
    validated = run(["desktop-file-validate", entry], expect=None)
    if validated.returncode != 0 or "error:" in validated.stdout or "warning:" in validated.stdout:
        fail("desktop-file-validate:\n" + validated.stdout + validated.stderr)
    metainfo = os.path.join(share, "metainfo", application_id + ".metainfo.xml")
    run(["appstreamcli", "validate", "--no-net", "--strict", metainfo])
    component = ElementTree.parse(metainfo)
    caption = component.find("screenshots/screenshot/caption")
    if caption is None or not caption.text.strip():
        fail("the metainfo has no screenshot caption")
    if component.findtext("launchable") != application_id + ".desktop":
        fail("the metainfo launches " + str(component.findtext("launchable")))

    # The desktop entry names what the installation holds: the program, the icon, the file type.
    if desktop_value(entry, "Exec").split()[0] not in ("glyfora", f"{PREFIX}/{bindir}/glyfora"):
        fail("Exec does not start the installed editor: " + desktop_value(entry, "Exec"))
    if desktop_value(entry, "Icon") != application_id:
        fail("Icon is not the installed icon: " + str(desktop_value(entry, "Icon")))
    mime_type = desktop_value(entry, "MimeType").rstrip(";")

    # shared-mime-info reads the package and maps "*.tf" to the type the desktop entry opens.
    mime = os.path.join(scratch, "mime")
    shutil.copytree(os.path.join(share, "mime", "packages"), os.path.join(mime, "packages"))
    run(["update-mime-database", mime])
    with open(os.path.join(mime, "globs2"), encoding="utf-8") as globs:
        if not any(line.strip().endswith(f":{mime_type}:*.tf") for line in globs):
            fail(f"update-mime-database did not map *.tf to {mime_type}")

    hicolor = os.path.join(share, "icons", "hicolor")
    for size in (48, 256):
        got = png_size(os.path.join(hicolor, f"{size}x{size}", "apps", application_id + ".png"))
        if got != (size, size):
            fail(f"the {size} px icon is {got[0]} x {got[1]}")
    svg = ElementTree.parse(os.path.join(hicolor, "scalable", "apps", application_id + ".svg"))
    if svg.getroot().tag != "{http://www.w3.org/2000/svg}svg":
        fail("the scalable icon is not an SVG")


def check_installed_editor_does_not_register(program, scratch):
    """Starts the installed editor until its first frame, with a data folder of its own. Had it
    registered the file type, its notice would wait for a click, so a hang fails too."""
    data_home = os.path.join(scratch, "user-data")
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen", XDG_DATA_HOME=data_home,
               APPDATA=os.path.join(scratch, "user-settings"),
               # Qt and fontconfig keep their caches until the process ends.
               ASAN_OPTIONS="detect_leaks=0")
    env.pop("GLYFORA_NO_FILE_TYPE_CHECK", None)
    try:
        run([program, "--quit-after-first-frame"], env=env, timeout=60)
    except subprocess.TimeoutExpired:
        fail("the installed editor did not get to its first frame")
    if os.path.exists(os.path.join(data_home, "applications")):
        fail("the installed editor wrote the user's file-type registration")


def check_install(build, scratch, application_id, bindir, datadir):
    root = os.path.join(scratch, "root")
    run([CMAKE, "--install", build, "--prefix", PREFIX], env=dict(os.environ, DESTDIR=root))
    usr = root + PREFIX
    installed = files_below(usr)
    if installed != expected_files(application_id, bindir, datadir):
        fail("installed files:\n  " + "\n  ".join(installed))
    check_desktop_files(usr, application_id, bindir, datadir, scratch)

    run([os.path.join(usr, bindir, "glyfora-cli"), "--help"])
    check_installed_editor_does_not_register(os.path.join(usr, bindir, "glyfora"), scratch)


def check_package(build, scratch, application_id, bindir, datadir):
    run([CPACK, "-G", "DEB", "--config", os.path.join(build, "CPackConfig.cmake"),
         "-B", scratch])
    packages = [name for name in os.listdir(scratch) if name.endswith(".deb")]
    if len(packages) != 1:
        fail(f"cpack made {packages}")
    package = os.path.join(scratch, packages[0])

    depends = run(["dpkg-deb", "--field", package, "Depends"]).stdout
    names = {item.strip().split(" ")[0] for item in depends.replace("|", ",").split(",")}
    missing = [name for name in EXPECTED_DEPENDENCIES if name not in names]
    if missing or any(name.endswith("-dev") for name in names):
        fail(f"Depends: {depends.strip()} (missing {missing})")

    listing = run(["dpkg-deb", "--contents", package]).stdout.splitlines()
    # Regular files ("-rwx...") and links, named "./usr/...".
    packaged = sorted(line.split()[5][len("." + PREFIX + "/"):] for line in listing
                      if line[0] in "-l")
    if packaged != expected_files(application_id, bindir, datadir):
        fail("packaged files:\n  " + "\n  ".join(packaged))


def main():
    mode, build, scratch, application_id, bindir, datadir = sys.argv[1:7]
    shutil.rmtree(scratch, ignore_errors=True)
    os.makedirs(scratch)
    if mode == "install":
        check_install(build, scratch, application_id, bindir, datadir)
    else:
        check_package(build, scratch, application_id, bindir, datadir)
    print("OK")


if __name__ == "__main__":
    main()
