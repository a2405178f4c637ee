// What a host does around the page objects: it reads and frees the BSTRs it gets,
// and it hands its settings record out through IAppExt.
#pragma once

#include <kestrum/kestrum.h>

#include "platform/CodePage.h"

#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace kestrum::testing {

// The narrow (GBK) text of a BSTR the component handed out; frees it. Null gives "<null>".
inline std::string TakeBstr(BSTR b) {
    if (!b) return "<null>";
    std::string text = WideToNarrow(std::u16string_view(b, SysStringLen(b)));
    SysFreeString(b);
    return text;
}

// Rectangles and points as comparable values (their operators live in kestrum,
// where gtest's lookup does not see them).
inline std::tuple<LONG, LONG, LONG, LONG> Sides(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }
inline std::pair<LONG, LONG> XY(const POINT& p) { return {p.x, p.y}; }
inline std::vector<std::pair<LONG, LONG>> XY(const std::vector<POINT>& points) {
    std::vector<std::pair<LONG, LONG>> out;
    for (const POINT& p : points) out.push_back(XY(p));
    return out;
}

// A host settings object with one record; counts how it is called.
class FakeAppExt : public IAppExt {
public:
    FakeAppExt() = default;
    FakeAppExt(const FakeAppExt&) = delete;
    FakeAppExt& operator=(const FakeAppExt&) = delete;
    virtual ~FakeAppExt() = default;

    HRESULT ReleaseInfo(AppExtInfo** ppInfo) override {
        ++releases;
        releasedRecord = ppInfo ? *ppInfo : nullptr;
        return S_OK;
    }
    HRESULT GetInfo(AppExtInfo** ppInfo, ULONG ulReserved) override {
        ++gets;
        reservedSeen = ulReserved;
        handedNull = ppInfo && !*ppInfo;
        if (ppInfo && giveRecord) *ppInfo = &info;
        return result;
    }

    // Sets the record's strings (kept alive here); null leaves a field null.
    void SetStrings(const char16_t* label, const char16_t* image, const char16_t* folders) {
        info.szPageLabel = label;
        info.szPageImage = image;
        info.szImageFolders = folders;
    }
    ULONG_PTR Handle() { return reinterpret_cast<ULONG_PTR>(static_cast<IAppExt*>(this)); }

    AppExtInfo info{};
    HRESULT result = S_OK;
    bool giveRecord = true;
    int gets = 0;
    int releases = 0;
    ULONG reservedSeen = 0xFFFFFFFFu;
    bool handedNull = false;
    AppExtInfo* releasedRecord = nullptr;
};

}  // namespace kestrum::testing
