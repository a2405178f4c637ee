"""Typeset newspaper pages (PostScript and S2) read by the kestrum component.

``read`` gives the page document ``kestrum dump --format json`` writes, as Python
values; ``export`` writes PAGE XML or ALTO (and METS); ``render`` the page image.
Every call takes the page settings of the command line as keywords: ``group``,
``page_image``, ``image_folders`` (a sequence of folders, or one ``;``-separated
string), ``resource_lookup`` and ``label``.
"""

import json
import os
import stat

from .error import E_FAIL, Error
from . import _kestrum

__all__ = ["Error", "E_FAIL", "read", "export", "render", "dump"]


def _settings(path, group=False, page_image=None, image_folders=(), resource_lookup=False, label=None):
    if not isinstance(image_folders, (str, bytes, os.PathLike)):
        image_folders = ";".join(os.fspath(folder) for folder in image_folders)
    return dict(
        file=os.fspath(path),
        group=bool(group),
        page_image=os.fspath(page_image) if page_image is not None else "",
        image_folders=os.fspath(image_folders),
        resource_lookup=bool(resource_lookup),
        label=label if label is not None else "",
    )


def dump(path, format="json", **settings):
    """The page in one format as bytes, exactly what ``kestrum dump --format FORMAT``
    writes, with the page's counts: ``(bytes, text blocks, pictures, articles)``."""
    text, _, blocks, pictures, articles = _kestrum.dump(
        **_settings(path, **settings), format=format, alto_out="", mets="")
    return text, blocks, pictures, articles


def read(path, *, group=False, page_image=None, image_folders=(), resource_lookup=False, label=None):
    """The page document of ``path`` as a dict, key for key what ``kestrum dump
    --format json`` writes."""
    text, _, _, _ = dump(path, "json", group=group, page_image=page_image, image_folders=image_folders,
                         resource_lookup=resource_lookup, label=label)
    return json.loads(text)


def _temporary_name(path, writer):
    folder, name = os.path.split(path)
    return os.path.join(folder, f".{name}.tmp-{writer}")


def write_file(path, data):
    """Writes ``data`` to ``path`` whole under a temporary name and renames it, so that
    a reader never sees part of it; raises Error and leaves nothing when it cannot."""
    path = os.fspath(path)
    try:
        # A device, FIFO or link is written through: renaming would replace it.
        replace = stat.S_ISREG(os.lstat(path).st_mode)
    except FileNotFoundError:
        replace = True
    except OSError:
        replace = False
    target = _temporary_name(path, os.getpid()) if replace else path
    try:
        with open(target, "wb") as out:
            out.write(data)
        if replace:
            os.rename(target, path)
    except OSError:
        if replace:
            try:
                os.remove(target)
            except OSError:
                pass
        raise Error(f"cannot write {path}") from None


def export(path, format, out, *, mets=None, **settings):
    """Writes the page as ``format`` ("page", "alto" or "json") to the file ``out``;
    with ``mets`` (ALTO only), the METS file that names it as well."""
    if mets is not None and format != "alto":
        raise ValueError("a METS file goes with the alto format")
    out = os.fspath(out)
    mets = os.fspath(mets) if mets is not None else ""
    text, mets_text, _, _, _ = _kestrum.dump(**_settings(path, **settings), format=format, alto_out=out, mets=mets)
    write_file(out, text)
    if mets_text is not None:
        write_file(mets, mets_text)


def render(path, out_jpg, **settings):
    """Writes the page image as a JPEG file, as ``kestrum render`` does."""
    _kestrum.render(**_settings(path, **settings), jpeg=os.fspath(out_jpg))
