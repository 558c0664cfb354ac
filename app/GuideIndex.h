#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

// The user's guide as the help window shows it: the pages the contents page
// lists, each page's headings (the contents tree) and the text under each
// heading (what the search box looks through). Plain HTML of the guide's own
// pages, read without a browser.

namespace orvane {

inline constexpr const char *kGuideContentsPage = "index.html";

struct GuideSection
{
    std::string page;   // "everyday-work.html"
    std::string anchor; // the heading's <a name>; empty for the page's title
    std::string title;
    int level = 1;    // 1 for the page's title (h1), 2 and 3 below it
    std::string text; // the words under the heading, up to the next one
};

struct GuideLink
{
    std::string target; // as written: "images/main.png", "page.html#anchor"
    bool image = false;
};

struct HtmlTag
{
    std::string name; // lower case, without "/"
    bool closing = false;
    std::map<std::string, std::string> attributes; // names in lower case
};

// Calls `onTag` for each tag and `onText` for the text between them, its
// entities decoded, outside comments and the page's head.
void scanGuideHtml(const std::string &html,
                   const std::function<void(const HtmlTag &)> &onTag,
                   const std::function<void(const std::string &)> &onText);

// Appends `text` with runs of blanks made one, as a browser shows them.
void appendShownText(std::string &to, const std::string &text);

// Headings h1 to h3 split the page; text before the first heading is left out.
std::vector<GuideSection> guideSections(const std::string &page, const std::string &html);

// Every link (a href) and image (img src) in the page.
std::vector<GuideLink> guideLinks(const std::string &html);

// Every place a link can point at: <a name="..."> and id="...".
std::vector<std::string> guideAnchors(const std::string &html);

// The pages the contents page links to, in its order, each once: the
// contents page first, links to other sites and within the page left out.
std::vector<std::string> guidePages(const std::string &contentsHtml);

// The sections whose title and text together hold every word of the query,
// whatever the case, best first (words in the title, then how often the
// words occur). Indices into `sections`; none for a query without words.
std::vector<size_t> searchGuide(const std::vector<GuideSection> &sections,
                                const std::string &query);

} // namespace orvane
