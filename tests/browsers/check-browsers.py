#!/usr/bin/env python3
"""Usage: check-browsers.py bookmarks|firefox-policy|chrome-policy FILE EXPECTED (UTF-8 lines "prefix<TAB>url").
Hands the file to Debian's browsers, headless on fresh profiles in a private mount namespace with a temporary /etc
over the real one, and checks that exactly the expected keywords come back, once each."""
import json
import os
import shutil
import signal
import socket
import sqlite3
import subprocess
import sys
import tempfile
import time
import urllib.parse

WAIT = 60  # seconds any one step may take before the run fails
TERMS = "pancakes"


class Marionette:
    """Just enough of Firefox's remote protocol: length-prefixed JSON commands, one at a time."""

    def __init__(self, port):
        self.sock = socket.create_connection(("127.0.0.1", port), timeout=WAIT)
        self.buffer = b""
        self.next_id = 0
        self.receive()  # the greeting
        self.command("WebDriver:NewSession", {})
        self.command("Marionette:SetContext", {"value": "chrome"})

    def receive(self):
        while b":" not in self.buffer:
            self.read_more()
        length, _, self.buffer = self.buffer.partition(b":")
        while len(self.buffer) < int(length):
            self.read_more()
        packet, self.buffer = self.buffer[: int(length)], self.buffer[int(length) :]
        return json.loads(packet)

    def read_more(self):
        data = self.sock.recv(65536)
        if not data:
            raise RuntimeError("Firefox closed the Marionette connection")
        self.buffer += data

    def command(self, name, parameters):
        self.next_id += 1
        packet = json.dumps([0, self.next_id, name, parameters]).encode()
        self.sock.sendall(str(len(packet)).encode() + b":" + packet)
        _, _, error, result = self.receive()
        if error:
            raise RuntimeError(f"{name}: {error.get('message', error)}")
        return result

    def run(self, script):
        """Runs an async chrome script; it ends by calling arguments[0] with its result."""
        return self.command("WebDriver:ExecuteAsyncScript", {"script": script, "args": [], "scriptTimeout": WAIT * 1000})["value"]

    def quit(self):
        self.command("Marionette:Quit", {"flags": ["eAttemptQuit"]})
        self.sock.close()


def wait_for(what, ready, process):
    deadline = time.monotonic() + WAIT
    while time.monotonic() < deadline and process.poll() is None:
        value = ready()
        if value:
            return value
        time.sleep(0.2)
    raise RuntimeError(f"no {what} after {WAIT} s" if process.poll() is None else f"the browser ended before its {what}")


def start_private(etc_files, command, log):
    """Starts a command with etc_files ({path under /etc: text}) seen in its /etc, and no one else seeing them."""
    layer = tempfile.mkdtemp(prefix="etc-", dir=WORK)
    upper, work = os.path.join(layer, "upper"), os.path.join(layer, "work")
    for path, text in etc_files.items():
        os.makedirs(os.path.dirname(os.path.join(upper, path)), exist_ok=True)
        with open(os.path.join(upper, path), "w", encoding="utf-8") as f:
            f.write(text)
    os.makedirs(upper, exist_ok=True)
    os.mkdir(work)
    script = 'mount -t overlay overlay -o "lowerdir=/etc,upperdir=$1,workdir=$2" /etc && shift 2 && exec "$@"'
    return subprocess.Popen(
        ["unshare", "--mount", "--propagation", "private", "sh", "-c", script, "sh", upper, work, *command],
        stdout=log, stderr=log, start_new_session=True)


def stop(process, how=None):
    """Ends the browser (a signal, or nothing when it quits by itself), then whatever it left of its group."""
    if how:
        process.send_signal(how)
    try:
        process.wait(timeout=WAIT)
    finally:
        try:
            os.killpg(process.pid, signal.SIGKILL)
        except ProcessLookupError:
            pass
        process.wait()


