#!/usr/bin/python3
"""The program as a screen reader and a keyboard-only user meet it.

Run inside a session bus and an X display (scripts/run-a11y-tests starts
both): starts the program with Qt's AT-SPI bridge on, reads its window over
the accessibility bus with pyatspi, as Orca does, and drives it with real
key presses through the X server (xdotool). No mouse event is sent.

    screen_reader_test.py PROGRAM
"""

import os
import subprocess
import sys
import tempfile
import time
import unittest
import warnings

warnings.simplefilter("ignore", DeprecationWarning)  # pyatspi's own calls into Atspi

import pyatspi  # noqa: E402
from gi.repository import GLib  # noqa: E402

PROGRAM = None
TIMEOUT = 20.0  # seconds a condition may take before the test fails

CAPTIONS = [
    "O1 - Minor second", "O2 - Major second", "O3 - Minor third", "O4 - Major third",
    "O5 - Perfect fourth", "O6 - Diminished fifth / Augmented fourth", "O7 - Perfect fifth",
    "O8 - Minor sixth / Augmented fifth", "09 - Major sixth", "10 - Minor seventh / Augmented sixth",
    "11 - Major seventh", "12 - Perfect octave",
]


def pump():
    """Delivers the accessibility events that have arrived."""
    context = GLib.MainContext.default()
    while context.pending():
        context.iteration(False)


def wait_for(condition, what, timeout=TIMEOUT):
    """Polls condition (pumping events) until it is true; fails after timeout."""
    deadline = time.monotonic() + timeout
    while True:
        pump()
        value = condition()
        if value:
            return value
        if time.monotonic() > deadline:
            raise AssertionError("timed out waiting for " + what)
        time.sleep(0.02)


def walk(node):
    yield node
    for child in node:
        if child is not None:
            yield from walk(child)


def has_state(node, state):
    return node.getState().contains(state)


def key(*names):
    subprocess.run(["xdotool", "key", "--delay", "30", *names], check=True)


class Program:
    """One run of the program in a fresh working folder."""

    def __init__(self):
        self.folder = tempfile.TemporaryDirectory()
        env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb",
                   TONVIK_MIDI_OUT="none")
        self.process = subprocess.Popen([PROGRAM], cwd=self.folder.name, env=env)
        self.app = wait_for(self._find, "the program on the accessibility bus")
        self.window = wait_for(lambda: self.app.childCount > 0 and self.app[0], "its window")
        wait_for(lambda: self.find(name="Start", role=pyatspi.ROLE_PUSH_BUTTON), "the window's controls")

    def _find(self):
        if self.process.poll() is not None:
            raise AssertionError("the program ended with %s" % self.process.returncode)
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == "Tonvik - Intervals (DEMO)" and app.get_process_id() == self.process.pid:
                return app
        return None

    def close(self):
        self.process.terminate()
        try:
            self.process.wait(10)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
        self.folder.cleanup()

    def find(self, name=None, role=None, description=None):
        for node in walk(self.window):
            if ((name is None or node.name == name) and (role is None or node.getRole() == role)
                    and (description is None or node.description == description)):
                return node
        return None

    def get(self, **what):
        node = self.find(**what)
        if node is None:
            raise AssertionError("no accessible object %s" % what)
        return node

    def focused(self):
        for node in walk(self.window):
            if has_state(node, pyatspi.STATE_FOCUSED):
                return node
        return None

    def focus_window(self):
        window_id = subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--pid", str(self.process.pid),
                                    "--name", "Tonvik"], check=True, capture_output=True,
                                   text=True).stdout.split()[0]
        subprocess.run(["xdotool", "windowfocus", "--sync", window_id], check=True)
        wait_for(lambda: has_state(self.window, pyatspi.STATE_ACTIVE), "the window to be active")

    def tab_to(self, node, backwards=False):
        """Presses Tab (or Shift+Tab) until node has the focus."""
        for _ in range(40):
            if has_state(node, pyatspi.STATE_FOCUSED):
                return
            key("shift+Tab" if backwards else "Tab")
            try:
                wait_for(lambda: self.focused() is not None, "a focused control", timeout=2)
            except AssertionError:
                pass
        raise AssertionError("Tab never reached %r" % node.name)

    def count(self, description):
        return int(self.get(description=description).name)


def press(node):
    action = node.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    if "Press" not in names:
        raise AssertionError("%r has no Press action: %s" % (node.name, names))
    action.doAction(names.index("Press"))


