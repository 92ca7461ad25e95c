#include "shell/app/PageSwitcher.h"

#include <algorithm>

#include "shell/lang/MessageTable.h"

namespace calvoro {

namespace {
const std::string& PageText(int page) {
    static const std::string none;
    return PageSwitcher::Valid(page) ? MessageTable()[static_cast<std::size_t>(page)] : none;
}
}  // namespace

void PageSwitcher::HideAll() {
    visible_.fill(false);
    tabVisible_.fill(false);
}

void PageSwitcher::ShowList(const std::vector<int>& pages) {
    for (int page : pages) visible_[static_cast<std::size_t>(page)] = true;
    if (std::find(pages.begin(), pages.end(), current_) == pages.end()) current_ = pages.front();
    panelShown_ = true;
    status_ = PageText(pages.front());
}

void PageSwitcher::VisPagine(const std::vector<int>& requested) {
    std::vector<int> pages;
    for (int page : requested)
        if (Valid(page)) pages.push_back(page);
    const bool pseudo = !requested.empty() && (requested.front() == page::kHide || requested.front() == page::kShowKept);
    if (pages.empty() && !pseudo) return;
    HideAll();
    if (requested.front() == page::kHide) {
        panelShown_ = false;
        status_.clear();
        kept_.clear();
        return;
    }
    if (requested.front() == page::kShowKept) {
        if (kept_.empty()) {
            panelShown_ = false;
            return;
        }
        ShowList(kept_);
        return;
    }
    kept_ = pages;
    ShowList(kept_);
}

void PageSwitcher::VisPagina(int page) {
    HideAll();
    if (!Valid(page)) {
        panelShown_ = false;
        status_.clear();
        return;
    }
    visible_[static_cast<std::size_t>(page)] = true;
    tabVisible_[static_cast<std::size_t>(page)] = true;
    current_ = page;
    panelShown_ = true;
    status_ = PageText(page);
}

void PageSwitcher::ShowAside(int page) {
    if (!Valid(page)) return;
    // From one aside page to another the page to come back to stays.
    const bool fromKept =
        panelShown_ && !tabVisible_[static_cast<std::size_t>(current_)] &&
        std::find(kept_.begin(), kept_.end(), current_) != kept_.end();
    if (fromKept)
        currentBeforeAside_ = current_;
    else if (!panelShown_)
        currentBeforeAside_ = -1;
    VisPagina(page);
}

void PageSwitcher::CloseAside() {
    const int back = currentBeforeAside_;
    currentBeforeAside_ = -1;
    VisPagine({page::kShowKept});
    if (panelShown_ && std::find(kept_.begin(), kept_.end(), back) != kept_.end()) {
        current_ = back;
        status_ = PageText(back);
    }
}

void PageSwitcher::SetCurrent(int page) {
    if (Valid(page)) current_ = page;
}

}  // namespace calvoro
