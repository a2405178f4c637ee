#include "frame/Registry.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace kestrum {

namespace {

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return LowerAscii(x) == LowerAscii(y);
           });
}

// True when `path` lies below `key` (not the key itself).
bool IsBelow(std::string_view path, std::string_view key) {
    return path.size() > key.size() && path[key.size()] == '\\' && EqualNoCase(path.substr(0, key.size()), key);
}

std::string Quoted(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '\\' || c == '"') out += '\\';
        out += c;
    }
    return out + '"';
}

// Reads a quoted string at the front of `line`, dropping it from `line`; false without one.
bool TakeQuoted(std::string_view& line, std::string& out) {
    if (line.empty() || line.front() != '"') return false;
    out.clear();
    for (size_t i = 1; i < line.size(); ++i) {
        char c = line[i];
        if (c == '"') {
            line.remove_prefix(i + 1);
            return true;
        }
        if (c == '\\' && i + 1 < line.size()) c = line[++i];
        out += c;
    }
    return false;
}

}  // namespace

CRegistryFile::Key* CRegistryFile::Find(std::string_view key) {
    auto it = std::find_if(m_keys.begin(), m_keys.end(), [&](const Key& k) { return EqualNoCase(k.path, key); });
    return it == m_keys.end() ? nullptr : &*it;
}

const CRegistryFile::Key* CRegistryFile::Find(std::string_view key) const {
    return const_cast<CRegistryFile*>(this)->Find(key);
}

bool CRegistryFile::HasSubkeys(std::string_view key) const {
    return std::any_of(m_keys.begin(), m_keys.end(), [&](const Key& k) { return IsBelow(k.path, key); });
}

void CRegistryFile::CreateKey(std::string_view key) {
    if (!Find(key)) m_keys.push_back({std::string(key), {}});
}

void CRegistryFile::SetValue(std::string_view key, std::string_view name, std::string_view value) {
    CreateKey(key);
    auto& values = Find(key)->values;
    auto it = std::find_if(values.begin(), values.end(), [&](const auto& v) { return EqualNoCase(v.first, name); });
    if (it != values.end()) it->second = value;
    else values.emplace_back(name, value);
}

bool CRegistryFile::GetValue(std::string_view key, std::string_view name, std::string& out) const {
    const Key* k = Find(key);
    if (!k) return false;
    for (const auto& [n, v] : k->values) {
        if (!EqualNoCase(n, name)) continue;
        out = v;
        return true;
    }
    return false;
}

void CRegistryFile::DeleteValue(std::string_view key, std::string_view name) {
    if (Key* k = Find(key))
        std::erase_if(k->values, [&](const auto& v) { return EqualNoCase(v.first, name); });
}

bool CRegistryFile::HasKey(std::string_view key) const { return Find(key) || HasSubkeys(key); }

void CRegistryFile::DeleteTree(std::string_view key) {
    const std::string doomed(key);  // `key` may point into a key that goes
    std::erase_if(m_keys, [&](const Key& k) { return EqualNoCase(k.path, doomed) || IsBelow(k.path, doomed); });
}

void CRegistryFile::DeleteKeyIfEmpty(std::string_view key) {
    const Key* k = Find(key);
    if (k && k->values.empty() && !HasSubkeys(key)) DeleteTree(key);
}

std::string CRegistryFile::Text() const {
    std::string text = "; Kestrum class registry\n";
    for (const Key& k : m_keys) {
        text += "\n[" + k.path + "]\n";
        for (const auto& [name, value] : k.values) text += (name.empty() ? "@" : Quoted(name)) + "=" + Quoted(value) + "\n";
    }
    return text;
}

void CRegistryFile::Parse(std::string_view text) {
    m_keys.clear();
    std::string current;  // empty: no section yet, values are passed over
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);

        if (line.size() > 2 && line.front() == '[' && line.back() == ']') {
            current = line.substr(1, line.size() - 2);
            CreateKey(current);
            continue;
        }
        if (current.empty()) continue;
        std::string name, value;
        if (!line.empty() && line.front() == '@') line.remove_prefix(1);
        else if (!TakeQuoted(line, name)) continue;
        if (line.empty() || line.front() != '=') continue;
        line.remove_prefix(1);
        if (TakeQuoted(line, value)) SetValue(current, name, value);
    }
}

bool CRegistryFile::Load(const std::string& osPath) {
    std::ifstream in(osPath, std::ios::binary);
    if (!in) {
        m_keys.clear();
        return access(osPath.c_str(), F_OK) != 0;
    }
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad()) return false;
    Parse(text.str());
    return true;
}

bool CRegistryFile::Save(const std::string& osPath) const {
    const std::string temp = osPath + ".tmp" + std::to_string(getpid());
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out << Text();
        out.flush();
        if (!out) {
            std::remove(temp.c_str());
            return false;
        }
    }
    if (std::rename(temp.c_str(), osPath.c_str()) != 0) {
        std::remove(temp.c_str());
        return false;
    }
    return true;
}

}  // namespace kestrum
