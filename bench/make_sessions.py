#!/usr/bin/env python3
"""Makes COUNT session files of SIZE bytes named 000000.ws, 000001.ws, ... in DIRECTORY."""
import os
import sys

directory, count, size = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
os.makedirs(directory, exist_ok=True)
content = bytearray((index * 31 + 7) & 0xFF for index in range(size))
content[90:98] = bytes([0x9C, 0xFF, 0x38, 0xFF, 0x20, 0x03, 0x58, 0x02])
for index in range(count):
    with open(os.path.join(directory, "%06d.ws" % index), "wb") as stream:
        stream.write(content)