class ScreenReader(unittest.TestCase):
    def setUp(self):
        self.events = []
        self.listener = lambda event: self.events.append(event)
        pyatspi.Registry.registerEventListener(self.listener, "object:property-change:accessible-name",
                                               "object:text-changed")
        self.program = Program()

    def tearDown(self):
        self.program.close()
        pyatspi.Registry.deregisterEventListener(self.listener, "object:property-change:accessible-name",
                                                 "object:text-changed")

    def test_tree_names_every_caption_count_and_the_lamp(self):
        p = self.program
        for tag, caption in enumerate(CAPTIONS, start=1):
            node = p.get(name=caption, role=pyatspi.ROLE_PUSH_BUTTON)
            self.assertEqual(has_state(node, pyatspi.STATE_SENSITIVE), tag <= 4, caption)
            self.assertEqual(node.description, "Key %s" % "1234567890-="[tag - 1])
        self.assertEqual(p.get(description="Right answers").name, "0")
        self.assertEqual(p.get(description="Wrong answers").name, "0")
        self.assertEqual(p.get(description="Percentage right").name, "0%")
        self.assertEqual(p.get(description="Countdown").name, "300 SEC.")
        self.assertEqual(p.get(description="Last interval").name, "")
        p.get(name="(High-score: 0%)")
        p.get(name="Last interval :")
        p.get(name="What interval do you hear?")
        lamp = p.get(description="Answer lamp", role=pyatspi.ROLE_IMAGE)
        self.assertEqual(lamp.name, "none yet")
        p.get(name="Intervals", role=pyatspi.ROLE_PANEL)
        p.get(name="Score (only current Level)", role=pyatspi.ROLE_PANEL)
        # The credits ticker holds its whole line wherever it has scrolled to.
        self.assertTrue(any(n.name.startswith("Tonvik - Intervals (DEMO)   *") and n.name.endswith("Software")
                            for n in walk(p.window)))
        self.assertEqual(p.get(description="Right answers").queryText().getText(0, -1), "0")
        p.get(name="Usage", role=pyatspi.ROLE_TEXT)
        p.get(name="Information", role=pyatspi.ROLE_TEXT)

    def test_press_action_of_a_caption_answers_and_the_count_tells_it(self):
        p = self.program
        start = p.get(name="Start", role=pyatspi.ROLE_PUSH_BUTTON)
        press(start)
        wait_for(lambda: not has_state(start, pyatspi.STATE_SENSITIVE), "the run to start")
        del self.events[:]
        press(p.get(name=CAPTIONS[0]))
        right = p.get(description="Right answers")
        wrong = p.get(description="Wrong answers")
        wait_for(lambda: p.count("Right answers") + p.count("Wrong answers") == 1, "the answer to count")

        def told(node):
            return [e for e in self.events if e.source == node]
        counted = right if p.count("Right answers") == 1 else wrong
        wait_for(lambda: told(counted), "the count's change event")
        kinds = {e.type for e in told(counted)}
        self.assertIn("object:property-change:accessible-name", kinds)
        self.assertTrue(any(k.startswith("object:text-changed:insert") for k in kinds), kinds)
        self.assertEqual(p.get(description="Answer lamp").name, "right" if counted == right else "wrong")
        self.assertRegex(p.get(description="Last interval").name, r"^[1-4]$")
        self.assertTrue(p.get(description="Percentage right").name in ("0%", "100%"))
        # The countdown is readable but does not speak every second.
        countdown = p.get(description="Countdown")
        wait_for(lambda: countdown.name != "300 SEC.", "the countdown to move")
        pump()
        self.assertEqual(told(countdown), [])

    def test_keyboard_only_run(self):
        p = self.program
        p.focus_window()
        start = p.get(name="Start", role=pyatspi.ROLE_PUSH_BUTTON)
        p.tab_to(start)
        key("space")
        wait_for(lambda: not has_state(start, pyatspi.STATE_SENSITIVE), "the run to start")
        first = p.get(name=CAPTIONS[0])
        wait_for(lambda: has_state(first, pyatspi.STATE_FOCUSED), "the first caption to take the focus")
        # Ten answers: direct keys, arrows with Space, Enter.
        key("1", "2", "3", "4")
        key("Right")
        wait_for(lambda: has_state(p.get(name=CAPTIONS[1]), pyatspi.STATE_FOCUSED), "Right to reach O2")
        key("space", "Down")
        wait_for(lambda: has_state(p.get(name=CAPTIONS[3]), pyatspi.STATE_FOCUSED), "Down to reach O4")
        key("space", "Return", "Left", "Return", "Up", "space", "Return")
        wait_for(lambda: p.count("Right answers") + p.count("Wrong answers") == 10, "ten answers")
        self.assertEqual(has_state(p.get(name=CAPTIONS[0]), pyatspi.STATE_FOCUSED), True)

        repeat = p.get(name="Repeat", role=pyatspi.ROLE_PUSH_BUTTON)
        wait_for(lambda: has_state(repeat, pyatspi.STATE_SENSITIVE), "Repeat after the next question")
        p.tab_to(repeat, backwards=True)
        key("space")
        reset = p.get(name="Reset", role=pyatspi.ROLE_PUSH_BUTTON)
        p.tab_to(reset, backwards=True)
        key("space")
        wait_for(lambda: has_state(start, pyatspi.STATE_SENSITIVE), "Reset to end the run")
        self.assertEqual(p.count("Right answers") + p.count("Wrong answers"), 0)
        self.assertEqual(p.get(description="Countdown").name, "300 SEC.")

        level = p.get(role=pyatspi.ROLE_COMBO_BOX)
        p.tab_to(level)
        key("Down")
        wait_for(lambda: level.name == "Level 2 - Harmonic - 01, 02, 03, 04", "the second level")

        key("ctrl+Tab")
        usage = p.get(name="Usage", role=pyatspi.ROLE_TEXT)
        wait_for(lambda: has_state(usage, pyatspi.STATE_SHOWING), "the Information page")
        text_before = usage.queryText().getText(0, -1)
        p.tab_to(usage)
        key("Tab")
        wait_for(lambda: not has_state(usage, pyatspi.STATE_FOCUSED), "Tab to leave the memo")
        self.assertEqual(usage.queryText().getText(0, -1), text_before)
        key("ctrl+shift+Tab")
        wait_for(lambda: has_state(start, pyatspi.STATE_SHOWING), "the quiz page again")
        self.assertFalse(has_state(usage, pyatspi.STATE_SHOWING))


if __name__ == "__main__":
    PROGRAM = sys.argv.pop(1)
    unittest.main(verbosity=2, warnings="ignore")
