#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz targets into fuzz/corpus/<target>/: a few small,
valid or nearly valid inputs per target from which the fuzzers start."""
import os
import struct
import sys

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "fuzz", "corpus")


def write(target, name, data):
    folder = os.path.join(ROOT, target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data if isinstance(data, bytes) else data.encode("utf-8"))


def registry_text():
    header = "comreg-registry 1\n"
    write("registry_text", "wizard", header +
          'key "CLSID"\n'
          'key "CLSID" "{9C2D4B71-3E58-4F0A-A6C3-5B8E1D7F2A90}"\n'
          'value "" sz "Demo Disc Wizard"\n'
          'key "CLSID" "{9C2D4B71-3E58-4F0A-A6C3-5B8E1D7F2A90}" "InprocServer32"\n'
          'value "" sz "/usr/lib/libDemoWizard.so"\n'
          'value "ThreadingModel" sz "Apartment"\n'
          'key "Pyrelle.DiscWizard"\n'
          'value "" sz "Demo Disc Wizard"\n'
          "end\n")
    write("registry_text", "values", header +
          '# comment\n\n  key "A" "b c"\r\n'
          '    value "Flags" dword 0xDEADBEEF\n'
          '    value "text" sz "tab\\there \\"quoted\\" \\\\ \\x01\\x7F caf\xc3\xa9"\n'
          'key "a"\nvalue "" dword 0x1\nend\n# after\n')
    write("registry_text", "deep-limit", header + "key" + ' "a"' * 512 + "\nend\n")
    write("registry_text", "deep-over", header + "key" + ' "a"' * 513 + "\nend\n")
    write("registry_text", "truncated", header + 'key "A"\nvalue "x" sz "y')
    write("registry_text", "bad", header + 'frob\nkey "a\\\\b"\nvalue "x" qword 0x1\nend\n')


def peak_file(channels, bits, interval, peaks, body):
    bps = bits // 8 * channels
    info = struct.pack("<HHIH2xIH2xII", channels, bits, 44100, 4, 1000, bps, peaks, interval)
    return info + body(peaks * bps * 2)


def ramp(n):
    return bytes((i * 37) & 0xFF for i in range(n))


def peaks():
    for target in ("peakfile", "peakview"):
        write(target, "stereo16", peak_file(2, 16, 441, 100, ramp))
        write(target, "mono8", peak_file(1, 8, 2205, 20, ramp))
        write(target, "short", peak_file(2, 16, 441, 100, lambda n: ramp(n // 3)))
        write(target, "header-only", peak_file(2, 16, 0, 0, ramp))


def com_text():
    write("com_text", "ascii", "C:\\Music\\song 01.mp3")
    write("com_text", "utf8", "caf\u00e9 \u00fcber \u65e5\u672c \U0001F3B5")
    write("com_text", "cp1252", bytes(range(0x80, 0x100)))
    write("com_text", "number", "-12345.678e-3")
    write("com_text", "bool", "true")
    write("com_text", "surrogates", b"\x00\xd8\x41\x00\x00\xdc\x3d\xd8\xb5\xdf")


def control_persistence():
    # An odd first byte puts a valid magic and version in front (see the harness).
    write("control_persistence", "body", bytes([1]) + struct.pack("<IIII", 0, 0, 400, 300))
    write("control_persistence", "whole", b"TCEA\x01\x00" + struct.pack("<IIII", 1, 2, 640, 480))
    write("control_persistence", "empty-body", bytes([3]))


def main():
    registry_text()
    peaks()
    com_text()
    control_persistence()
    return 0


if __name__ == "__main__":
    sys.exit(main())
