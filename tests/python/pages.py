"""The pages the Python tests read, written by the example writer, and the command-line
host to compare with."""

import os
import shlex
import subprocess
import tempfile

CLI = os.environ["KESTRUM_CLI"]
MAKE_EXAMPLES = os.environ["KESTRUM_MAKE_EXAMPLES"]


def write_examples(folder):
    """The example pages in `folder`, each with the settings its .options file gives:
    a PostScript page with a picture, an S2 page plain and one grouped."""
    subprocess.run([MAKE_EXAMPLES, folder], check=True)
    pages = []
    for name in sorted(os.listdir(folder)):
        if name.endswith(".options"):
            with open(os.path.join(folder, name)) as options:
                pages.append((os.path.join(folder, name[: -len(".options")]), shlex.split(options.read())))
    return pages


def settings_of(options):
    """The keyword settings of the module for the command line's page options."""
    settings = {}
    words = iter(options)
    for word in words:
        key = word[2:].replace("-", "_")
        settings[key] = True if key in ("group", "resource_lookup") else next(words)
    return settings


def cli(*arguments):
    return subprocess.run([CLI, *arguments], capture_output=True)


class ExampleFolder:
    """A temporary folder with the example pages, for a test class's lifetime."""

    def __init__(self):
        self._folder = tempfile.TemporaryDirectory(prefix="kestrum-py-")
        self.path = self._folder.name
        self.pages = write_examples(self.path)

    def close(self):
        self._folder.cleanup()
