"""The one exception the kestrum module raises for a page it cannot handle."""

E_FAIL = 0x80004005


class Error(OSError):
    """A page that could not be opened, loaded, drawn or written.

    ``str(error)`` and ``error.message`` are the one-line reason ``kestrum dump``
    prints; ``error.code`` is the component's result code (an HRESULT as an
    unsigned number, ``E_FAIL`` when the file was refused before the component
    was asked or an output could not be written). It is an ``OSError`` because
    nearly every such failure is a file that cannot be read or written.
    """

    def __init__(self, message, code=E_FAIL):
        super().__init__(message)
        self.message = message
        self.code = code

    def __reduce__(self):
        # Dask carries exceptions between processes by pickling them.
        return (type(self), (self.message, self.code))
