#!/usr/bin/env python3
# Writes the wixl source of the package that buildbench builds from the same
# files: the files in name order, file i in directory i % 3 (the install
# folder, bin, bin\data) and in feature i % 10, one component per file, all
# compressed into one cabinet embedded in the package.
#   benchwxs.py SOURCE_FOLDER OUT.wxs
import os
import sys
import uuid
from xml.sax.saxutils import quoteattr

NAMESPACE = uuid.UUID("6b1d7c3e-2f0a-4c55-9a61-0d2e8f4b7a19")
DIRECTORIES = ["INSTALLDIR", "BIN", "DATA"]
FEATURES = 10


def guid(name):
    return "{%s}" % str(uuid.uuid5(NAMESPACE, name)).upper()


def main():
    folder, out = sys.argv[1], sys.argv[2]
    # wixl finds a source by its path relative to the .wxs file.
    relative = os.path.relpath(folder, os.path.dirname(os.path.abspath(out)))
    names = sorted(n for n in os.listdir(folder) if os.path.isfile(os.path.join(folder, n)))
    components = {d: [] for d in DIRECTORIES}
    features = [[] for _ in range(FEATURES)]
    for i, name in enumerate(names):
        source = quoteattr(os.path.join(relative, name))
        components[DIRECTORIES[i % 3]].append(
            '<Component Id="C%d" Guid="%s"><File Id="F%d" Name=%s Source=%s KeyPath="yes"/></Component>'
            % (i, guid(name), i, quoteattr(name), source))
        features[i % FEATURES].append('<ComponentRef Id="C%d"/>' % i)
    lines = [
        '<?xml version="1.0" encoding="utf-8"?>',
        '<Wix xmlns="http://schemas.microsoft.com/wix/2006/wi">',
        '<Product Id="%s" Name="Bench" Language="1033" Version="1.0.0" Manufacturer="Maker" '
        'UpgradeCode="%s">' % (guid("product"), guid("upgrade")),
        '<Package InstallerVersion="200" Compressed="yes"/>',
        '<Media Id="1" Cabinet="primary.cab" EmbedCab="yes"/>',
        '<Directory Id="TARGETDIR" Name="SourceDir"><Directory Id="ProgramFilesFolder">',
        '<Directory Id="INSTALLDIR" Name="Bench">',
        *components["INSTALLDIR"],
        '<Directory Id="BIN" Name="bin">',
        *components["BIN"],
        '<Directory Id="DATA" Name="data">',
        *components["DATA"],
        '</Directory></Directory></Directory></Directory></Directory>',
    ]
    for f, refs in enumerate(features):
        lines += ['<Feature Id="Choice%d" Level="1">' % f, *refs, '</Feature>']
    lines += ['</Product>', '</Wix>']
    with open(out, "w", encoding="utf-8") as f:
        f.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
