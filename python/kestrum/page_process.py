"""Pages read in a process apart from the worker, so that a page that crashes or hangs
costs only that page.

Each thread that reads pages has one such process, forked at its first page and serving
page after page: forking a process that has Dask loaded costs more than most pages take.
A request is one JSON line (file, out, format, settings). The process answers "+" as it
takes the request, which tells a process that was gone before the page from a page that
killed it, and then the page's outcome as one JSON line.
"""

import json
import os
import select
import signal
import threading
import time
import weakref

import kestrum


def outcome(status, blocks=0, pictures=0, articles=0, error=None):
    """A page's values for the report, without its file and time."""
    return {"status": status, "blocks": blocks, "pictures": pictures, "articles": articles, "error": error}


def _died(status):
    if os.WIFSIGNALED(status):
        return outcome("crashed", error=f"worker died (signal {os.WTERMSIG(status)})")
    return outcome("crashed", error=f"worker died (exit {os.waitstatus_to_exitcode(status)})")


def _remove(path):
    try:
        os.remove(path)
    except OSError:
        pass


def _make_folders_of(path):
    folder = os.path.dirname(path)
    if folder:
        try:
            os.makedirs(folder, exist_ok=True)
        except OSError:
            pass  # shows as the output that cannot be written


# In the page process.

def _write_page(file, out, format, settings):
    try:
        text, blocks, pictures, articles = kestrum.dump(file, format, **settings)
        _make_folders_of(out)
        kestrum.write_file(out, text)
        return outcome("ok", blocks, pictures, articles)
    except kestrum.Error as error:
        return outcome("failed", error=error.message)


def _serve(requests, answers):
    # The page process leaves through os._exit only: the worker's own shutdown is not its
    # to run. The end of the requests means that the worker went away.
    code = 0
    try:
        incoming, outgoing = os.fdopen(requests, "rb"), os.fdopen(answers, "wb")
        for request in incoming:
            outgoing.write(b"+")
            outgoing.flush()
            outgoing.write(json.dumps(_write_page(**json.loads(request))).encode() + b"\n")
            outgoing.flush()
    except BaseException:
        code = 3
    finally:
        os._exit(code)


# In the worker.

# The worker's ends of the pipes of every page process, by its pid. A page process forked
# later closes them all: held there, they would keep another page process from ever seeing
# the end of its requests.
_worker_ends = {}
_forking = threading.Lock()


def _end(owner, pid, reading):
    """Ends the page process ``pid`` and reaps it: its wait status. One still reading a
    page (past its time, or as the worker exits) is killed; an idle one leaves by itself
    at the end of its requests."""
    if os.getpid() != owner:
        # The fork of another page process drops the other threads, and with them their
        # page processes; those are not the new process's to end.
        return None
    if reading.is_set():
        os.kill(pid, signal.SIGKILL)
    with _forking:
        for end in _worker_ends.pop(pid):
            os.close(end)
    return os.waitpid(pid, 0)[1]


class _NotTaken(Exception):
    """The page process was gone before it took the request."""

    def __init__(self, status):
        super().__init__()
        self.status = status


class _PageProcess:
    def __init__(self):
        with _forking:
            requests_in, requests = os.pipe()
            answers, answers_out = os.pipe()
            try:
                pid = os.fork()
            except OSError:
                for end in (requests_in, requests, answers, answers_out):
                    os.close(end)
                raise
            if pid == 0:
                for end in (requests, answers, *(end for ends in _worker_ends.values() for end in ends)):
                    os.close(end)
                _serve(requests_in, answers_out)
            os.close(requests_in)
            os.close(answers_out)
            _worker_ends[pid] = (requests, answers)
        self.pid, self._requests, self._answers = pid, requests, answers
        self._reading = threading.Event()
        # Also when its thread ends, and when the worker exits.
        self.end = weakref.finalize(self, _end, os.getpid(), pid, self._reading)

    def ask(self, request, timeout):
        """The outcome of the page ``request``; raises _NotTaken when the process was gone
        before it took the request. A page that dies or is past ``timeout`` seconds ends
        the process."""
        self._reading.set()
        try:
            view = memoryview(request)
            while view:
                view = view[os.write(self._requests, view):]
        except BrokenPipeError:
            raise _NotTaken(self.end()) from None
        said = b""
        deadline = time.monotonic() + timeout
        while not said.endswith(b"\n"):
            left = deadline - time.monotonic()
            if left <= 0:
                self.end()  # killed, being still at the page
                return outcome("timeout", error=f"timed out after {timeout} s")
            if select.select([self._answers], [], [], left)[0]:
                chunk = os.read(self._answers, 65536)
                if not chunk:
                    status = self.end()
                    if not said:
                        raise _NotTaken(status)
                    return _died(status)
                said += chunk
        self._reading.clear()
        return json.loads(said[1:])


_this_thread = threading.local()


def _page_process():
    process = getattr(_this_thread, "process", None)
    if process is None or not process.end.alive:
        process = _this_thread.process = _PageProcess()
    return process


def run_page(file, out, format, settings, timeout):
    """Reads one page and writes its output in this thread's page process; the report
    line's values without ``file``."""
    start = time.monotonic()
    request = json.dumps({"file": file, "out": out, "format": format, "settings": settings}).encode() + b"\n"
    for _ in range(2):
        process = _page_process()
        try:
            result = process.ask(request, timeout)
            break
        except _NotTaken as gone:
            # A process that died between pages costs the next page nothing: a fresh
            # one takes it, once.
            result = _died(gone.status)
        except BaseException:
            # Left with its answer untaken, the process would give it for the next page.
            process.end()
            raise
    if result["status"] != "ok":
        # A page that did not finish leaves no output, neither its own half nor an earlier run's.
        _remove(out)
        _remove(kestrum._temporary_name(out, process.pid))
    result["ms"] = int((time.monotonic() - start) * 1000)
    return result
