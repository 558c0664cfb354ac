#include "app/GuideIndex.h"

#include <gtest/gtest.h>

using namespace orvane;

namespace {

const char *const kPage = R"(<html><head><title>Not a heading</title>
<link rel="stylesheet" href="style.css"></head>
<body><p>Before any heading.</p>
<h1>First &amp; connection</h1>
<p>Plug the <b>adapter</b> in.</p>
<h2><a name="latency"></a>The latency
  timer</h2><p>Lower the timer to 1 ms.</p>
<!-- <h2>commented out</h2> -->
<h3 id="udev"><a name='rule'></a>A udev rule</h3><table><tr><td>latency</td><td>timer</td></tr></table>
<img src="images/port.png" alt="x"><a href="other.html#x">other</a>
</body></html>)";

} // namespace

TEST(GuideIndex, HeadingsSplitThePageWithTheirAnchorsAndText)
{
    const std::vector<GuideSection> sections = guideSections("p.html", kPage);

    ASSERT_EQ(sections.size(), 3u);
    EXPECT_EQ(sections[0].title, "First & connection");
    EXPECT_EQ(sections[0].anchor, "");
    EXPECT_EQ(sections[0].text, "Plug the adapter in.");
    EXPECT_EQ(sections[1].title, "The latency timer");
    EXPECT_EQ(sections[1].anchor, "latency");
    EXPECT_EQ(sections[1].level, 2);
    EXPECT_EQ(sections[2].anchor, "rule");
    EXPECT_EQ(sections[2].text, "latency timer other") << "cells do not run together";
    EXPECT_EQ(guideAnchors(kPage), (std::vector<std::string>{"latency", "udev", "rule"}));

    const std::vector<GuideLink> links = guideLinks(kPage);
    ASSERT_EQ(links.size(), 2u) << "the stylesheet in the head is no link of the page";
    EXPECT_TRUE(links[0].image);
    EXPECT_EQ(links[0].target, "images/port.png");
    EXPECT_EQ(links[1].target, "other.html#x");
}

TEST(GuideIndex, ContentsListPagesOnceInTheirOrder)
{
    EXPECT_EQ(guidePages(R"(<a href="b.html">B</a><a href="a.html#x">A</a><a href="b.html#y">B</a>
                            <a href="#top">top</a><a href="https://example.org/">site</a>)"),
              (std::vector<std::string>{"index.html", "b.html", "a.html"}));
}

TEST(GuideIndex, SearchNeedsEveryWordAndPutsTitlesFirst)
{
    const std::vector<GuideSection> sections = {
        {"a.html", "", "Uploading", 1, "The cable and the timer; the cable again."},
        {"a.html", "t", "The Latency Timer", 2, "Echo waits."},
        {"b.html", "c", "Cables", 2, "A latency timer in every cable adapter."},
    };
    struct Case
    {
        const char *query;
        std::vector<size_t> found;
    };
    const Case cases[] = {
        {"LATENCY timer", {1, 2}},
        {"cable", {2, 0}}, // in a title first, however often elsewhere
        {"cable echo", {}},
        {"  ,; ", {}},
        {"time", {1, 0, 2}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(searchGuide(sections, c.query), c.found) << c.query;
}
