#include "framework/headless/item_list.h"

#include <cstring>

#include "framework/api.h"
#include "framework/controls/list_order.h"

namespace fw::headless::detail {

int CompareNoCase(std::string_view a, std::string_view b) {
    return CompareListTexts(a, b);
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (prefix.size() > text.size()) {
        return false;
    }
    return CompareListWeights(text.substr(0, prefix.size()), prefix, false) == 0;
}

ListItem ItemList::FromParam(LPARAM lParam) const {
    ListItem item;
    if (m_hasStrings) {
        item.text = lParam != 0 ? reinterpret_cast<const char*>(lParam) : "";
    } else {
        item.data = static_cast<ULONG_PTR>(lParam);
    }
    return item;
}

int ItemList::Add(LPARAM lParam, const std::function<int(ULONG_PTR, ULONG_PTR)>& compareData) {
    ListItem item = FromParam(lParam);
    if (!m_sorted || m_items.empty()) {
        m_items.push_back(std::move(item));
        return Count() - 1;
    }
    // An item after the last one goes to the end, as the search below would
    // place it; lists filled in their own order take one comparison a line.
    if (m_hasStrings && CompareNoCase(m_items.back().text, item.text) < 0) {
        m_items.push_back(std::move(item));
        return Count() - 1;
    }
    // The binary search of user32: an equal item found on the way takes the
    // new one in front of it.
    int low = 0;
    int high = Count() - 1;
    while (low <= high) {
        int middle = (low + high) / 2;
        int order = m_hasStrings ? CompareNoCase(At(middle).text, item.text)
                                 : (compareData ? compareData(At(middle).data, item.data) : -1);
        if (order == 0) {
            low = middle;
            break;
        }
        if (order > 0) {
            high = middle - 1;
        } else {
            low = middle + 1;
        }
    }
    m_items.insert(m_items.begin() + low, std::move(item));
    return low;
}

int ItemList::Insert(int index, LPARAM lParam) {
    if (index == -1) {
        index = Count();
    }
    if (index < 0 || index > Count()) {
        return LB_ERR;
    }
    m_items.insert(m_items.begin() + index, FromParam(lParam));
    return index;
}

int ItemList::Find(int start, LPARAM lParam, bool exact) const {
    int count = Count();
    if (count == 0) {
        return LB_ERR;
    }
    if (start < -1 || start >= count) {
        start = -1;
    }
    std::string_view wanted;
    if (m_hasStrings) {
        if (lParam == 0) {
            return LB_ERR;
        }
        wanted = reinterpret_cast<const char*>(lParam);
    }
    for (int step = 1; step <= count; ++step) {
        int index = (start + step) % count;
        const ListItem& item = At(index);
        bool match;
        if (!m_hasStrings) {
            match = item.data == static_cast<ULONG_PTR>(lParam);
        } else if (exact) {
            match = item.text.size() == wanted.size() && StartsWithNoCase(item.text, wanted);
        } else {
            match = StartsWithNoCase(item.text, wanted);
        }
        if (match) {
            return index;
        }
    }
    return LB_ERR;
}

int ItemList::TextLength(int index) const {
    if (!Valid(index)) {
        return LB_ERR;
    }
    return m_hasStrings ? static_cast<int>(At(index).text.size())
                        : static_cast<int>(sizeof(ULONG_PTR));
}

int ItemList::CopyText(int index, char* buffer) const {
    if (!Valid(index) || buffer == nullptr) {
        return LB_ERR;
    }
    if (!m_hasStrings) {
        std::memcpy(buffer, &At(index).data, sizeof(ULONG_PTR));
        return static_cast<int>(sizeof(ULONG_PTR));
    }
    const std::string& text = At(index).text;
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return static_cast<int>(text.size());
}

void SendDeleteItem(HWND control, UINT ctlType, int index, ULONG_PTR data) {
    Window* w = FindWin(control);
    if (w == nullptr || w->parent == nullptr) {
        return;
    }
    DELETEITEMSTRUCT item{ctlType, static_cast<UINT>(w->id), static_cast<UINT>(index), control,
                          data};
    Send(w->parent, WM_DELETEITEM, static_cast<WPARAM>(w->id), reinterpret_cast<LPARAM>(&item));
}

}  // namespace fw::headless::detail

namespace fw::api {

int CompareString(LCID, DWORD, LPCSTR a, int lengthA, LPCSTR b, int lengthB) {
    if (a == nullptr || b == nullptr) {
        return 0;
    }
    const std::string_view textA(a, lengthA < 0 ? std::strlen(a) : static_cast<size_t>(lengthA));
    const std::string_view textB(b, lengthB < 0 ? std::strlen(b) : static_cast<size_t>(lengthB));
    const int order = headless::detail::CompareNoCase(textA, textB);
    return order < 0 ? CSTR_LESS_THAN : (order == 0 ? CSTR_EQUAL : CSTR_GREATER_THAN);
}

}  // namespace fw::api
