#!/usr/bin/python3
"""Writes the demo's update site: the notice page and a version archive that publishes the
launcher's own version, so a demo start finds nothing to install."""
import os
import sys
import zipfile

root = sys.argv[1]
os.makedirs(os.path.join(root, "notice", "zv"), exist_ok=True)
with open(os.path.join(root, "notice", "zv", "index.html"), "w", encoding="utf-8") as page:
    page.write("<html><body style='background:#f3efe2;font-family:serif'>"
               "<h3>Welcome back to Zorvane</h3>"
               "<p>Server maintenance is finished. See you in the Moonlit Vale!</p>"
               "</body></html>\n")
with zipfile.ZipFile(os.path.join(root, "fileversion.zip"), "w", zipfile.ZIP_DEFLATED) as archive:
    archive.writestr("fileVersion.txt", "3.0.0.4\r\n")
