#include "BatchReport.h"

#include "host/Json.h"

#include <charconv>
#include <fstream>
#include <map>

namespace {

void AppendUtf8(std::string& out, unsigned code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// The string value of `key` in one report line; false when the line has none (a line
// cut short by an interrupted run, or one written by something else).
bool StringValue(const std::string& line, const std::string& key, std::string& value) {
    size_t at = line.find("\"" + key + "\":\"");
    if (at == std::string::npos) return false;
    value.clear();
    for (size_t i = at + key.size() + 4; i < line.size(); ++i) {
        char c = line[i];
        if (c == '"') return true;
        if (c != '\\') {
            value += c;
            continue;
        }
        if (++i >= line.size()) return false;
        switch (line[i]) {
        case 'n': value += '\n'; break;
        case 'r': value += '\r'; break;
        case 't': value += '\t'; break;
        case 'b': value += '\b'; break;
        case 'f': value += '\f'; break;
        case 'u': {
            unsigned code = 0;
            const char* digits = line.data() + i + 1;
            if (i + 4 >= line.size() || std::from_chars(digits, digits + 4, code, 16).ptr != digits + 4) return false;
            AppendUtf8(value, code);
            i += 4;
            break;
        }
        default: value += line[i];
        }
    }
    return false;
}

}  // namespace

std::string ReportLine(const PageReport& page) {
    std::string line;
    JsonWriter json(line);
    json.BeginObject().Key("file").String(page.file).Key("status").String(page.status);
    json.Key("blocks").Integer(static_cast<int64_t>(page.blocks)).Key("pictures").Integer(static_cast<int64_t>(page.pictures));
    json.Key("articles").Integer(static_cast<int64_t>(page.articles)).Key("ms").Integer(page.ms).Key("error");
    if (page.status == "ok")
        json.Null();
    else
        json.String(page.error);
    json.EndObject();
    return line + "\n";
}

std::set<std::string> PagesDoneIn(const std::string& reportPath) {
    std::map<std::string, bool> latestOk;
    std::ifstream report(reportPath);
    std::string line, file, status;
    while (std::getline(report, line))
        if (!line.empty() && line.back() == '}' && StringValue(line, "file", file) && StringValue(line, "status", status))
            latestOk[file] = status == "ok";
    std::set<std::string> done;
    for (const auto& [page, ok] : latestOk)
        if (ok) done.insert(page);
    return done;
}