def read_database(path, query):
    """Runs a query on a copy of a browser's database, with its write-ahead log, so the browser's own is never opened."""
    copy = tempfile.mkdtemp(prefix="db-", dir=WORK)
    for suffix in ("", "-wal"):
        if os.path.exists(path + suffix):
            shutil.copy(path + suffix, os.path.join(copy, "db" + suffix))
    if not os.path.exists(os.path.join(copy, "db")):
        return []
    connection = sqlite3.connect(os.path.join(copy, "db"))
    try:
        return connection.execute(query).fetchall()
    except sqlite3.DatabaseError:
        return []  # the browser has not made its tables yet, or the copy caught it writing the file's first page
    finally:
        connection.close()


def firefox(file, etc_files, prefs, script):
    """Starts Firefox on a fresh profile, runs a chrome script through Marionette, quits cleanly; the script's result."""
    profile = tempfile.mkdtemp(prefix="firefox-", dir=WORK)
    prefs.update({"browser.shell.checkDefaultBrowser": False, "datareporting.policy.dataSubmissionEnabled": False,
                  "browser.aboutwelcome.enabled": False, "app.update.disabledForTesting": True})
    with open(os.path.join(profile, "prefs.js"), "w", encoding="utf-8") as f:
        f.writelines(f"user_pref({json.dumps(name)}, {json.dumps(value)});\n" for name, value in prefs.items())
    with open(os.path.join(WORK, "firefox.log"), "ab") as log:
        process = start_private(etc_files, ["firefox-esr", "--headless", "--marionette", "-remote-allow-system-access",
                                            "--no-remote", "-profile", profile], log)
    try:
        port_file = os.path.join(profile, "MarionetteActivePort")
        port = wait_for("Marionette port", lambda: os.path.exists(port_file) and open(port_file).read().strip(),
                        process)
        client = wait_for("Marionette connection", lambda: connect(int(port)), process)
        result = client.run(script)
        client.quit()
        stop(process)
    except BaseException:
        stop(process, signal.SIGKILL)
        raise
    return profile, result


def connect(port):
    try:
        return Marionette(port)
    except ConnectionRefusedError:
        return None


def firefox_bookmarks(file, expected):
    # The import replaces the profile's bookmarks, then clears the first pref: done once it reads false.
    prefs = {"browser.places.importBookmarksHTML": True, "browser.bookmarks.file": file}
    script = f"""const done = arguments[0];
        const deadline = Date.now() + {WAIT * 1000};
        (function poll() {{
            if (!Services.prefs.getBoolPref("browser.places.importBookmarksHTML") || Date.now() > deadline) done(true);
            else setTimeout(poll, 200);
        }})();"""
    profile, _ = firefox(file, {}, prefs, script)
    rows = read_database(os.path.join(profile, "places.sqlite"),
                         "SELECT k.keyword, p.url FROM moz_keywords k JOIN moz_places p ON p.id = k.place_id")
    return rows, {(prefix.lower(), stored(url)) for prefix, url in expected}


def firefox_policy(file, expected):
    with open(file, encoding="utf-8") as f:
        policy = f.read()
    # Firefox keeps a policy engine's alias and address in memory only: the running browser is asked.
    script = f"""const done = arguments[0];
        const wanted = {len(expected)};
        const deadline = Date.now() + {WAIT * 1000};
        (async function poll() {{
            try {{
                const {{ SearchService }} = ChromeUtils.importESModule(
                    "moz-src:///toolkit/components/search/SearchService.sys.mjs");
                await SearchService.init();
                // Firefox's own engines carry only its internal @ aliases.
                const engines = (await SearchService.getEngines()).flatMap(
                    e => e.aliases.filter(a => !a.startsWith("@")).map(a => [a, e.getSubmission("{TERMS}").uri.spec]));
                if (engines.length >= wanted || Date.now() > deadline) return done(engines);
            }} catch (e) {{
                return done(String(e));
            }}
            setTimeout(poll, 200);
        }})();"""
    _, result = firefox(file, {"firefox/policies/policies.json": policy}, {}, script)
    if isinstance(result, str):
        raise RuntimeError(f"Firefox's search service: {result}")
    return [tuple(row) for row in result], {(prefix, stored(url.replace("%s", TERMS))) for prefix, url in expected}


