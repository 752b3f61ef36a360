#!/usr/bin/python3
"""tools/publish: the exact archives it writes and what it refuses. Run with the paths of
tools/publish, the test build's 3.0.0.5 and 3.0.0.4 launchers and its updater.dll in
ZV_PUBLISH, ZV_NEW_LAUNCHER, ZV_SHIPPING_LAUNCHER and ZV_UPDATER."""
import os
import shutil
import subprocess
import tempfile
import time
import unittest
import zipfile

PUBLISH = os.environ["ZV_PUBLISH"]
NEW_LAUNCHER = os.environ["ZV_NEW_LAUNCHER"]
SHIPPING_LAUNCHER = os.environ["ZV_SHIPPING_LAUNCHER"]
UPDATER = os.environ["ZV_UPDATER"]


def read(path):
    with open(path, "rb") as file:
        return file.read()


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as file:
        file.write(data)


def contents(archive_path):
    """Entry name -> bytes, in the archive's order."""
    with zipfile.ZipFile(archive_path) as archive:
        return {info.filename: archive.read(info) for info in archive.infolist()}


class PublishTest(unittest.TestCase):
    def setUp(self):
        self.work = tempfile.mkdtemp(prefix="zv-publish-")
        self.addCleanup(shutil.rmtree, self.work)
        # The launcher's folder as a publisher has it, blank in its path included.
        self.game = os.path.join(self.work, "Zorvane Release")
        os.makedirs(self.game)
        shutil.copy(NEW_LAUNCHER, os.path.join(self.game, "Zorvane.exe"))
        shutil.copy(UPDATER, os.path.join(self.game, "updater.dll"))
        write(os.path.join(self.game, "data", "maps", "north.map"), b"north\0map")
        write(os.path.join(self.game, "readme.txt"), b"Read me.\r\n")
        self.site = os.path.join(self.work, "site")

    def publish(self, *arguments):
        return subprocess.run([PUBLISH, *arguments], cwd=self.game, capture_output=True, text=True)

    def test_writes_the_version_archive_and_the_package_exactly(self):
        result = self.publish("3.0.0.5", self.site, "Zorvane.exe", "updater.dll", "data",
                              "readme.txt")
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(sorted(os.listdir(self.site)), ["Zorvane.zip", "fileversion.zip"])

        self.assertEqual(contents(os.path.join(self.site, "fileversion.zip")),
                         {"fileVersion.txt": b"3.0.0.5\r\n"})
        package = os.path.join(self.site, "Zorvane.zip")
        self.assertEqual(contents(package), {
            "Zorvane.exe": read(NEW_LAUNCHER),
            "data/maps/north.map": b"north\0map",
            "readme.txt": b"Read me.\r\n",
            "updater.dll": read(UPDATER),
        })
        with zipfile.ZipFile(package) as archive:
            for info in archive.infolist():
                self.assertEqual(info.compress_type, zipfile.ZIP_DEFLATED, info.filename)
                # The launcher gives each file the entry's time, read as local time.
                written = time.localtime(os.path.getmtime(os.path.join(self.game, info.filename)))
                self.assertEqual(info.date_time[:5], written[:5], info.filename)

    def test_without_files_publishes_the_launcher_and_the_updater(self):
        result = self.publish("3.0.0.5", self.site)
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(sorted(contents(os.path.join(self.site, "Zorvane.zip"))),
                         ["Zorvane.exe", "updater.dll"])

    def test_publishing_again_replaces_both_archives_and_leaves_nothing_else(self):
        self.assertEqual(self.publish("3.0.0.5", self.site, "Zorvane.exe", "updater.dll",
                                      "data").returncode, 0)
        result = self.publish("3.0.0.5", self.site)
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(sorted(os.listdir(self.site)), ["Zorvane.zip", "fileversion.zip"])
        self.assertEqual(sorted(contents(os.path.join(self.site, "Zorvane.zip"))),
                         ["Zorvane.exe", "updater.dll"])

    def test_refuses_and_writes_nothing(self):
        def shipping_launcher(game):
            shutil.copy(SHIPPING_LAUNCHER, os.path.join(game, "Zorvane.exe"))

        def add(name, data=b"x"):
            return lambda game: write(os.path.join(game, *name.split("/")), data)

        def twins(game):
            add("data/Twin.txt")(game)
            add("data/twin.txt")(game)

        nothing = lambda game: None
        default = ["Zorvane.exe", "updater.dll"]
        cases = [
            ("three parts", "3.0.5", nothing, default, "not of the form"),
            ("two digits", "3.0.0.10", nothing, default, "not of the form"),
            ("commas", "3,0,0,5", nothing, default, "not of the form"),
            ("letters", "v3.0.0.5", nothing, default, "not of the form"),
            ("trailing blank", "3.0.0.5 ", nothing, default, "not of the form"),
            ("empty", "", nothing, default, "not of the form"),
            ("launcher of another version", "3.0.0.6", nothing, default,
             "carries FileVersion 3.0.0.5, not 3.0.0.6"),
            ("shipping launcher as the new one", "3.0.0.5", shipping_launcher, default,
             "carries FileVersion 3.0.0.4, not 3.0.0.5"),
            ("no launcher", "3.0.0.5", nothing, ["updater.dll", "data"], "no Zorvane.exe"),
            ("no updater", "3.0.0.5", nothing, ["Zorvane.exe", "data"], "no updater.dll"),
            ("missing file", "3.0.0.5", nothing, default + ["missing.txt"], "does not exist"),
            ("outside the folder", "3.0.0.5", add("../elsewhere.txt"),
             default + ["../elsewhere.txt"], "outside the current folder"),
            ("updater's log", "3.0.0.5", add("update.log"), default + ["update.log"],
             "name of the updater's own"),
            ("version file", "3.0.0.5", add("fileVersion.txt"), default + ["fileVersion.txt"],
             "name of the updater's own"),
            ("update folder", "3.0.0.5", add("Launcher Updater/x.txt"),
             default + ["Launcher Updater"], "name of the updater's own"),
            ("device name", "3.0.0.5", add("data/aux.txt"), default + ["data"], "names a device"),
            ("wildcard", "3.0.0.5", add("data/what?.txt"), default + ["data"], "cannot have"),
            ("drive colon", "3.0.0.5", add("data/c:x.txt"), default + ["data"], "cannot have"),
            ("non-ASCII name", "3.0.0.5", add("data/carte-\u00e9t\u00e9.txt"), default + ["data"],
             "only ASCII names"),
            ("names differing in case", "3.0.0.5", twins, default + ["data"], "only in case"),
        ]
        for name, version, arrange, files, message in cases:
            with self.subTest(name):
                self.setUp()
                arrange(self.game)
                result = self.publish(version, self.site, *files)
                self.assertEqual(result.returncode, 2, result.stdout)
                self.assertIn("refused: ", result.stderr)
                self.assertIn(message, result.stderr)
                self.assertFalse(os.path.exists(self.site))

    def test_a_refusal_leaves_an_earlier_site_as_it_was(self):
        self.assertEqual(self.publish("3.0.0.5", self.site).returncode, 0)
        before = {name: read(os.path.join(self.site, name)) for name in os.listdir(self.site)}
        self.assertEqual(self.publish("3.0.0.6", self.site).returncode, 2)
        after = {name: read(os.path.join(self.site, name)) for name in os.listdir(self.site)}
        self.assertEqual(after, before)


if __name__ == "__main__":
    unittest.main()
