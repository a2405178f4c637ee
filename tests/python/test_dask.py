"""The Dask runner on a local cluster of two worker processes: the outputs and the
report of kestrum batch, a broken page reported while the run goes on."""

import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
import unittest
import uuid

import kestrum
import kestrum.dask

from pages import CLI, cli, write_examples


def processes_marked(marker):
    """The live processes whose environment holds ``marker``."""
    marked = []
    for pid in filter(str.isdigit, os.listdir("/proc")):
        try:
            with open(f"/proc/{pid}/environ", "rb") as environ:
                if marker in environ.read().split(b"\0"):
                    marked.append(int(pid))
        except OSError:
            continue  # gone, or not ours to read
    return marked


def run_dask(test, *arguments):
    """The run, once none of its processes, workers or page processes, is left."""
    run_id = str(uuid.uuid4())
    marker = f"KESTRUM_TEST_RUN={run_id}".encode()
    run = subprocess.run([sys.executable, "-m", "kestrum.dask", "local", "--workers", "2", *arguments],
                         capture_output=True, cwd=os.getcwd(), env=dict(os.environ, KESTRUM_TEST_RUN=run_id))
    deadline = time.monotonic() + 10
    while processes_marked(marker) and time.monotonic() < deadline:
        time.sleep(0.1)
    test.assertEqual(processes_marked(marker), [], "left after the run")
    return run


def report_of(out, test):
    """The report's lines by page, with the times left out."""
    lines = {}
    with open(os.path.join(out, "report.jsonl"), "rb") as report:
        for line in report:
            entry = json.loads(line)
            keys = list(entry)
            test.assertIsInstance(entry.pop("ms"), int)
            lines.setdefault(entry["file"], []).append((keys, entry))
    return lines


def without_times(content):
    # PAGE and ALTO files carry the moment they were written.
    return re.sub(rb"\d{4}-\d\d-\d\dT\d\d:\d\d:\d\dZ", b"TIME", content)


def files_under(folder):
    found = {}
    for root, _, names in os.walk(folder):
        for name in names:
            path = os.path.join(root, name)
            with open(path, "rb") as f:
                found[os.path.relpath(path, folder)] = without_times(f.read())
    return found


class DaskRunTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.work = tempfile.mkdtemp(prefix="kestrum-dask-")
        os.chdir(cls.work)
        # archive/ holds the example pages, one of them a folder down, and a broken page.
        os.makedirs("archive/1987/03")
        write_examples("archive")
        shutil.move("archive/news-page.s2", "archive/1987/03/news-page.s2")
        with open("archive/1987/broken.ps", "wb") as f:
            f.write(b"%!PS\x00 not a page\n")
        cls.pages = ["archive/1987/03/news-page.s2", "archive/1987/broken.ps", "archive/front-page.ps",
                     "archive/news-page-grouped.s2"]

    @classmethod
    def tearDownClass(cls):
        os.chdir("/")
        shutil.rmtree(cls.work)

    def test_run_writes_what_dump_writes_and_reports_every_page(self):
        run = run_dask(self, "--format", "page", "--out", "out", "--image-folders", "archive", "archive")
        self.assertEqual(run.returncode, 1, run.stderr)
        self.assertIn(b"batch: 4 pages, 3 ok, 1 failed, 0 timed out, 0 crashed, 0 skipped in ", run.stderr)
        report = report_of("out", self)
        self.assertEqual(sorted(report), sorted(self.pages))
        for page in self.pages:
            with self.subTest(page=page):
                [(keys, entry)] = report[page]
                self.assertEqual(keys, ["file", "status", "blocks", "pictures", "articles", "ms", "error"])
                dumped = cli("dump", page, "--format", "page", "--image-folders", "archive")
                output = os.path.join("out", os.path.relpath(page, "archive") + ".page.xml")
                if dumped.returncode == 0:
                    doc = kestrum.read(page, image_folders="archive")
                    self.assertEqual(entry, {"file": page, "status": "ok", "blocks": len(doc["textBlocks"]),
                                             "pictures": len(doc["pictures"]),
                                             "articles": len(doc["articles"]), "error": None})
                    with open(output, "rb") as f:
                        self.assertEqual(without_times(f.read()), without_times(dumped.stdout))
                else:
                    self.assertEqual(entry, {"file": page, "status": "failed", "blocks": 0, "pictures": 0,
                                             "articles": 0, "error": dumped.stderr.decode()[9:-1]})
                    self.assertFalse(os.path.exists(output))
        self.assertEqual(sorted(files_under("out")), sorted(
            ["report.jsonl"] + [os.path.relpath(p, "archive") + ".page.xml" for p in self.pages if "broken" not in p]))

        # Resumed, only the page that failed runs again.
        resumed = run_dask(self, "--format", "page", "--out", "out", "--resume", "--image-folders", "archive",
                           "archive")
        self.assertEqual(resumed.returncode, 1)
        self.assertIn(b"batch: 4 pages, 0 ok, 1 failed, 0 timed out, 0 crashed, 3 skipped in ", resumed.stderr)
        self.assertEqual(len(report_of("out", self)["archive/1987/broken.ps"]), 2)

    def test_run_equals_kestrum_batch(self):
        for format in ("json", "page", "alto"):
            with self.subTest(format=format):
                dask_out, batch_out = f"dask-{format}", f"batch-{format}"
                run = run_dask(self, "--format", format, "--out", dask_out, "--group", "archive",
                               "archive/front-page.ps")
                batch = subprocess.run([CLI, "batch", "archive", "archive/front-page.ps", "--out", batch_out,
                                        "--format", format, "--group", "--jobs", "2"], capture_output=True)
                self.assertEqual(run.returncode, batch.returncode, batch.stderr)
                self.assertEqual(report_of(dask_out, self), report_of(batch_out, self))
                ran, batched = files_under(dask_out), files_under(batch_out)
                del ran["report.jsonl"], batched["report.jsonl"]
                self.assertEqual(ran, batched)

    def test_pages_bag_holds_the_documents(self):
        from distributed import Client, LocalCluster

        pages = [p for p in self.pages if "broken" not in p]
        with LocalCluster(n_workers=2, threads_per_worker=1, host="127.0.0.1", dashboard_address=None) as cluster, \
                Client(cluster):
            documents = kestrum.dask.read_pages(pages, group=True).compute()
        self.assertEqual(documents, [kestrum.read(page, group=True) for page in pages])


if __name__ == "__main__":
    unittest.main()
