#!/usr/bin/python3
"""Writes the demo's update site into SITE_FOLDER: the notice page the launcher shows, and a
version archive that publishes VERSION (the launcher's own), so a demo start finds nothing to
install and shows Start.

    make_site.py SITE_FOLDER VERSION"""
import os
import sys
import zipfile

root, version = sys.argv[1], sys.argv[2]
os.makedirs(os.path.join(root, "notice", "zv"), exist_ok=True)
with open(os.path.join(root, "notice", "zv", "index.html"), "w", encoding="utf-8") as page:
    page.write("<html><body style='background:#f3efe2;font-family:serif'>"
               "<h3>Welcome back to Zorvane</h3>"
               "<p>Server maintenance is finished. See you in the Moonlit Vale!</p>"
               "</body></html>\n")
with zipfile.ZipFile(os.path.join(root, "fileversion.zip"), "w", zipfile.ZIP_DEFLATED) as archive:
    archive.writestr("fileVersion.txt", version + "\r\n")
