#!/usr/bin/env python3
"""Checks what the program left behind after one command of the end-to-end run.

Usage: check-state.py installed|removed|search-fix <registry file> <default list>
       check-state.py list <Search Engines.ini> <default list>

A registry file is in the registry editor's export format (the store file, or Wine's registry exported by regedit).
"""
import sys

SEARCH_URL = "HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\SearchUrl"
IE = "HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer"


def read_keys(path):
    """Maps each key's name, folded to lower case, to the lines of its values."""
    with open(path, "rb") as f:
        raw = f.read()
    if not raw:
        return {}
    if not raw.startswith(b"\xff\xfe"):
        sys.exit("the registry file has no UTF-16 byte-order mark")
    text = raw[2:].decode("utf-16-le")
    if not text.startswith("Windows Registry Editor Version 5.00\r\n"):
        sys.exit("the registry file has no regedit header")
    keys = {}
    for block in text.split("\r\n\r\n[")[1:]:
        name, _, values = block.partition("]\r\n")
        keys[name.lower()] = values.split("\r\n")
    return keys


def default_engines(path):
    with open(path, "rb") as f:
        for line in f.read().decode("utf-8").splitlines():
            fields = dict(field.split("=", 1) for field in line.split("\t") if "=" in field)
            yield fields["PREFIX"], fields["URL"]


def quoted(text):
    return '"%s"' % text.replace("\\", "\\\\").replace('"', '\\"')


def expect_values(keys, key, lines):
    values = keys.get(key.lower())
    if values is None:
        sys.exit("the registry lacks the key %s" % key)
    for line in lines:
        if line not in values:
            sys.exit("the key %s lacks the value %s" % (key, line))


def installed(keys, defaults):
    for prefix, url in default_engines(defaults):
        escapes = ['" "="+"', '"%"="%25"', '"&"="%26"', '"+"="%2B"']
        expect_values(keys, SEARCH_URL + "\\" + prefix, ["@=" + quoted(url)] + escapes)


def removed(keys, _):
    left = [name for name in keys if name.startswith(SEARCH_URL.lower())]
    if left:
        sys.exit("Remove left these keys: %s" % ", ".join(left))


def search_fix(keys, _):
    expect_values(keys, SEARCH_URL, ['@="http://home.microsoft.com/access/autosearch.asp?p=%s"', '"%"="%25"'])
    expect_values(keys, IE + "\\Main",
                  ['"Do404Search-DELME"=hex:01,00,00,00', '"Use Custom Search URL"=dword:00000000'])
    expect_values(keys, IE + "\\URLSearchHooks", ['"{CFBFAE00-17A6-11D0-99CB-00C04FD64497}"=""'])
    expect_values(keys, "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\URL\\Prefixes",
                  ['"gopher"="gopher://"'])


def engine_list(list_file, defaults):
    with open(list_file, "rb") as f:
        engines = f.read()
    with open(defaults, "rb") as f:
        expected = f.read() + b"PREFIX=caf\xe9\tURL=http://caf\xe9.example/?q=%s\r\n"
    expected += b"PREFIX=e2e\tURL=http://e2e.example/?q=%s\r\n"
    if engines != expected:
        sys.exit("Search Engines.ini is not the list it started with plus the new engine:\n%r" % engines)


if __name__ == "__main__":
    check, path, defaults = sys.argv[1:]
    if check == "list":
        engine_list(path, defaults)
    else:
        {"installed": installed, "removed": removed, "search-fix": search_fix}[check](read_keys(path), defaults)
