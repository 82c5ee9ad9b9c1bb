#include "framework/controls.h"

namespace kestrum {

std::string CListCtrl::GetItemText(int nItem, int nSubItem) const {
    // The control copies at most the buffer; grow until the text fits.
    std::string text(256, '\0');
    for (;;) {
        LVITEMA item{};
        item.iSubItem = nSubItem;
        item.pszText = text.data();
        item.cchTextMax = static_cast<int>(text.size());
        const auto length = static_cast<std::size_t>(
            SendMessage(LVM_GETITEMTEXTA, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(&item)));
        if (length + 1 < text.size()) {
            text.resize(length);
            return text;
        }
        text.resize(text.size() * 2);
    }
}

std::string CTreeCtrl::GetItemText(HTREEITEM hItem) const {
    std::string text(256, '\0');
    for (;;) {
        TVITEMA item{};
        item.mask = TVIF_TEXT;
        item.hItem = hItem;
        item.pszText = text.data();
        item.cchTextMax = static_cast<int>(text.size());
        if (!SendMessage(TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) return {};
        if (item.pszText != text.data()) return item.pszText ? std::string(item.pszText) : std::string();
        const std::size_t length = std::char_traits<char>::length(text.c_str());
        if (length + 1 < text.size()) {
            text.resize(length);
            return text;
        }
        text.resize(text.size() * 2);
    }
}

}  // namespace kestrum
