"""The page process of a thread: page after page in one process, a page that kills or
holds it costs only that page and leaves no output, and it ends with its thread."""

import os
import signal
import subprocess
import sys
import tempfile
import textwrap
import threading
import time
import unittest
from concurrent.futures import ThreadPoolExecutor
from unittest import mock

import kestrum
import kestrum.dask


class PageProcessTest(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.TemporaryDirectory(prefix="kestrum-page-process-")
        self.addCleanup(self.folder.cleanup)
        # A page process is forked at its thread's first page: each test's work runs in a
        # thread of its own, so that its process reads pages with the stand-in below.
        patch = mock.patch.object(kestrum, "dump", self.dump)
        patch.start()
        self.addCleanup(patch.stop)

    def out(self, name):
        return os.path.join(self.folder.name, name + ".json")

    def dump(self, file, format, **settings):
        """Stands in for the reader in a page process: a page does what its name says; a
        page read gives the reading process's pid."""
        name = os.path.basename(file)
        if name == "crash.ps":
            # Half an output under the name that this process writes it under.
            with open(kestrum._temporary_name(self.out(name), os.getpid()), "wb") as half:
                half.write(b"half")
            os.kill(os.getpid(), signal.SIGSEGV)
        elif name == "leave.ps":
            os._exit(7)
        elif name == "hold.ps":
            time.sleep(30)
        return str(os.getpid()).encode(), len(name), 2, 3

    def run_pages(self, names, timeout=1):
        return kestrum.dask.run_pages([(name, self.out(name)) for name in names], "json", {}, timeout)

    def reader_of(self, name):
        with open(self.out(name), "rb") as out:
            return int(out.read())

    def test_pages_after_a_dead_or_held_page_are_read_by_a_fresh_process(self):
        undecodable = os.fsdecode(b"page-\xff.ps")
        names = ["first.ps", undecodable, "crash.ps", "after-crash.ps", "leave.ps", "after-leave.ps",
                 "hold.ps", "after-hold.ps"]
        failures = {
            "crash.ps": ("crashed", "worker died (signal 11)"),
            "leave.ps": ("crashed", "worker died (exit 7)"),
            "hold.ps": ("timeout", "timed out after 1 s"),
        }
        for name in failures:
            with open(self.out(name), "wb") as earlier:
                earlier.write(b"an earlier run's output")
        with ThreadPoolExecutor(1) as thread:
            outcomes = thread.submit(self.run_pages, names).result()

        for name, outcome in zip(names, outcomes):
            with self.subTest(page=name):
                self.assertIsInstance(outcome.pop("ms"), int)
                status, error = failures.get(name, ("ok", None))
                counts = (len(name), 2, 3) if status == "ok" else (0, 0, 0)
                self.assertEqual(outcome, {"status": status, "blocks": counts[0], "pictures": counts[1],
                                           "articles": counts[2], "error": error})
        # No output of a failed page, nor half of one.
        self.assertEqual(sorted(os.listdir(self.folder.name)),
                         sorted(name + ".json" for name in names if name not in failures))
        self.assertEqual(self.reader_of("first.ps"), self.reader_of(undecodable))
        readers = [self.reader_of(name) for name in ("first.ps", "after-crash.ps", "after-leave.ps", "after-hold.ps")]
        self.assertEqual(len(set(readers)), len(readers))

    def test_a_process_gone_between_pages_costs_the_next_page_nothing(self):
        def wait_for_death(pid):
            # Dead but not reaped: the reaping is the page process owner's.
            while True:
                with open(f"/proc/{pid}/stat") as stat:
                    if stat.read().rsplit(")", 1)[1].split()[0] == "Z":
                        return
                time.sleep(0.01)

        cases = [
            ("killed just before the next page", lambda pid: None),
            ("dead before the next page is sent", wait_for_death),
        ]
        for case, before_the_next_page in cases:
            with self.subTest(case=case), ThreadPoolExecutor(1) as thread:
                [first] = thread.submit(self.run_pages, ["first.ps"]).result()
                reader = self.reader_of("first.ps")
                os.kill(reader, signal.SIGKILL)
                before_the_next_page(reader)
                [after] = thread.submit(self.run_pages, ["after.ps"]).result()
                self.assertEqual((first["status"], after["status"]), ("ok", "ok"), after["error"])
                self.assertNotEqual(self.reader_of("after.ps"), reader)

    def test_a_page_left_unanswered_does_not_answer_for_the_next(self):
        def interrupted(*_):
            raise KeyboardInterrupt

        def first_interrupted_then_next():
            with mock.patch("select.select", interrupted), self.assertRaises(KeyboardInterrupt):
                self.run_pages(["first.ps"])
            return self.run_pages(["the-next.ps"])

        with ThreadPoolExecutor(1) as thread:
            [after] = thread.submit(first_interrupted_then_next).result()
        self.assertEqual((after["status"], after["blocks"]), ("ok", len("the-next.ps")))

    def test_a_page_process_ends_with_its_thread_while_others_go_on(self):
        first_read, second_read, first_ended = threading.Event(), threading.Event(), threading.Event()

        def first():
            self.run_pages(["first.ps"])
            first_read.set()
            second_read.wait(10)

        def second():
            first_read.wait(10)
            self.run_pages(["second.ps"])
            second_read.set()
            first_ended.wait(10)
            self.run_pages(["second-again.ps"])

        # Daemons: a thread that cannot end must not hold the tests up once they are done.
        threads = [threading.Thread(target=first, daemon=True), threading.Thread(target=second, daemon=True)]
        for thread in threads:
            thread.start()
        threads[0].join(10)
        # Its own request pipe, held open by the later page process of the other thread,
        # would keep the first page process, and its thread, from ever ending.
        self.assertFalse(threads[0].is_alive())
        readers = [self.reader_of("first.ps"), self.reader_of("second.ps")]
        self.assertFalse(os.path.exists(f"/proc/{readers[0]}"))
        first_ended.set()
        threads[1].join(10)
        self.assertFalse(threads[1].is_alive())
        self.assertEqual(self.reader_of("second-again.ps"), readers[1])
        self.assertFalse(os.path.exists(f"/proc/{readers[1]}"))

    def test_a_page_still_read_as_its_worker_exits_is_killed(self):
        held = os.path.join(self.folder.name, "held")
        worker = textwrap.dedent("""
            import os, sys, threading, time
            import kestrum, kestrum.page_process

            def hold(*_, **__):
                kestrum.write_file(sys.argv[1], str(os.getpid()).encode())
                time.sleep(30)

            kestrum.dump = hold
            threading.Thread(target=kestrum.page_process.run_page, args=("hold.ps", sys.argv[1] + ".json", "json",
                                                                          {}, 60), daemon=True).start()
            while not os.path.exists(sys.argv[1]):
                time.sleep(0.01)
        """)
        started = time.monotonic()
        run = subprocess.run([sys.executable, "-c", worker, held], capture_output=True, timeout=60)
        self.assertEqual(run.returncode, 0, run.stderr)
        self.assertLess(time.monotonic() - started, 20, "the exit waited for the page")
        with open(held) as reader:
            self.assertFalse(os.path.exists(f"/proc/{int(reader.read())}"))

if __name__ == "__main__":
    unittest.main()
