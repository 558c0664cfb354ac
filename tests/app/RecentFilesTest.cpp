#include "app/RecentFiles.h"

#include "support/FakeSettings.h"

#include <gtest/gtest.h>

using namespace orvane;
using namespace orvane::test;

TEST(RecentFiles, NewestFirstOnceAndNoMoreThanTheMenuShows)
{
    FakeSettings settings;
    RecentFiles recent(settings);
    for (int k = 1; k <= 10; ++k)
        recent.remember("/boats/" + std::to_string(k) + ".CFG");
    recent.remember("/boats/5.CFG");
    recent.forget("/boats/9.CFG");

    const std::vector<std::string> expected = {"/boats/5.CFG",
                                               "/boats/10.CFG",
                                               "/boats/8.CFG",
                                               "/boats/7.CFG",
                                               "/boats/6.CFG",
                                               "/boats/4.CFG",
                                               "/boats/3.CFG"};
    EXPECT_EQ(recent.files(), expected);
    EXPECT_EQ(RecentFiles(settings).files(), expected) << "the next run reads the same list";

    // A list left by hand or by another version is cleaned on the way in.
    settings.values[RecentFiles::kSettingsKey]
        = {"", "/a.CFG", "/a.CFG", "/b.CFG", "/c", "/d", "/e", "/f", "/g", "/h", "/i"};
    EXPECT_EQ(RecentFiles(settings).files(),
              (std::vector<std::string>{"/a.CFG", "/b.CFG", "/c", "/d", "/e", "/f", "/g", "/h"}));
}

TEST(RecentFiles, OnlyConfigurationFilesByName)
{
    for (const char *name : {"/x/BOAT.CFG", "boat.cfg", "/x/a.Cfg"})
        EXPECT_TRUE(isConfigFileName(name)) << name;
    for (const char *name : {".CFG", "/x/BOAT.CFG.bad", "/x/BOAT.TXT", "CFG", ""})
        EXPECT_FALSE(isConfigFileName(name)) << name;
}
