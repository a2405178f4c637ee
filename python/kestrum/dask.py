"""Whole archives on a Dask cluster.

``read_pages(paths, **settings)`` gives a Dask bag of page documents. As a program,

    python3 -m kestrum.dask SCHEDULER|local --format json|page|alto --out DIR FOLDER|FILE ...

writes one output per page and ``DIR/report.jsonl`` as ``kestrum batch`` does, with
the pages spread over the workers of a running scheduler (``tcp://host:8786``) or of a
local cluster (``local``, ``--workers N`` processes). The workers must import kestrum
and see the pages and DIR under the same paths as the client.
"""

import argparse
import json
import os
import sys
import time

import kestrum
from kestrum import page_process

SUFFIXES = {"json": ".json", "page": ".page.xml", "alto": ".alto.xml"}


def read_pages(paths, **settings):
    """A Dask bag of the page documents of ``paths`` (what ``kestrum.read`` gives)."""
    import dask.bag

    return dask.bag.from_sequence(list(paths)).map(kestrum.read, **settings)


# Finding the pages.

def _named_like_a_page(name):
    return any(len(name) > len(suffix) and name.endswith(suffix) for suffix in (".ps", ".s2"))


def _joined(folder, name):
    return folder + name if not folder or folder.endswith("/") else folder + "/" + name


def _pages_under(root):
    # Links to folders are not followed; a link or FIFO named like a page is a page.
    pending = [""]
    while pending:
        rel = pending.pop()
        folder = _joined(root, rel)
        try:
            entries = list(os.scandir(folder))
        except OSError:
            print(f"batch: cannot read the folder {folder}", file=sys.stderr)
            continue
        for entry in entries:
            child = rel + "/" + entry.name if rel else entry.name
            if entry.is_dir(follow_symlinks=False):
                pending.append(child)
            elif _named_like_a_page(entry.name):
                yield _joined(root, child), child


def find_pages(arguments):
    """The pages of the FOLDER and FILE arguments as ``(file, rel)``, sorted by ``file``'s bytes."""
    pages = {}
    for argument in arguments:
        if os.path.isdir(argument):
            pages.update(_pages_under(argument))
        else:
            pages[argument] = os.path.basename(argument)
    return sorted(pages.items(), key=lambda page: os.fsencode(page[0]))


# A share of the run, in a worker.

def run_pages(pages, format, settings, timeout):
    """``run_page`` for each ``(file, out)`` of a share of the run, one task for several
    pages so that the scheduler's cost per task is spread over them."""
    return [page_process.run_page(file, out, format, settings, timeout) for file, out in pages]


# The report.

def _json_string(text):
    # Byte for byte as the command line's JSON writer: UTF-8 (names on disk as their
    # bytes), only quotes, backslashes and control characters escaped.
    escapes = {ord('"'): b'\\"', ord("\\"): b"\\\\", ord("\n"): b"\\n", ord("\r"): b"\\r", ord("\t"): b"\\t"}
    out = bytearray(b'"')
    for byte in os.fsencode(text):
        if byte in escapes:
            out += escapes[byte]
        elif byte < 0x20:
            out += b"\\u%04x" % byte
        else:
            out.append(byte)
    return bytes(out + b'"')


def report_line(file, outcome):
    error = b"null" if outcome["status"] == "ok" else _json_string(outcome["error"] or "")
    return b'{"file":%s,"status":%s,"blocks":%d,"pictures":%d,"articles":%d,"ms":%d,"error":%s}\n' % (
        _json_string(file), _json_string(outcome["status"]), outcome["blocks"], outcome["pictures"],
        outcome["articles"], outcome["ms"], error)


def pages_done_in(report_path):
    """The pages whose latest line in the report says "ok"."""
    latest = {}
    try:
        with open(report_path, "rb") as report:
            for line in report:
                try:
                    entry = json.loads(line)
                    latest[os.fsdecode(entry["file"].encode("utf-8", "surrogateescape"))] = entry["status"] == "ok"
                except (ValueError, KeyError, TypeError, AttributeError):
                    continue  # a line cut short by an interrupted run
    except OSError:
        pass
    return {file for file, ok in latest.items() if ok}


# The program.

