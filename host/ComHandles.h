// What a host takes over from the component and must give back: a BSTR to free,
// a result list or an interface to release, each released when its holder goes.
#pragma once

#include <kestrum/kestrum.h>

#include "Utf.h"

#include <optional>
#include <string>
#include <vector>

class OwnedBstr {
public:
    OwnedBstr() = default;
    ~OwnedBstr() { SysFreeString(value_); }
    OwnedBstr(const OwnedBstr&) = delete;
    OwnedBstr& operator=(const OwnedBstr&) = delete;
    BSTR* Out() { return &value_; }
    bool Empty() const { return value_ == nullptr; }
    std::string Utf8() const { return value_ ? ToUtf8(std::u16string_view(value_, SysStringLen(value_))) : std::string(); }

private:
    BSTR value_ = nullptr;
};

class OwnedList {
public:
    OwnedList() = default;
    ~OwnedList() {
        if (list_) list_->Release();
    }
    OwnedList(const OwnedList&) = delete;
    OwnedList& operator=(const OwnedList&) = delete;
    IBlockList** Out() { return &list_; }
    template <class T>
    std::vector<T*> Items() const {
        std::vector<T*> items;
        LONG count = 0;
        if (!list_ || FAILED(list_->GetCount(&count))) return items;
        for (INT i = 0; i < count; ++i) {
            void* item = nullptr;
            if (SUCCEEDED(list_->GetItemAt(i, &item))) items.push_back(static_cast<T*>(item));
        }
        return items;
    }

private:
    IBlockList* list_ = nullptr;
};

// An interface a query handed out.
template <class I>
class OwnedUnknown {
public:
    OwnedUnknown() = default;
    ~OwnedUnknown() {
        if (p_) p_->Release();
    }
    OwnedUnknown(const OwnedUnknown&) = delete;
    OwnedUnknown& operator=(const OwnedUnknown&) = delete;
    void** Out() { return reinterpret_cast<void**>(&p_); }
    I* Get() const { return p_; }

private:
    I* p_ = nullptr;
};

// A string getter's result: the text, or nothing when the getter fails.
template <class Getter>
std::optional<std::string> StringOf(Getter get) {
    OwnedBstr value;
    if (FAILED(get(value.Out()))) return std::nullopt;
    return value.Utf8();
}
