#!/usr/bin/env python3
"""End-to-end checks of Tapvane2.exe under Wine, driven like a user would.

    python3 tests/e2e/e2e.py BUILD_DIR

The caller has brought up the Wine environment (WINEPREFIX, DISPLAY, WINEDEBUG
exported, wineserver warm; see scripts/wine-env.sh). BUILD_DIR holds
Tapvane2.exe, probe.exe and input_target.exe.

xdotool plays the user (pointer, clicks, keys); probe.exe reads the program's
windows and controls; input_target.exe is the window the recorded steps are
aimed at, and its log is what arrived there.
"""
import json
import os
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import time
import traceback
from pathlib import Path

MAIN_CAPTION = "Tapvane2  tapvane2.example"
KEY_WINDOW_CAPTION = "可选操作列"
WINDOW_CLASS = "Tapvane2Window"
DIALOG_CLASS = "#32770"
SCREEN = (1920, 1080)
MAIN_SIZE = (318, 266)
COMPACT_HEIGHT = 131
ENTRY_SIZE = (128, 36)
STATUS_LOCAL = [8, 192, 304, 232]

# The target sits left of the centred main window, clear of every window the
# program opens (all of them centred).
TARGET_RECT = (100, 100, 400, 300)

ESC = 27


def centred(size):
    return ((SCREEN[0] - size[0]) // 2, (SCREEN[1] - size[1]) // 2)


def now_ms():
    # Wine's QueryPerformanceCounter counts this clock: input_target's stamps
    # compare with it directly (checked by calibrate_clock).
    return time.clock_gettime(time.CLOCK_MONOTONIC_RAW) * 1000.0


def wine_path(path):
    return "Z:" + str(path).replace("/", "\\")


def xdo(*args):
    subprocess.run(["xdotool", *map(str, args)], check=True, timeout=20)


class Failure(AssertionError):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def wait_for(what, predicate, timeout=10.0, interval=0.05):
    """Polls predicate until it returns something truthy; fails after timeout."""
    deadline = time.monotonic() + timeout
    last = None
    while True:
        last = predicate()
        if last:
            return last
        if time.monotonic() > deadline:
            raise Failure(f"timed out after {timeout} s waiting for {what}")
        time.sleep(interval)


class Rig:
    def __init__(self, build):
        self.build = Path(build).resolve()
        self.app_exe = self.build / "Tapvane2.exe"
        self.probe_exe = self.build / "probe.exe"
        self.target_exe = self.build / "input_target.exe"
        for exe in (self.app_exe, self.probe_exe, self.target_exe):
            if not exe.is_file():
                raise SystemExit(f"missing {exe}")
        self.scratch = Path(tempfile.mkdtemp(prefix="tapvane-e2e-"))

    def probe(self, *args):
        # A wine process started in the same instant as another one now and
        # then hangs at start-up; a fresh one does not.
        for _ in range(3):
            try:
                done = subprocess.run(["wine", str(self.probe_exe), *map(str, args)], capture_output=True,
                                      stdin=subprocess.DEVNULL, timeout=10)
                break
            except subprocess.TimeoutExpired:
                print(f"    (probe {' '.join(map(str, args))} hung; retrying)", flush=True)
        else:
            raise Failure(f"probe {' '.join(map(str, args))} hung three times")
        if done.returncode != 0:
            raise Failure(f"probe {' '.join(map(str, args))} failed: {done.returncode}")
        return done.stdout.decode("utf-8")

    def windows(self):
        return json.loads(self.probe("list"))

    def calibrate_clock(self):
        before = now_ms()
        counter = float(self.probe("clock"))
        after = now_ms()
        check(before - 5 <= counter <= after + 5,
              f"QueryPerformanceCounter ({counter:.1f}) is not on CLOCK_MONOTONIC_RAW ({before:.1f}..{after:.1f})")


def centre(rect):
    return ((rect[0] + rect[2]) // 2, (rect[1] + rect[3]) // 2)


def size(rect):
    return (rect[2] - rect[0], rect[3] - rect[1])


def click_at(point):
    xdo("mousemove", point[0], point[1], "click", 1)


def keys_over(rect, *args):
    """xdotool key/type with the pointer over a Wine window first. Without a
    window manager the X focus stays PointerRoot, so X sends key events to the
    window under the pointer; Wine then hands them to the Win32 focus window,
    whichever Wine window received them."""
    x, y = centre(rect)
    xdo("mousemove", x, y)
    xdo(*args)


class App:
    """One running Tapvane2.exe."""

    def __init__(self, rig, *arguments):
        self.rig = rig
        self.process = subprocess.Popen(["wine", str(rig.app_exe), *arguments], stdin=subprocess.DEVNULL,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        time.sleep(0.5)

    def ours(self):
        return [w for w in self.rig.windows() if w["class"] in (WINDOW_CLASS, DIALOG_CLASS)]

    def main(self):
        for window in self.ours():
            if window["class"] == WINDOW_CLASS and window["text"] == MAIN_CAPTION:
                return window
        return None

    def wait_main(self, timeout=20.0):
        return wait_for("the main window", lambda: (lambda w: w if w and w["visible"] else None)(self.main()),
                        timeout)

    @staticmethod
    def child(window, text, kind=None):
        for control in window["children"]:
            if control["text"] == text and (kind is None or control["class"] == kind):
                return control
        raise Failure(f"no control {text!r} in {window['text']!r}")

    def control(self, text, kind=None):
        main = self.main()
        check(main is not None, "main window gone")
        return self.child(main, text, kind)

    def status(self):
        main = self.main()
        check(main is not None, "main window gone")
        for control in main["children"]:
            if control["class"] == "Static" and control["local"] == STATUS_LOCAL:
                return control["text"]
        raise Failure("no status label")

    def delay_edit(self):
        main = self.main()
        edits = [c for c in main["children"] if c["class"] == "Edit"]
        check(len(edits) == 1, f"expected one edit box in the main window, found {len(edits)}")
        return edits[0]

    def click(self, text, kind=None):
        control = self.control(text, kind)
        check(control["visible"] and control["enabled"], f"{text!r} is not clickable: {control}")
        click_at(centre(control["rect"]))

    def message_box(self, text_part, timeout=10.0):
        def find():
            for window in self.ours():
                if window["class"] == DIALOG_CLASS and window["visible"]:
                    texts = " ".join(c["text"] for c in window["children"])
                    if text_part in texts or text_part in window["text"]:
                        return window
            return None

        return wait_for(f"a message box with {text_part!r}", find, timeout)

    def answer_box(self, box, key):
        """Answers a message box with a key; the box has to have the focus for it."""
        keys_over(box["rect"], "key", key)
        wait_for(f"message box {box['text']!r} to close",
                 lambda: all(w["hwnd"] != box["hwnd"] for w in self.ours()), 5.0)

    def entry_window(self, timeout=10.0):
        def find():
            for window in self.ours():
                if window["class"] == WINDOW_CLASS and window["visible"] and window["text"] == "":
                    return window
            return None

        return wait_for("an entry window", find, timeout)

    def wait_idle(self, timeout=30.0):
        """Waits for the end of a run: start enabled again, normal layout."""

        def idle():
            main = self.main()
            if main is None:
                return None
            start = self.child(main, "开始执行")
            return main if start["enabled"] and size(main["rect"])[1] == MAIN_SIZE[1] else None

        return wait_for("the run to end", idle, timeout)

    def set_delay(self, ms):
        edit = self.delay_edit()
        click_at(centre(edit["rect"]))
        xdo("key", "End")
        xdo("key", "--repeat", 10, "BackSpace")
        xdo("type", str(ms))
        wait_for(f"delay text {ms}", lambda: self.delay_edit()["text"] == str(ms), 5.0)

    def set_mode(self, text):
        """Leaves exactly the given mode box checked (None: no box). A click on
        an unchecked box is left to the program to clear the other two."""
        boxes = ("次数循环模式", "时间循环模式", "无限循环模式")
        if text is None:
            for box in boxes:
                if self.control(box)["checked"]:
                    self.click(box)  # a click on a checked box unchecks it
                    wait_for(f"{box} unchecked", lambda b=box: self.control(b)["checked"] == 0, 5.0)
        elif not self.control(text)["checked"]:
            self.click(text)
            wait_for(f"{text} checked", lambda: self.control(text)["checked"] == 1, 5.0)
        states = {box: self.control(box)["checked"] for box in boxes}
        check(states == {box: int(box == text) for box in boxes}, f"mode boxes: {states}, wanted {text}")

    def close(self):
        main = self.main()
        if main is not None:
            self.rig.probe("close", main["hwnd"])

    def exit_code(self, timeout=15.0):
        try:
            return self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise Failure(f"Tapvane2 still running {timeout} s after its main window was closed")

    def kill(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()


class Target:
    """input_target.exe and its log."""

    def __init__(self, rig, rect=TARGET_RECT, timeout_ms=600000):
        self.log = rig.scratch / "target.log"
        self.rect = rect
        self.process = subprocess.Popen(
            ["wine", str(rig.target_exe), *map(str, rect), wine_path(self.log), str(timeout_ms)],
            stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        wait_for("input_target", lambda: self.log.exists() and "READY" in self.log.read_text(), 20.0)

    def lines(self):
        return [line.split() for line in self.log.read_text().splitlines() if line.strip()]

    def events(self, since=0):
        """(ms, event, args, queued) after the first `since` lines, READY
        excluded; queued is the message time (GetTickCount when queued).

        A release of Enter with no press before it is the tail of the test's
        own Enter that answered a box or an entry window, delivered to the
        target once the box had gone: it is left out."""
        out = []
        down = set()
        for fields in self.lines()[since:]:
            if fields[2] == "READY":
                continue
            event = (float(fields[0]), fields[2], tuple(int(f) for f in fields[3:]), int(fields[1]))
            if event[1] == "KEYDOWN":
                down.add(event[2])
            elif event[1] == "KEYUP":
                if event[2] == (13,) and event[2] not in down:
                    continue
                down.discard(event[2])
            out.append(event)
        return out

    def mark(self):
        return len(self.lines())

    def wait_quiet(self, quiet=0.5, timeout=60.0):
        """Waits until the target has worked through what was queued for it."""
        last = [-1, time.monotonic()]

        def settled():
            count = self.mark()
            if count != last[0]:
                last[:] = [count, time.monotonic()]
                return False
            return time.monotonic() - last[1] >= quiet

        wait_for("the target's log to settle", settled, timeout)

    def close(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()


# The events a step of each kind makes arrive at a window under the pointer
# (CS_DBLCLKS turns the second press of a double click into a DBLCLK).
def expected_events(step):
    kind, x, y = step["kind"], step.get("x"), step.get("y")
    at = (x, y)
    return {
        0: [("LDOWN", at), ("LUP", at)],
        1: [("LDOWN", at), ("LUP", at), ("LDBL", at), ("LUP", at)],
        2: [("RDOWN", at), ("RUP", at)],
        3: [("RDOWN", at), ("RUP", at), ("RDBL", at), ("RUP", at)],
        4: [("KEYDOWN", (8,)), ("KEYUP", (8,))],
        5: [("KEYDOWN", (13,)), ("KEYUP", (13,))],
        6: [("KEYDOWN", (32,)), ("KEYUP", (32,))],
        7: [("KEYDOWN", (17,)), ("KEYDOWN", (67,)), ("KEYUP", (17,)), ("KEYUP", (67,))],
        8: [("KEYDOWN", (17,)), ("KEYDOWN", (86,)), ("KEYUP", (17,)), ("KEYUP", (86,))],
        9: [("KEYDOWN", (116,)), ("KEYUP", (116,))],
    }[kind]


def queued_ms(event):
    """When the event's input was queued, on the clock of now_ms: the message
    time is GetTickCount, the low 32 bits of the same clock in whole ms."""
    lag = (int(event[0]) - event[3]) & 0xFFFFFFFF
    if lag >= 0x80000000:
        lag -= 0x100000000
    return int(event[0]) - lag


def match_steps(events, steps, passes=None):
    """Splits the events into performed steps, cycling through `steps`.

    Returns the time each performed step's input was queued, that is, when the
    program injected it, unaffected by how soon the target got round to it. Every event has to belong
    to the expected step in order; the events end on a step boundary, and
    after exactly `passes` passes when that is given.
    """
    starts = []
    position = 0
    index = 0
    while position < len(events):
        step = steps[index % len(steps)]
        want = expected_events(step)
        got = [(e[1], e[2]) for e in events[position:position + len(want)]]
        check(got == want, f"step {index + 1} (kind {step['kind']}): expected {want}, got {got}")
        starts.append(queued_ms(events[position]))
        position += len(want)
        index += 1
    if passes is not None:
        check(index == passes * len(steps),
              f"expected {passes} passes of {len(steps)} steps, saw {index} steps")
    return starts


def spacing_report(starts, steps, label):
    """Prints the measured spacing of step starts against the recorded waits and
    checks that no wait was cut short and that the waits follow the recording."""
    rows = []
    for i in range(len(starts) - 1):
        delay = max(steps[i % len(steps)]["delay"], 0)
        rows.append((i + 1, delay, starts[i + 1] - starts[i]))
    if not rows:
        return
    overs = [measured - delay for _, delay, measured in rows]
    print(f"    {label}: spacing of {len(rows)} step starts, measured - recorded wait (ms): "
          f"min {min(overs):.1f}, median {statistics.median(overs):.1f}, max {max(overs):.1f}")
    print("    " + ", ".join(f"#{n} {measured:.0f}/{delay}" for n, delay, measured in rows[:14]))
    # Message times are whole milliseconds: allow one either side.
    short = [(n, delay, round(measured, 1)) for n, delay, measured in rows if measured < delay - 2]
    check(not short, f"waits cut short (step, recorded, measured): {short}")
    check(statistics.median(overs) < 150, f"spacing does not follow the recorded waits: median excess "
                                          f"{statistics.median(overs):.0f} ms")


class Session:
    """One program instance with steps recorded at the target, shared by the
    playback cases."""

    # Distinct positions more than the double-click distance apart, so one
    # step's click never pairs up with the next one's into a double click.
    STEPS = [
        {"radio": "左键单击", "kind": 0, "x": 150, "y": 150, "delay": 300},
        {"radio": "左键双击", "kind": 1, "x": 230, "y": 170, "delay": 500},
        {"radio": "右键单击", "kind": 2, "x": 310, "y": 200, "delay": 300},
        {"radio": "右键双击", "kind": 3, "x": 380, "y": 250, "delay": 400},
        {"combo": 1, "kind": 4, "delay": 300},  # 键盘删除（退格）操作
        {"combo": 4, "kind": 7, "delay": 300},  # 键盘复制操作
    ]

    def __init__(self, rig, target):
        self.rig = rig
        self.target = target
        self.app = App(rig)
        self.app.wait_main()
        self.recorded = False
        self.broken = None


def record_click_step(app, step):
    app.set_delay(step["delay"])
    app.click(step["radio"])
    wait_for(f"{step['radio']} checked", lambda: app.control(step["radio"])["checked"] == 1, 5.0)
    app.click("录入点击")
    xdo("mousemove", step["x"], step["y"])
    wait_for("the capture prompt or its result",
             lambda: app.status() in ("请将鼠标悬浮在要记录的位置上", "鼠标点击事件录入成功"), 3.0)
    check(not app.control("录入点击")["enabled"], "录入点击 stays enabled during its capture")
    wait_for("鼠标点击事件录入成功", lambda: app.status() == "鼠标点击事件录入成功", 5.0)
    wait_for("录入点击 enabled again", lambda: app.control("录入点击")["enabled"], 5.0)
    check(app.status() == "", f"status label not emptied after one second: {app.status()!r}")


def key_window(app):
    for window in app.ours():
        if window["class"] == WINDOW_CLASS and window["text"] == KEY_WINDOW_CAPTION and window["visible"]:
            return window
    return None


def record_key_steps(app, steps):
    app.set_delay(steps[0]["delay"])
    main_rect = app.main()["rect"]
    app.click("录入可选的操作")
    window = wait_for("the key-operation window", lambda: key_window(app), 10.0)
    check(window["rect"][:2] == main_rect[:2],
          f"key window at {window['rect'][:2]}, not at the main window's place {main_rect[:2]}")
    check(not app.main()["visible"], "main window still visible behind the key window")
    for number, step in enumerate(steps):
        if number:
            # The box's closing gives the activation back to the key window, so
            # the keys typed next reach it.
            wait_for("the key window active again", lambda: key_window(app)["foreground"] == 1, 5.0)
        combo_of = lambda: next(c for c in key_window(app)["children"] if c["class"] == "ComboBox")
        combo = combo_of()
        focus = wait_for("focus in the key window", lambda: key_window(app)["focus"], 5.0)
        if focus != combo["hwnd"]:
            xdo("key", "Tab")  # from 录入 back to the combo
            wait_for("focus on the combo", lambda: key_window(app)["focus"] == combo["hwnd"], 5.0)
        moves = step["combo"] - combo["selected"]
        if moves:
            xdo("key", "--repeat", abs(moves), "Down" if moves > 0 else "Up")
        wait_for(f"combo item {step['combo']}", lambda: combo_of()["selected"] == step["combo"], 5.0)
        click_at(centre(app.child(key_window(app), "录入", "Button")["rect"]))
        box = app.message_box("录入成功")
        app.answer_box(box, "Return")
    wait_for("the key window active again", lambda: key_window(app)["foreground"] == 1, 5.0)
    window = key_window(app)
    combo = next(c for c in window["children"] if c["class"] == "ComboBox")
    if wait_for("focus in the key window", lambda: key_window(app)["focus"], 5.0) == combo["hwnd"]:
        # Wine's combo box swallows every WM_SYSKEYDOWN, Alt+F4 included.
        xdo("key", "Tab")
        wait_for("focus off the combo", lambda: key_window(app)["focus"] != combo["hwnd"], 5.0)
    xdo("key", "alt+F4")
    wait_for("the key window to close", lambda: key_window(app) is None, 5.0)
    main = wait_for("the main window back", lambda: (lambda m: m if m and m["visible"] else None)(app.main()), 5.0)
    check(main["rect"] == main_rect, f"main window came back at {main['rect']}, left at {main_rect}")


def ensure_recorded(session):
    if session.recorded:
        return
    check(session.broken is None, f"no steps to play: {session.broken}")
    app = session.app
    try:
        for step in Session.STEPS:
            if "radio" in step:
                record_click_step(app, step)
        record_key_steps(app, [s for s in Session.STEPS if "combo" in s])
    except Exception as error:
        session.broken = f"recording failed: {error}"
        raise
    session.recorded = True


def check_normal_layout(app):
    main = app.wait_idle()
    check(main["rect"] == [*centred(MAIN_SIZE), *(a + b for a, b in zip(centred(MAIN_SIZE), MAIN_SIZE))],
          f"main window not restored: {main['rect']}")
    stop = app.child(main, "结束执行")
    start = app.child(main, "开始执行")
    check(stop["local"] == [240, 105, 304, 145], f"stop button not back under start: {stop['local']}")
    check(start["enabled"], "start button still disabled")


def check_compact(app):
    main = app.main()
    width, height = size(main["rect"])
    check((width, height) == (MAIN_SIZE[0], COMPACT_HEIGHT), f"running layout is {width} x {height}")
    stop = app.child(main, "结束执行")
    check(stop["local"] == [0, 0, 312, 103], f"stop button not covering the bar: {stop['local']}")
    check(not app.child(main, "开始执行")["enabled"], "start button enabled during the run")
    return stop


def enter_number(app, box_text, number):
    box = app.message_box(box_text)
    check_compact(app)
    app.answer_box(box, "Return")
    entry = app.entry_window()
    check(entry["rect"][:2] == list(centred(ENTRY_SIZE)) and size(entry["rect"]) == ENTRY_SIZE,
          f"entry window at {entry['rect']}")
    edit = entry["children"][0]
    check(entry["focus"] == edit["hwnd"], "focus not in the entry box")
    keys_over(entry["rect"], "type", str(number))
    wait_for(f"{number} in the entry box", lambda: app.entry_window()["children"][0]["text"] == str(number), 5.0)
    entered = now_ms()
    keys_over(entry["rect"], "key", "Return")
    return entered


# ---------------------------------------------------------------- the cases

def case_startup_and_alt_f4(rig):
    app = App(rig)
    try:
        main = app.wait_main()
        left, top = centred(MAIN_SIZE)
        print(f"    main window rect {main['rect']}, client {main['client']}")
        check(main["rect"] == [left, top, left + MAIN_SIZE[0], top + MAIN_SIZE[1]],
              f"main window at {main['rect']}, expected {MAIN_SIZE[0]} x {MAIN_SIZE[1]} at ({left}, {top})")
        check(main["topmost"] == 1, "main window not always on top")
        check(app.status() == "", f"status label not empty: {app.status()!r}")
        check(app.delay_edit()["text"] == "1700", f"delay text {app.delay_edit()['text']!r}")
        checked = [c["text"] for c in main["children"] if c.get("checked")]
        check(not checked, f"checked at start: {checked}")
        stop = app.child(main, "结束执行")
        check(main["focus"] == stop["hwnd"], "keyboard focus not on the covered stop button")
        wait_for("the main window in the foreground", lambda: app.main()["foreground"] == 1, 5.0)
        keys_over(app.main()["rect"], "key", "alt+F4")
        code = app.exit_code()
        check(code == 0, f"exit code {code}")
    finally:
        app.kill()


def case_record_steps(rig, session):
    ensure_recorded(session)
    check(session.app.status() == "", "status label not empty after recording")


def case_single_pass(rig, session):
    ensure_recorded(session)
    app, target = session.app, session.target
    app.set_mode(None)
    mark = target.mark()
    app.click("开始执行")
    wait_for("the compact layout", lambda: size(app.main()["rect"])[1] == COMPACT_HEIGHT, 3.0)
    check_compact(app)
    check_normal_layout(app)
    target.wait_quiet()
    starts = match_steps(target.events(mark), Session.STEPS, passes=1)
    spacing_report(starts, Session.STEPS, "single pass")


def case_count_mode(rig, session):
    ensure_recorded(session)
    app, target = session.app, session.target
    app.set_mode("次数循环模式")
    mark = target.mark()
    app.click("开始执行")
    entered = enter_number(app, "请在出现的编辑框中输入您需要循环执行的次数，并按回车提交", 2)
    check_normal_layout(app)
    target.wait_quiet()
    starts = match_steps(target.events(mark), Session.STEPS, passes=2)
    print(f"    count 2: first step {starts[0] - entered:.0f} ms after Enter in the entry box")
    spacing_report(starts, Session.STEPS, "count 2")


def minimise(app, window, what):
    app.rig.probe("syscommand", window["hwnd"], "minimize")
    return wait_for(f"{what} minimised",
                    lambda: next((w for w in app.ours() if w["hwnd"] == window["hwnd"] and w["iconic"]), None),
                    5.0)


def case_count_run_ends_minimised(rig, session):
    """A run that ends while the bar is minimised gives back the whole window."""
    ensure_recorded(session)
    app = session.app
    app.set_mode("次数循环模式")
    app.click("开始执行")
    enter_number(app, "请在出现的编辑框中输入您需要循环执行的次数，并按回车提交", 2)
    wait_for("the entry window gone", lambda: all(w["text"] != "" or not w["visible"] for w in app.ours()
                                                 if w["class"] == WINDOW_CLASS), 5.0)
    main = minimise(app, app.main(), "the running bar")
    wait_for("the run to end while minimised", lambda: app.control("开始执行")["enabled"], 30.0)
    check(app.main()["iconic"], "the window was restored by the end of the run")
    rig.probe("syscommand", main["hwnd"], "restore")
    wait_for("the main window restored", lambda: not app.main()["iconic"], 5.0)
    check_normal_layout(app)
    # The start button is where it belongs and starts a run again.
    app.set_mode(None)
    app.click("开始执行")
    wait_for("the bar of the next run", lambda: size(app.main()["rect"])[1] == COMPACT_HEIGHT, 5.0)
    check_normal_layout(app)


def case_key_window_closed_minimised(rig, session):
    """Closing the minimised key-operation window brings the main window back on screen."""
    app = session.app
    app.wait_idle()
    main_rect = app.main()["rect"]
    app.click("录入可选的操作")
    window = wait_for("the key-operation window", lambda: key_window(app), 10.0)
    minimise(app, window, "the key-operation window")
    rig.probe("close", window["hwnd"])
    wait_for("the key window to close", lambda: key_window(app) is None, 5.0)
    main = wait_for("the main window back",
                    lambda: (lambda m: m if m and m["visible"] else None)(app.main()), 5.0)
    check(main["rect"] == main_rect, f"main window came back at {main['rect']}, left at {main_rect}")
    check(not main["iconic"], "main window came back minimised")


STEP_WORDS = {0: "left-click", 1: "left-double-click", 2: "right-click", 3: "right-double-click",
              4: "key backspace", 5: "key enter", 6: "key space", 7: "key copy", 8: "key paste", 9: "key f5"}


def step_file_lines(steps):
    lines = []
    for step in steps:
        words = STEP_WORDS[step["kind"]]
        where = f" {step['x']} {step['y']}" if step["kind"] <= 3 else ""
        lines.append(f"{words}{where} {step['delay']}")
    return lines


def file_dialog(app):
    """The common open or save dialog: a dialog with a folder view."""
    def find():
        for window in app.ours():
            if window["class"] == DIALOG_CLASS and window["visible"] and \
                    any(c["class"] == "SHELLDLL_DefView" for c in window["children"]):
                return window
        return None

    return wait_for("a file dialog", find, 10.0)


def use_file_dialog(app, key, path):
    """Opens the open (Ctrl+O) or save (Ctrl+S) dialog from the keyboard and
    gives it a full path, as a user typing it would."""
    main = app.main()
    click_at(centre(app.control("下方输入延迟")["rect"]))  # activate the main window, away from any button
    keys_over(main["rect"], "key", key)
    dialog = file_dialog(app)
    keys_over(dialog["rect"], "type", "--delay", "5", wine_path(path))
    keys_over(dialog["rect"], "key", "Return")
    wait_for("the file dialog to close",
             lambda: all(w["hwnd"] != dialog["hwnd"] for w in app.ours() if w["visible"]), 10.0)


def case_save_with_ctrl_s(rig, session):
    """Ctrl+S and the system's save dialog write the recorded steps."""
    ensure_recorded(session)
    app = session.app
    app.wait_idle()
    path = rig.scratch / "saved.tvsteps"
    use_file_dialog(app, "ctrl+s", path)
    wait_for("已保存 6 个步骤", lambda: app.status() == "已保存 6 个步骤", 5.0)
    raw = path.read_bytes()
    check(raw.startswith(b"tapvane2-steps 1\r\n# Tapvane2 "), f"file starts {raw[:40]!r}")
    lines = [line for line in raw.decode("utf-8").split("\r\n") if line and not line.startswith("#")]
    check(lines == ["tapvane2-steps 1", *step_file_lines(Session.STEPS)], f"saved lines: {lines}")


def case_damaged_file_keeps_the_steps(rig, session):
    """A damaged file is refused with its line, and a run then plays the old steps."""
    ensure_recorded(session)
    app, target = session.app, session.target
    app.wait_idle()
    path = rig.scratch / "damaged.tvsteps"
    path.write_bytes(b"tapvane2-steps 1\r\nleft-click 10 10 100\r\nleft-click 20 x 100\r\n")
    use_file_dialog(app, "ctrl+o", path)
    box = app.message_box("第 3 行")
    texts = " ".join(c["text"] for c in box["children"])
    check("damaged.tvsteps" in texts and "当前的步骤保持不变" in texts, f"error box says {texts!r}")
    app.answer_box(box, "Return")
    app.set_mode(None)
    mark = target.mark()
    app.click("开始执行")
    check_normal_layout(app)
    target.wait_quiet()
    match_steps(target.events(mark), Session.STEPS, passes=1)


def case_command_line_file(rig, session):
    """Tapvane2.exe FILE opens the file at start, and a run plays its steps."""
    target = session.target
    path = rig.scratch / "from the command line.tvsteps"
    path.write_text("tapvane2-steps 1\r\n" + "\r\n".join(step_file_lines(Session.STEPS)) + "\r\n",
                    encoding="utf-8")
    app = App(rig, wine_path(path))
    try:
        app.wait_main()
        wait_for("已打开 6 个步骤", lambda: app.status() == "已打开 6 个步骤", 10.0)
        app.wait_idle()
        mark = target.mark()
        app.click("开始执行")
        check_normal_layout(app)
        target.wait_quiet()
        match_steps(target.events(mark), Session.STEPS, passes=1)
    finally:
        app.close()
        code = app.exit_code()
        check(code == 0, f"exit code {code}")


def case_time_mode(rig, session):
    ensure_recorded(session)
    app, target = session.app, session.target
    app.set_mode("时间循环模式")
    mark = target.mark()
    app.click("开始执行")
    run_ms = 3000
    entered = enter_number(app, "请您注意：设置值 1000 = 1 秒", run_ms)
    check_normal_layout(app)
    target.wait_quiet()
    starts = match_steps(target.events(mark), Session.STEPS)
    fired = entered + run_ms
    last = starts[-1]
    last_delay = Session.STEPS[(len(starts) - 1) % len(Session.STEPS)]["delay"]
    print(f"    time {run_ms}: {len(starts)} steps; first step {starts[0] - entered:.0f} ms after Enter, "
          f"last step {last - entered:.0f} ms after Enter (its wait {last_delay} ms)")
    spacing_report(starts, Session.STEPS, f"time {run_ms}")
    check(last < fired + 50, "a step began after the run timer had fired")
    check(last + last_delay > fired - 50, "the run ended before the run timer fired")


def case_endless_stop_button(rig, session):
    ensure_recorded(session)
    app, target = session.app, session.target
    app.set_mode("无限循环模式")
    mark = target.mark()
    app.click("开始执行")
    box = app.message_box("在无限循环模式中")
    check(size(app.main()["rect"])[1] == MAIN_SIZE[1],
          "endless mode shrank the window before its warning was answered")
    app.answer_box(box, "Return")
    # Let more than one pass go by, then click the stop button right after a
    # step has begun, well inside that step's wait.
    wanted = 2 * len(Session.STEPS) + 2
    wait_for(f"{wanted} steps", lambda: len(_steps_begun(target, mark)) >= wanted, 20.0, 0.01)
    stop = check_compact(app)
    seen = len(_steps_begun(target, mark))
    wait_for("the next step", lambda: len(_steps_begun(target, mark)) > seen, 5.0, 0.003)
    clicked = now_ms()
    click_at(centre(stop["rect"]))
    check_normal_layout(app)
    restored = now_ms()
    target.wait_quiet()
    starts = match_steps(target.events(mark), Session.STEPS)
    after = [round(s - clicked) for s in starts if s > clicked]
    print(f"    endless + stop button: {len(starts)} steps; steps begun after the click: {len(after)}; "
          f"layout back within {restored - clicked:.0f} ms of the click (polled)")
    spacing_report(starts, Session.STEPS, "endless")
    check(not after, f"steps begun after the stop click (ms after it): {after}")


def _steps_begun(target, mark):
    """Start times of the steps whose first event has arrived so far."""
    events = target.events(mark)
    starts, position, index = [], 0, 0
    while position < len(events):
        want = len(expected_events(Session.STEPS[index % len(Session.STEPS)]))
        starts.append(events[position][0])
        position += want
        index += 1
    return starts


def case_endless_zero_waits_escape(rig, session):
    ensure_recorded(session)
    app, target = session.app, session.target
    app.click("清空录入")
    wait_for("清空成功", lambda: app.status() == "清空成功", 5.0)
    wait_for("the status label to empty", lambda: app.status() == "", 5.0)
    session.recorded = False
    # Two places, so that the clicks do not all pair up into double clicks.
    steps = [{"radio": "左键单击", "kind": 0, "x": 300, "y": 120, "delay": 0},
             {"radio": "左键单击", "kind": 0, "x": 340, "y": 120, "delay": 0}]
    for step in steps:
        record_click_step(app, step)
    app.set_mode("无限循环模式")
    mark = target.mark()
    app.click("开始执行")
    box = app.message_box("在无限循环模式中")
    app.answer_box(box, "Return")
    try:
        wait_for("the zero-wait run to reach the target", lambda: len(target.events(mark)) >= 200, 20.0, 0.01)
    except Failure:
        main = app.main()
        raise Failure(f"no flood of clicks at the target: {len(target.events(mark))} events, main window "
                      f"{main and main['rect']}, last lines {target.lines()[-3:]}")
    check_compact(app)
    check(app.main()["answering"] == 0, "the program answers messages during a run with zero waits")
    pressed = now_ms()
    xdo("key", "Escape")  # the pointer is over the target, a Wine window
    app.wait_idle(timeout=20.0)
    restored = now_ms()
    check_normal_layout(app)
    target.wait_quiet()
    events = target.events(mark)
    # The Esc goes to whichever window has the focus: the target, if its
    # click took the focus, else the program's own window.
    keys = [(e[1], e[2][0]) for e in events if e[1] in ("KEYDOWN", "KEYUP")]
    check(keys in ([], [("KEYDOWN", ESC), ("KEYUP", ESC)]),
          f"key messages at the target other than the test's one Esc: {keys}")
    # With no wait between them, Wine's pointer position (fed back from X)
    # lags behind SetCursorPos, so clicks may land on the previous step's
    # place and pair up into double clicks: only presses are counted here.
    presses = [e for e in events if e[1] in ("LDOWN", "LDBL")]
    check(all(e[2] in ((300, 120), (340, 120)) for e in presses), "a click landed away from both steps")
    # Message times (GetTickCount when queued) say when the program injected
    # a click, however far the target lagged behind in handling them.
    tick_pressed = int(pressed) & 0xFFFFFFFF
    after = [e for e in presses if (e[3] - tick_pressed) & 0xFFFFFFFF < 0x80000000]
    span = (presses[-1][3] - presses[0][3]) & 0xFFFFFFFF
    print(f"    zero waits + Esc: {len(presses)} clicks injected over {span} ms "
          f"({len(presses) / max(span, 1) * 1000:.0f}/s); {len(after)} of them after xdotool sent Esc "
          f"(the last {((presses[-1][3] - tick_pressed) & 0xFFFFFFFF)} ms after); "
          f"layout restored within {restored - pressed:.0f} ms; Esc "
          f"{'reached the target' if keys else 'went to the program'}")


def case_close_exit_code(rig, session):
    app = session.app
    app.wait_idle()
    app.close()
    code = app.exit_code()
    check(code == 0, f"exit code {code}")


def main():
    if len(sys.argv) != 2:
        raise SystemExit(__doc__)
    rig = Rig(sys.argv[1])
    # A timeout's SIGTERM still closes the program and the target.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(143))
    passed, failed = 0, 0
    # E2E_ONLY=text runs only the session cases whose name holds the text.
    only = os.environ.get("E2E_ONLY", "")
    target = None
    session = None

    def run(name, body):
        nonlocal passed, failed
        began = time.monotonic()
        print(f"[ RUN  ] {name}", flush=True)
        try:
            body()
            passed += 1
            print(f"[  OK  ] {name} ({time.monotonic() - began:.1f} s)", flush=True)
            return True
        except Exception as error:  # a failed case must not stop the others
            failed += 1
            detail = str(error) if isinstance(error, Failure) else traceback.format_exc()
            print(f"[ FAIL ] {name}: {detail}", flush=True)
            return False

    def set_up():
        nonlocal target
        rig.calibrate_clock()
        # Up for the whole suite: besides taking the steps, it keeps Wine's
        # desktop process alive between the program's runs.
        target = Target(rig)

    def open_session():
        nonlocal session
        session = Session(rig, target)

    try:
        if run("set-up: clocks agree, input target up", set_up):
            run("start-up centred, Alt+F4 exits with 0", lambda: case_startup_and_alt_f4(rig))
            if run("a second instance starts for the recording cases", open_session):
                for name, body in [
                    ("record four click steps and two key steps", case_record_steps),
                    ("single pass", case_single_pass),
                    ("count mode, 2 passes", case_count_mode),
                    ("a count run ending while minimised, then restored", case_count_run_ends_minimised),
                    ("the key-operation window closed while minimised", case_key_window_closed_minimised),
                    ("time mode, 3000 ms", case_time_mode),
                    ("endless mode, stopped by the stop button", case_endless_stop_button),
                    ("Ctrl+S saves the steps through the save dialog", case_save_with_ctrl_s),
                    ("a damaged file is refused and the old steps still play", case_damaged_file_keeps_the_steps),
                    # Replaces the recorded steps with two of its own.
                    ("endless mode with zero waits, stopped by Esc", case_endless_zero_waits_escape),
                    ("closing the main window exits with 0", case_close_exit_code),
                    # Alone on the screen now: App finds windows by caption.
                    ("a file named on the command line is opened and plays", case_command_line_file),
                ]:
                    if only and only not in name:
                        continue
                    run(name, lambda b=body: b(rig, session))
    finally:
        if session is not None:
            session.app.kill()
        if target is not None:
            target.close()
    if failed:
        print(f"(the target's log is kept in {rig.scratch})")
    else:
        shutil.rmtree(rig.scratch, ignore_errors=True)
    print(f"{passed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