def _arguments(argv):
    parser = argparse.ArgumentParser(prog="python3 -m kestrum.dask",
                                     description="Runs kestrum over whole folders of pages on a Dask cluster.")
    parser.add_argument("scheduler", help="the scheduler's address, or 'local' for a cluster on this machine")
    parser.add_argument("pages", nargs="+", metavar="FOLDER|FILE")
    parser.add_argument("--format", choices=sorted(SUFFIXES), default="json")
    parser.add_argument("--out", required=True, metavar="DIR")
    parser.add_argument("--workers", type=int, default=os.cpu_count() or 1, metavar="N",
                        help="worker processes of the local cluster")
    parser.add_argument("--timeout", type=int, default=60, metavar="SECONDS")
    parser.add_argument("--resume", action="store_true")
    parser.add_argument("--group", action="store_true")
    parser.add_argument("--resource-lookup", action="store_true")
    parser.add_argument("--image-folders", default="", metavar="LIST")
    parser.add_argument("--page-image", metavar="PATH")
    parser.add_argument("--label", metavar="TEXT")
    args = parser.parse_args(argv)
    if args.workers < 1 or args.timeout <= 0:
        parser.error("--workers and --timeout take a positive number")
    return args


def _client(args):
    import dask
    from distributed import Client, LocalCluster

    # A task whose worker died is reported, not run again elsewhere.
    dask.config.set({"distributed.scheduler.allowed-failures": 0})
    if args.scheduler != "local":
        return Client(args.scheduler)
    cluster = LocalCluster(n_workers=args.workers, threads_per_worker=1, processes=True, host="127.0.0.1",
                           dashboard_address=None)
    return Client(cluster)


def run(args):
    from distributed import as_completed

    pages = find_pages(args.pages)
    report_path = os.path.join(args.out, "report.jsonl")
    done = pages_done_in(report_path) if args.resume else set()
    try:
        os.makedirs(args.out, exist_ok=True)
        report = os.open(report_path, os.O_WRONLY | os.O_CREAT | os.O_APPEND | os.O_CLOEXEC
                         | (0 if args.resume else os.O_TRUNC), 0o666)
    except OSError as error:
        print(f"kestrum: cannot write {report_path}: {error.strerror}", file=sys.stderr)
        return 2
    settings = dict(group=args.group, resource_lookup=args.resource_lookup, image_folders=args.image_folders,
                    page_image=args.page_image, label=args.label)
    todo = [(file, rel) for file, rel in pages if file not in done]
    counts = dict.fromkeys(("ok", "failed", "timeout", "crashed"), 0)
    client = _client(args)
    # The run's time, as kestrum batch counts it, runs from the workers ready to the last
    # page reported: starting and closing a local cluster are not the pages' work, and a
    # running cluster is neither started nor closed.
    started = time.monotonic()
    try:
        # Shares small enough to keep every worker thread busy to the end, large enough to
        # make the cost of a task small beside its pages: a task costs the workers, the
        # scheduler and this client together some milliseconds, as much as a page or two.
        threads = max(1, sum(worker["nthreads"] for worker in client.scheduler_info()["workers"].values()))
        share = max(1, min(64, len(todo) // (threads * 4)))
        shares = [[(file, args.out + "/" + rel + SUFFIXES[args.format]) for file, rel in todo[first:first + share]]
                  for first in range(0, len(todo), share)]
        # The shares go to the scheduler together: submitted one by one, they held the later
        # workers' first tasks back by some 20 ms.
        submitted = client.map(run_pages, shares, format=args.format, settings=settings, timeout=args.timeout,
                               pure=False, retries=0)
        futures = {future: [file for file, _ in pages] for future, pages in zip(submitted, shares)}
        for future in as_completed(futures):
            files = futures[future]
            try:
                outcomes = future.result()
            except Exception as error:  # the worker was lost, or could not run the task at all
                lost = page_process.outcome("crashed", error=f"worker died ({type(error).__name__}: {error})")
                lost["ms"] = 0
                outcomes = [lost] * len(files)
            for file, outcome in zip(files, outcomes):
                counts[outcome["status"]] += 1
                os.write(report, report_line(file, outcome))
            future.release()
        seconds = time.monotonic() - started
    finally:
        os.close(report)
        cluster = client.cluster
        client.close()
        if cluster is not None:
            cluster.close()
    ran = len(todo)
    print(f"batch: {len(pages)} pages, {counts['ok']} ok, {counts['failed']} failed, {counts['timeout']} timed out, "
          f"{counts['crashed']} crashed, {len(pages) - ran} skipped in {seconds:.1f} s "
          f"({ran / seconds if seconds > 0 else 0:.1f} pages/s)", file=sys.stderr)
    return 0 if counts["ok"] == ran else 1


def main(argv=None):
    return run(_arguments(argv))


if __name__ == "__main__":
    # Run through the package's module, so that the workers find run_pages by its name.
    from kestrum.dask import main as package_main

    sys.exit(package_main())
