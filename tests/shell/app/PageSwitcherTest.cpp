// The page switch of the work panel.
#include <gtest/gtest.h>

#include "shell/app/PageSwitcher.h"
#include "shell/lang/MessageTable.h"

namespace calvoro {
namespace {

class PageSwitcherTest : public ::testing::Test {
protected:
    void SetUp() override {
        // A page's status text is its own message: here "page" and its number.
        for (std::size_t i = 0; i < kMessageTableSize; ++i) MessageTable()[i] = "page " + std::to_string(i);
    }
    void TearDown() override {
        for (std::string& text : MessageTable()) text.clear();
    }
    PageSwitcher pages;
};

TEST_F(PageSwitcherTest, AListShowsItsPagesWithoutTabsAndKeepsTheCurrentPage) {
    const std::vector<int> steps{page::kSize, page::kReference, page::kDepth,
                                 page::kNcFile, page::kTool, page::kCutting};
    pages.VisPagine(steps);
    EXPECT_TRUE(pages.PanelShown());
    for (int page = 0; page < page::kCount; ++page) {
        EXPECT_EQ(pages.Visible(page), page >= page::kFirstStep && page <= page::kLastStep) << page;
        EXPECT_FALSE(pages.TabVisible(page)) << page;
    }
    EXPECT_EQ(pages.Current(), page::kSize);
    EXPECT_EQ(pages.StatusText(), "page 44");
    EXPECT_EQ(pages.KeptPages(), steps);
    // Listed again, the current page stays; the status names the list's first.
    pages.SetCurrent(page::kDepth);
    pages.VisPagine({page::kReference, page::kDepth});
    EXPECT_EQ(pages.Current(), page::kDepth);
    EXPECT_EQ(pages.StatusText(), "page 45");
    pages.VisPagine({page::kPocket});
    EXPECT_EQ(pages.Current(), page::kPocket);
}

TEST_F(PageSwitcherTest, PseudoPagesHideOrShowTheKeptList) {
    struct Step {
        std::vector<int> call;
        bool shown;
        std::size_t kept;
        const char* status;
    };
    const Step steps[] = {
        {{page::kShowKept}, false, 0, ""},  // nothing kept yet: the panel hides
        {{page::kTranslate, page::kPointGrid}, true, 2, "page 40"},
        {{page::kHide}, false, 0, ""},
        {{page::kShowKept}, false, 0, ""},  // 999 forgot the list
        {{page::kDelSmall}, true, 1, "page 28"},
        {{page::kShowKept}, true, 1, "page 28"},
        {{77, -1}, true, 1, "page 28"},  // no page of the panel: nothing changes, page 28 still shows
    };
    for (const Step& step : steps) {
        pages.VisPagine(step.call);
        EXPECT_EQ(pages.PanelShown(), step.shown) << step.call.front();
        EXPECT_EQ(pages.KeptPages().size(), step.kept) << step.call.front();
        EXPECT_EQ(pages.StatusText(), step.status) << step.call.front();
        EXPECT_EQ(pages.Visible(page::kDelSmall), step.kept == 1) << step.call.front();
    }
}

TEST_F(PageSwitcherTest, OnePageComesWithItsTabAndTheListStays) {
    pages.VisPagine({page::kSize, page::kReference});
    pages.VisPagina(page::kSettings);
    EXPECT_TRUE(pages.TabVisible(page::kSettings) && pages.Visible(page::kSettings));
    EXPECT_FALSE(pages.Visible(page::kSize));
    EXPECT_EQ(pages.Current(), page::kSettings);
    EXPECT_EQ(pages.StatusText(), "page 13");
    EXPECT_EQ(pages.KeptPages().size(), 2u);
    // The settings page shown again as a list of one loses its tab.
    pages.VisPagine({page::kSettings});
    EXPECT_FALSE(pages.TabVisible(page::kSettings));
    pages.VisPagina(page::kHide);
    EXPECT_FALSE(pages.PanelShown());
    EXPECT_EQ(pages.StatusText(), "");
}

}  // namespace
}  // namespace calvoro
