"""The module against the command-line host: the same documents, files and failures,
and the same results from several threads at once."""

import json
import os
import re
import tempfile
import threading
import unittest

import kestrum

from pages import ExampleFolder, cli, settings_of


class ModuleTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.examples = ExampleFolder()
        cls.out = tempfile.TemporaryDirectory(prefix="kestrum-py-out-")

    @classmethod
    def tearDownClass(cls):
        cls.examples.close()
        cls.out.cleanup()

    def out_file(self, name):
        return os.path.join(self.out.name, name)

    def test_read_is_the_dumped_document(self):
        for page, options in self.examples.pages:
            with self.subTest(page=os.path.basename(page)):
                dumped = cli("dump", page, *options)
                self.assertEqual(dumped.returncode, 0, dumped.stderr)
                # Parsed from the text, so that numbers must read back to the same double.
                self.assertEqual(kestrum.read(page, **settings_of(options)), json.loads(dumped.stdout))

    def test_exports_are_the_dumped_files(self):
        for page, options in self.examples.pages:
            for format in ("json", "page", "alto"):
                with self.subTest(page=os.path.basename(page), format=format):
                    name = os.path.basename(page)
                    expected, got = self.out_file(f"{name}.cli.{format}"), self.out_file(f"{name}.{format}")
                    expected_mets, got_mets = (self.out_file(f"{name}.cli.mets"), self.out_file(f"{name}.mets")) \
                        if format == "alto" else (None, None)
                    mets_option = ["--mets", expected_mets] if expected_mets else []
                    dumped = cli("dump", page, *options, "--format", format, "-o", expected, *mets_option)
                    self.assertEqual(dumped.returncode, 0, dumped.stderr)
                    kestrum.export(page, format, got, mets=got_mets, **settings_of(options))
                    self.assertEqual(read_bytes(got), read_bytes(expected))
                    if expected_mets:
                        # The METS file names its ALTO file, whose names differ here.
                        self.assertEqual(read_bytes(got_mets), read_bytes(expected_mets).replace(
                            os.path.basename(expected).encode(), os.path.basename(got).encode()))

    def test_render_is_the_rendered_image(self):
        page, options = next(p for p in self.examples.pages if p[0].endswith(".ps"))
        expected, got = self.out_file("cli.jpg"), self.out_file("module.jpg")
        self.assertEqual(cli("render", page, *options, expected).returncode, 0)
        kestrum.render(page, got, **settings_of(options))
        self.assertEqual(read_bytes(got), read_bytes(expected))

    def test_failures_carry_the_dumped_reason(self):
        folder = self.examples.path
        garbage = self.out_file("garbage.ps")
        with open(garbage, "wb") as f:
            f.write(b"%!PS\n\x00\xff not a typeset page\n")
        empty = self.out_file("empty.s2")
        open(empty, "wb").close()
        s2 = os.path.join(folder, "news-page.s2")
        unwritable = os.path.join(folder, "no-such-folder", "out.jpg")
        cases = [
            ("missing file", ["dump", self.out_file("missing.ps")], lambda p: kestrum.read(p[1])),
            ("not a page name", ["dump", os.path.join(folder, "flowers.jpg")], lambda p: kestrum.read(p[1])),
            ("a folder", ["dump", folder], lambda p: kestrum.read(p[1])),
            ("garbage", ["dump", garbage], lambda p: kestrum.read(p[1])),
            ("empty S2", ["dump", empty], lambda p: kestrum.read(p[1])),
            ("S2 without image", ["render", s2, unwritable.replace("no-such-folder/", "")],
             lambda p: kestrum.render(p[1], p[2])),
            ("unwritable image", ["render", s2, unwritable], lambda p: kestrum.render(p[1], p[2])),
            ("unwritable export", ["dump", s2, "--format", "alto", "-o", unwritable],
             lambda p: kestrum.export(p[1], "alto", p[5])),
        ]
        for name, arguments, call in cases:
            with self.subTest(case=name):
                dumped = cli(*arguments)
                self.assertNotEqual(dumped.returncode, 0)
                with self.assertRaises(kestrum.Error) as raised:
                    call(arguments)
                self.assertIsInstance(raised.exception, OSError)
                self.assertEqual(raised.exception.code, kestrum.E_FAIL)
                self.assertEqual(f"kestrum: {raised.exception}\n".encode(), dumped.stderr)
                self.assertFalse(os.path.exists(unwritable))

    def test_bad_arguments_are_refused_before_reading(self):
        page = self.examples.pages[0][0]
        with self.assertRaises(ValueError):
            kestrum.dump(page, "pdf")
        with self.assertRaises(ValueError):
            kestrum.export(page, "page", self.out_file("x.xml"), mets=self.out_file("x.mets"))

    def test_threads_read_as_one_by_one(self):
        broken = self.out_file("broken.ps")
        with open(broken, "wb") as f:
            f.write(b"%!PS-Adobe-3.0\n" + b"(\xb0\xa1) show\n" * 50)
        work = [(page, settings_of(options)) for page, options in self.examples.pages] + [(broken, {})]

        # A page open on several threads at once gives each its own preview of an
        # embedded graphic, so the previews' names are left out of the comparison.
        def outcome(page, settings):
            try:
                return re.sub(r"-[0-9A-Za-z]{6,8}\.jpg", "-*.jpg", json.dumps(kestrum.read(page, **settings)))
            except kestrum.Error as error:
                return ("error", error.code, str(error))

        alone = [outcome(*item) for item in work]
        rounds = 3
        results = [[] for _ in range(4)]

        def run(into):
            for _ in range(rounds):
                into.append([outcome(*item) for item in work])

        threads = [threading.Thread(target=run, args=(into,)) for into in results]
        for thread in threads:
            thread.start()
        for thread in threads:
            thread.join()
        for into in results:
            self.assertEqual(into, [alone] * rounds)


def read_bytes(path):
    """The file's bytes, with the clock readings of the PAGE, ALTO and METS headers left
    out: two writes a second apart differ there only."""
    with open(path, "rb") as f:
        return re.sub(rb"\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d", b"TIME", f.read())


if __name__ == "__main__":
    unittest.main()
