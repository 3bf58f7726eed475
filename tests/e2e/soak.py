#!/usr/bin/env python3
"""Soak run of Tapvane2.exe under Wine: a long endless run of a few recorded
steps with short waits, with the program's memory and object counts printed
at the start, every few minutes, and at the end.

    python3 tests/e2e/soak.py BUILD_DIR SECONDS [WAIT_MS]

Started by scripts/soak.sh, which brings up the Wine environment.
"""
import json
import os
import sys
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import e2e  # noqa: E402

SAMPLE_EVERY = 300.0


def linux_figures(pid):
    figures = {}
    try:
        for line in Path(f"/proc/{pid}/status").read_text().splitlines():
            key, _, value = line.partition(":")
            if key in ("VmRSS", "VmSize", "VmData", "Threads"):
                figures[key] = value.split()[0]
        figures["fds"] = str(len(os.listdir(f"/proc/{pid}/fd")))
    except OSError as error:
        figures["error"] = str(error)
    return figures


def sample(rig, app, label, presses):
    windows = app.ours()
    controls = sum(len(w["children"]) for w in windows)
    resources = rig.probe("resources").strip()
    parsed = json.loads(resources)
    own = parsed[0] if parsed else {}
    gui = ("GDI objects {gdiObjects}, USER objects {userObjects}".format(**own)
           if own.get("gdiObjects") or own.get("userObjects") else "GDI/USER counts: not given by Wine")
    linux = linux_figures(app.process.pid)
    print(f"[{label}] steps so far {presses}; VmRSS {linux.get('VmRSS')} kB, VmData {linux.get('VmData')} kB, "
          f"threads {linux.get('Threads')}, fds {linux.get('fds')}; working set {own.get('workingSetKb')} kB, "
          f"pagefile {own.get('pagefileKb')} kB; {gui}; windows {len(windows)} with {controls} controls",
          flush=True)
    return linux, own, len(windows), controls


class LogCounter:
    """Counts the step starts in the target's log without rereading it all."""

    def __init__(self, log):
        self.log = log
        self.offset = log.stat().st_size
        self.count = 0

    def update(self):
        with open(self.log, "rb") as stream:
            stream.seek(self.offset)
            chunk = stream.read()
        cut = chunk.rfind(b"\n") + 1
        self.offset += cut
        for line in chunk[:cut].splitlines():
            fields = line.split()
            # One left click, one right click, one key per pass: count presses.
            if len(fields) > 2 and fields[2] in (b"LDOWN", b"RDOWN", b"KEYDOWN"):
                self.count += 1
        return self.count


def main():
    if len(sys.argv) not in (3, 4):
        raise SystemExit(__doc__)
    rig = e2e.Rig(sys.argv[1])
    seconds = float(sys.argv[2])
    wait_ms = int(sys.argv[3]) if len(sys.argv) == 4 else 50
    target = e2e.Target(rig, timeout_ms=int(seconds * 1000) + 1800000)
    app = e2e.App(rig)
    try:
        app.wait_main()
        for step in ({"radio": "左键单击", "kind": 0, "x": 150, "y": 150, "delay": wait_ms},
                     {"radio": "右键单击", "kind": 2, "x": 300, "y": 220, "delay": wait_ms}):
            e2e.record_click_step(app, step)
        e2e.record_key_steps(app, [{"combo": 1, "kind": 4, "delay": wait_ms}])
        first = sample(rig, app, "start, idle", 0)
        app.set_mode("无限循环模式")
        counter = LogCounter(target.log)
        app.click("开始执行")
        box = app.message_box("在无限循环模式中")
        app.answer_box(box, "Return")
        began = time.monotonic()
        next_sample = began + SAMPLE_EVERY
        while time.monotonic() - began < seconds:
            time.sleep(min(5.0, max(0.1, seconds - (time.monotonic() - began))))
            before = counter.count
            if counter.update() == before:
                raise e2e.Failure("no step arrived at the target for 5 s: the run stalled")
            if time.monotonic() >= next_sample:
                sample(rig, app, f"{time.monotonic() - began:.0f} s", counter.count)
                next_sample += SAMPLE_EVERY
        # Stop with the stop button, clicked right after a step began.
        stop = e2e.check_compact(app)
        for _ in range(5):
            seen = counter.update()
            while counter.update() == seen:
                time.sleep(0.002)
            e2e.click_at(e2e.centre(stop["rect"]))
            try:
                app.wait_idle(timeout=5.0)
                break
            except e2e.Failure:
                continue
        else:
            raise e2e.Failure("the stop button did not end the run")
        elapsed = time.monotonic() - began
        target.wait_quiet()
        steps = counter.update()
        last = sample(rig, app, f"end, idle after {elapsed:.0f} s", steps)
        print(f"steps performed: {steps} ({steps / elapsed:.1f}/s)")
        growth = int(last[0].get("VmRSS", 0)) - int(first[0].get("VmRSS", 0))
        print(f"VmRSS change: {growth:+d} kB; working set change: "
              f"{int(last[1].get('workingSetKb', 0)) - int(first[1].get('workingSetKb', 0)):+d} kB; "
              f"windows {first[2]} -> {last[2]}, controls {first[3]} -> {last[3]}")
        app.close()
        code = app.exit_code()
        print(f"exit code {code}")
        return 0 if code == 0 else 1
    finally:
        app.kill()
        target.close()


if __name__ == "__main__":
    sys.exit(main())
