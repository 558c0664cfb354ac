#include "app/GuideIndex.h"

#include <QDir>
#include <QFile>
#include <QImage>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

using namespace orvane;

namespace {

// The guide as the program ships it, compiled in.
constexpr const char *kRoot = ":/guide/";

std::string shipped(const std::string &name)
{
    QFile file(QString::fromUtf8(kRoot) + QString::fromStdString(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
}

bool isOtherSite(const std::string &target)
{
    return target.starts_with("http:") || target.starts_with("https:")
           || target.starts_with("mailto:");
}

} // namespace

TEST(Guide, EveryPageIsListedAndEveryLinkAndImageResolves)
{
    const std::vector<std::string> pages = guidePages(shipped(kGuideContentsPage));
    ASSERT_GE(pages.size(), 5u) << "the contents and its four parts at least";
    for (const QString &file : QDir(QString::fromUtf8(kRoot)).entryList({"*.html"}))
        EXPECT_NE(std::find(pages.begin(), pages.end(), file.toStdString()), pages.end())
            << file.toStdString() << " is in no contents";

    std::map<std::string, std::vector<std::string>> anchors;
    for (const std::string &page : pages) {
        const std::string html = shipped(page);
        ASSERT_FALSE(html.empty()) << page << " is listed but not shipped";
        anchors[page] = guideAnchors(html);
    }
    for (const std::string &page : pages) {
        for (const GuideLink &link : guideLinks(shipped(page))) {
            const std::string where = page + " -> " + link.target;
            if (isOtherSite(link.target))
                continue;
            const size_t hash = link.target.find('#');
            const std::string file = link.target.substr(0, hash);
            if (link.image) {
                EXPECT_FALSE(
                    QImage(QString::fromUtf8(kRoot) + QString::fromStdString(file)).isNull())
                    << where;
                continue;
            }
            const std::string target = file.empty() ? page : file;
            ASSERT_TRUE(anchors.contains(target)) << where << ": no such page";
            if (hash == std::string::npos)
                continue;
            const std::vector<std::string> &there = anchors[target];
            EXPECT_NE(std::find(there.begin(), there.end(), link.target.substr(hash + 1)),
                      there.end())
                << where << ": no such anchor";
        }
        // The contents tree leads to every heading, so each needs an anchor.
        for (const GuideSection &section : guideSections(page, shipped(page))) {
            EXPECT_FALSE(section.title.empty()) << page;
            if (section.level > 1) {
                EXPECT_FALSE(section.anchor.empty()) << page << ": " << section.title;
            }
        }
    }
}
