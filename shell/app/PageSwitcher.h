// Which pages of the work panel show, which of them show a tab, which is the
// current one and what the status line says. The panel is a stack of 51 pages
// whose tabs are normally hidden: commands and the job wizard show the pages
// they need and move between them with their own buttons; only the settings
// page comes with a tab the user can click.
#pragma once

#include <array>
#include <cstddef>
#include <initializer_list>
#include <string>
#include <vector>

#include "shell/app/Pages.h"

namespace calvoro {

class PageSwitcher {
public:
    // VisPagine: shows the listed pages without tabs and keeps the list; the
    // current page stays when it is listed, otherwise the first listed page
    // becomes current. page::kHide hides the panel and forgets the list;
    // page::kShowKept shows the kept list again (or hides the panel when none is
    // kept). Page numbers outside the panel are ignored.
    void VisPagine(std::initializer_list<int> pages) { VisPagine(std::vector<int>(pages)); }
    void VisPagine(const std::vector<int>& pages);
    // VisPagina: shows one page with its tab, or hides the panel for page::kHide.
    void VisPagina(int page);
    // ShowAside: a page the user opens beside the work (layers, grid, snap),
    // shown with its tab like VisPagina; CloseAside brings back the kept
    // pages and the one of them that was current, so a job's step or a
    // command's page is not lost by a look at the layers.
    void ShowAside(int page);
    void CloseAside();
    // Makes a page current without changing what shows (the wizard's Next and
    // Back; the NC page may be reached this way though it is not listed).
    void SetCurrent(int page);

    bool PanelShown() const { return panelShown_; }
    bool Visible(int page) const { return Valid(page) && visible_[static_cast<std::size_t>(page)]; }
    bool TabVisible(int page) const { return Valid(page) && tabVisible_[static_cast<std::size_t>(page)]; }
    int Current() const { return current_; }
    const std::vector<int>& KeptPages() const { return kept_; }
    // The page message table's text for the status line after a switch.
    const std::string& StatusText() const { return status_; }

    static bool Valid(int page) { return page >= 0 && page < page::kCount; }

private:
    void HideAll();
    void ShowList(const std::vector<int>& pages);

    std::array<bool, page::kCount> visible_{};
    std::array<bool, page::kCount> tabVisible_{};
    std::vector<int> kept_;
    bool panelShown_ = false;
    int current_ = 0;
    int currentBeforeAside_ = -1;
    std::string status_;
};

}  // namespace calvoro
