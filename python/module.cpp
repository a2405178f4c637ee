// _kestrum: the page reader component for Python, a host like the command line. Pages
// are read with the interpreter's lock released; Python objects are made only with it held.
#include "host/AltoExport.h"
#include "host/AltoHref.h"
#include "host/JsonExport.h"
#include "host/PageSession.h"
#include "host/PageXmlExport.h"

#include <pybind11/pybind11.h>

#include <cstdint>
#include <optional>
#include <string>

namespace py = pybind11;

namespace {

// A page the component or a writer refused: raised as kestrum.Error.
struct PageFailure {
    std::string message;
    HRESULT code;
};

PageOptions OptionsOf(const std::string& file, bool group, const std::string& pageImage,
                      const std::string& imageFolders, bool resourceLookup, const std::string& label) {
    PageOptions options;
    options.file = file;
    options.group = group;
    options.pageImage = pageImage;
    options.imageFolders = imageFolders;
    options.resourceLookup = resourceLookup;
    options.label = label;
    return options;
}

std::unique_ptr<PageSession> OpenPage(const PageOptions& options) {
    std::string error;
    HRESULT code = E_FAIL;
    auto session = PageSession::Open(options, error, &code);
    if (!session) throw PageFailure{error, code};
    return session;
}

struct Dumped {
    std::string text;
    std::optional<std::string> mets;
    size_t blocks = 0, pictures = 0, articles = 0;
};

Dumped DumpPage(const PageOptions& options, const std::string& format, const std::string& altoOut,
                const std::string& mets) {
    auto session = OpenPage(options);
    const PageDoc& doc = session->Doc();
    Dumped out;
    out.text = format == "page"   ? PageXml(doc, options.pageImage)
               : format == "alto" ? AltoXml(doc, options.pageImage)
                                  : PageJson(doc);
    if (!mets.empty()) out.mets = MetsXml(doc, AltoHref(altoOut, mets));
    out.blocks = doc.textBlocks.size();
    out.pictures = doc.pictures.size();
    out.articles = doc.articles.size();
    return out;
}

py::tuple Dump(const std::string& file, bool group, const std::string& pageImage, const std::string& imageFolders,
               bool resourceLookup, const std::string& label, const std::string& format, const std::string& altoOut,
               const std::string& mets) {
    if (format != "json" && format != "page" && format != "alto")
        throw py::value_error("format is json, page or alto, not " + format);
    PageOptions options = OptionsOf(file, group, pageImage, imageFolders, resourceLookup, label);
    Dumped dumped;
    {
        py::gil_scoped_release unlocked;
        dumped = DumpPage(options, format, altoOut, mets);
    }
    py::object metsText = dumped.mets ? py::object(py::bytes(*dumped.mets)) : py::object(py::none());
    return py::make_tuple(py::bytes(dumped.text), metsText, dumped.blocks, dumped.pictures, dumped.articles);
}

void Render(const std::string& file, bool group, const std::string& pageImage, const std::string& imageFolders,
            bool resourceLookup, const std::string& label, const std::string& jpegPath) {
    PageOptions options = OptionsOf(file, group, pageImage, imageFolders, resourceLookup, label);
    py::gil_scoped_release unlocked;
    auto session = OpenPage(options);
    std::string error;
    if (!session->SavePageImage(jpegPath, error)) throw PageFailure{error, E_FAIL};
}

}  // namespace

PYBIND11_MODULE(_kestrum, m) {
    m.doc() = "The page reader component; use the kestrum package rather than this module.";
    // The exception class lives in Python, where its documentation is.
    // Held for the life of the process: the translator may run until the interpreter ends.
    static py::handle errorType = py::object(py::module_::import("kestrum.error").attr("Error")).release();
    py::register_exception_translator([](std::exception_ptr raised) {
        try {
            if (raised) std::rethrow_exception(raised);
        } catch (const PageFailure& failure) {
            py::object error = errorType(failure.message, static_cast<uint32_t>(failure.code));
            PyErr_SetObject(errorType.ptr(), error.ptr());
        }
    });
    using namespace py::literals;
    m.def("dump", &Dump, "file"_a, "group"_a, "page_image"_a, "image_folders"_a, "resource_lookup"_a, "label"_a,
          "format"_a, "alto_out"_a, "mets"_a,
          "The page document in one format: (text, METS text or None, text blocks, pictures, articles).");
    m.def("render", &Render, "file"_a, "group"_a, "page_image"_a, "image_folders"_a, "resource_lookup"_a, "label"_a,
          "jpeg"_a, "Writes the page image as a JPEG file.");
}