def stored(url):
    """An address as the browsers keep it: the host in its ASCII form, other letters beyond ASCII percent-encoded."""
    parts = urllib.parse.urlsplit(url)
    host = parts.hostname.encode("idna").decode("ascii") if parts.hostname else ""
    netloc = parts.netloc.rpartition("@")[2].lower().replace(parts.hostname or "", host, 1)
    rest = urllib.parse.quote(urllib.parse.urlunsplit(("", "", parts.path, parts.query, parts.fragment)),
                              safe="".join(map(chr, range(33, 127))).replace('"', ""))
    return f"{parts.scheme}://{netloc}{rest}"


def chromium(etc_files, first_run, query, wanted):
    profile = tempfile.mkdtemp(prefix="chromium-", dir=WORK)
    command = ["chromium", "--headless", "--disable-gpu", "--no-sandbox", "--disable-background-networking",
               "--disable-component-update", "--disable-sync", f"--user-data-dir={profile}",
               "--force-first-run" if first_run else "--no-first-run", "about:blank"]
    web_data = os.path.join(profile, "Default", "Web Data")
    with open(os.path.join(WORK, "chromium.log"), "ab") as log:
        process = start_private(etc_files, command, log)
    try:
        # Chromium writes its keywords a moment after it takes them; the final read comes after a clean exit.
        deadline = time.monotonic() + WAIT
        while len(read_database(web_data, query)) < wanted and time.monotonic() < deadline:
            time.sleep(0.5)
        stop(process, signal.SIGTERM)
    except BaseException:
        stop(process, signal.SIGKILL)
        raise
    return read_database(web_data, query)


def chromium_bookmarks(file, expected):
    preferences = json.dumps({"distribution": {"import_bookmarks": False, "import_bookmarks_from_file": file}})
    rows = chromium({"chromium/initial_preferences": preferences}, True,
                    "SELECT keyword, url FROM keywords WHERE prepopulate_id = 0 AND starter_pack_id = 0", len(expected))
    return [(keyword, url.replace("{searchTerms}", "%s")) for keyword, url in rows], {(p, stored(u)) for p, u in expected}


def chrome_policy(file, expected):
    with open(file, encoding="utf-8") as f:
        policy = f.read()
    rows = chromium({"chromium/policies/managed/ievantrel.json": policy}, False,
                    "SELECT keyword, url FROM keywords WHERE created_by_policy != 0", len(expected))
    return [(keyword, url.replace("{searchTerms}", "%s")) for keyword, url in rows], set(expected)


CHECKS = {
    "bookmarks": [("Firefox", firefox_bookmarks), ("Chromium", chromium_bookmarks)],
    "firefox-policy": [("Firefox", firefox_policy)],
    "chrome-policy": [("Chromium", chrome_policy)],
}


def main():
    if len(sys.argv) != 4 or sys.argv[1] not in CHECKS:
        sys.exit(__doc__)
    kind, file, expected_file = sys.argv[1], os.path.abspath(sys.argv[2]), sys.argv[3]
    with open(expected_file, encoding="utf-8") as f:
        expected = [tuple(line.rstrip("\n").split("\t", 1)) for line in f if line.strip()]
    failed = False
    for browser, check in CHECKS[kind]:
        start = time.monotonic()
        rows, wanted = check(file, expected)
        seconds = time.monotonic() - start
        print(f"{browser}, {kind}: {len(expected)} engines, {len(rows)} keywords read back in {seconds:.1f} s")
        if len(rows) != len(set(rows)) or set(rows) != wanted:
            failed = True
            for row in sorted(wanted - set(rows)):
                print(f"  missing: {row[0]} -> {row[1]}")
            for row in sorted(set(rows) - wanted):
                print(f"  unexpected: {row[0]} -> {row[1]}")
            if len(rows) != len(set(rows)):
                print("  a keyword came back more than once")
    return 1 if failed else 0


if __name__ == "__main__":
    WORK = tempfile.mkdtemp(prefix="check-browsers-")
    try:
        sys.exit(main())
    except RuntimeError as error:
        print(f"FAIL: {error}; the browser's log:", file=sys.stderr)
        for name in ("firefox.log", "chromium.log"):
            if os.path.exists(os.path.join(WORK, name)):
                with open(os.path.join(WORK, name), errors="replace") as f:
                    sys.stderr.write("".join(f.readlines()[-15:]))
        sys.exit(1)
    finally:
        shutil.rmtree(WORK, ignore_errors=True)
