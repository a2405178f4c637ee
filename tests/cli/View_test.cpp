// kestrum view in a real browser: headless Chromium loads the page with no script
// errors, shows the overlay's colours where the blocks are, and a click on an article
// in the list highlights its blocks.
#include "tests/cli/CliRun.h"
#include "tests/cli/ExportPages.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>

namespace kestrum {
namespace {

using testing::RunCli;
using testing::RunResult;
using testing::RunShell;
using testing::TempDir;

const std::string kChromium =
    "chromium --headless --no-sandbox --disable-gpu --disable-background-networking --hide-scrollbars "
    "--force-device-scale-factor=1 ";

bool HaveChromium() { return RunShell("command -v chromium").exitCode == 0; }

// The average colour of a box of the screenshot, as "r g b".
std::vector<int> MeanColour(const std::string& png, int left, int top, int right, int bottom) {
    std::string geometry = std::to_string(right - left) + "x" + std::to_string(bottom - top) + "+" +
                           std::to_string(left) + "+" + std::to_string(top);
    std::istringstream in(RunShell("convert '" + png + "' -crop " + geometry +
                                   " +repage -scale 1x1! -format '%[fx:int(255*r)] %[fx:int(255*g)] %[fx:int(255*b)]' info:")
                              .out);
    std::vector<int> rgb(3, -1);
    in >> rgb[0] >> rgb[1] >> rgb[2];
    return rgb;
}

// The box of a PAGE region's outline, read from the PAGE export of the same page.
std::vector<int> RegionBox(const std::string& pageXml, const std::string& type) {
    std::string points = RunShell("xmllint --xpath \"string(//*[local-name()='TextRegion'][@type='" + type +
                                  "']/*[local-name()='Coords']/@points)\" '" + pageXml + "'").out;
    int l = 0, t = 0, r = 0, b = 0, x = 0, y = 0;
    std::sscanf(points.c_str(), "%d,%d %d,%d %d,%d", &l, &t, &x, &y, &r, &b);
    return {l, t, r, b};
}

TEST(CliView, ScreenshotShowsTheOverlayWhereTheBlocksAre) {
    if (!HaveChromium()) GTEST_SKIP() << "chromium is not installed (scripts/setup.sh installs it)";
    TempDir dir;
    std::string ps = testing::WritePsExportPage(dir);
    ASSERT_EQ(RunCli("view " + ps + " " + dir.File("view.html")).exitCode, 0);
    ASSERT_EQ(RunCli("dump " + ps + " --format page -o " + dir.File("page.xml")).exitCode, 0);
    RunShell(kChromium + "--window-size=1500,1700 --screenshot=" + dir.File("shot.png") + " file://" + dir.File("view.html"));
    struct Expect {
        const char* type;
        int strong, weak;  // the channel the kind's colour leads with, and one it lacks
    };
    for (const Expect& e : {Expect{"heading", 0, 2}, Expect{"paragraph", 2, 0}}) {
        std::vector<int> box = RegionBox(dir.File("page.xml"), e.type);
        ASSERT_GT(box[2], box[0]) << e.type;
        std::vector<int> rgb = MeanColour(dir.File("shot.png"), box[0], box[1], box[2], box[3]);
        EXPECT_GT(rgb[e.strong], rgb[e.weak] + 30) << e.type << ": " << rgb[0] << " " << rgb[1] << " " << rgb[2];
    }
    // Nothing outside the file: the page image is inside it, no address is fetched.
    EXPECT_EQ(RunShell("ls " + dir.Path()).out, "page.ps\npage.xml\nshot.png\nview.html\n");
    EXPECT_EQ(RunShell("grep -c 'src=\"http\\|href=\"http' " + dir.File("view.html")).out, "0\n");
}

TEST(CliView, ClickOnAnArticleHighlightsItsBlocksWithoutScriptErrors) {
    if (!HaveChromium()) GTEST_SKIP() << "chromium is not installed (scripts/setup.sh installs it)";
    TempDir dir;
    std::string s2 = testing::WriteS2ExportPage(dir);
    ASSERT_EQ(RunCli("view " + s2 + " " + dir.File("view.html")).exitCode, 0);
    // The view with a listener for errors before its own script and a probe after it.
    std::string html = RunShell("cat " + dir.File("view.html")).out;
    html.insert(html.find("<head>") + 6,
                "<script>window.errors = []; window.addEventListener('error', function (e) { errors.push(e.message); });</script>");
    html.insert(html.rfind("</body>"), R"(<script>
var item = document.querySelectorAll('#articles li')[1];
item.click();
var group = item.dataset.group;
var all = document.querySelectorAll('#page .region[data-group="' + group + '"]').length;
var lit = document.querySelectorAll('#page .region.highlight').length;
var other = document.querySelectorAll('#page .region.highlight:not([data-group="' + group + '"])').length;
var out = document.createElement('pre');
out.id = 'probe';
out.textContent = 'errors=' + errors.length + ' all=' + all + ' lit=' + lit + ' other=' + other;
document.body.appendChild(out);
</script>)");
    std::string probe = dir.Write("probe.html", html);
    std::string dom = RunShell(kChromium + "--dump-dom file://" + probe).out;
    size_t at = dom.find("<pre id=\"probe\">");
    ASSERT_NE(at, std::string::npos) << dom.substr(0, 2000);
    std::string result = dom.substr(at + 16, dom.find("</pre>", at) - at - 16);
    int errors = -1, all = -1, lit = -1, other = -1;
    std::sscanf(result.c_str(), "errors=%d all=%d lit=%d other=%d", &errors, &all, &lit, &other);
    EXPECT_EQ(errors, 0) << result;
    EXPECT_GT(all, 0) << result;
    EXPECT_EQ(lit, all) << result;
    EXPECT_EQ(other, 0) << result;
}

}  // namespace
}  // namespace kestrum
