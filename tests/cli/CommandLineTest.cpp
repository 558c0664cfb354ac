#include "cli/Arguments.h"
#include "cli/CategoryNames.h"
#include "cli/Help.h"
#include "cli/JsonOutput.h"
#include "cli/Progress.h"
#include "cli/ProvisionCommand.h"

#include <gtest/gtest.h>

#include <sstream>

namespace orvane::cli {
namespace {

Result<Invocation> parse(std::initializer_list<const char *> words)
{
    return parseArguments(std::vector<std::string>(words.begin(), words.end()));
}

TEST(CommandLine, OptionsMayComeAnywhereInEitherSpelling)
{
    const auto upload = parse({"upload", "BOAT.CFG", "--port=COM3", "--only", "damping", "--yes"});
    ASSERT_TRUE(upload) << upload.error();
    EXPECT_EQ(upload->command->name, "upload");
    EXPECT_EQ(upload->port, 3);
    EXPECT_EQ(upload->only, "damping");
    EXPECT_TRUE(upload->yes);
    EXPECT_EQ(upload->operands, std::vector<std::string>{"BOAT.CFG"});

    const auto download = parse({"download", "-o", "-odd.cfg", "--port", "12", "--log", "l.txt"});
    ASSERT_TRUE(download) << download.error();
    EXPECT_EQ(download->output, "-odd.cfg");
    EXPECT_EQ(download->log, "l.txt");

    const auto dump = parse({"dump", "--port", "1", "--factory", "--", "eeprom", "-1", "4"});
    ASSERT_TRUE(dump) << dump.error();
    EXPECT_EQ(dump->operands, (std::vector<std::string>{"eeprom", "-1", "4"}));

    // A port number that is well formed but out of range is the command's to refuse.
    const auto far = parse({"identify", "--port", "99"});
    ASSERT_TRUE(far);
    EXPECT_EQ(far->port, 99);
}

TEST(CommandLine, CommandLinesThatDoNotFitAreUsageErrors)
{
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{}, "No command"},
        {{"--port", "1"}, "goes after a command"},
        {{"identify", "--port"}, "needs a value"},
        {{"identify", "--port", "COM"}, "takes a COM number"},
        {{"identify", "--port", "1", "--port", "2"}, "given twice"},
        {{"identify", "--json=yes", "--port", "1"}, "takes no value"},
        {{"ports", "extra"}, "Usage: orvane ports"},
        {{"compare", "A.CFG", "B.CFG", "--port", "1"}, "Usage: orvane compare"},
        {{"upload", "--port", "1", "A.CFG", "--factory"}, "takes no --factory"},
        {{"download", "-o", "X.CFG"}, "needs --port"},
        {{"backup", "--log"}, "--log needs a file"},
        {{"ports", "--link-folder="}, "--link-folder needs a folder name"},
        {{"ports", "--quiet", "-v"}, "do not go together"},
        {{"help", "frobnicate"}, "\"frobnicate\" is not a command"},
        {{"read-all", "-o", "A.CFG", "--output", "B.CFG", "--port", "1"}, "given twice"},
        {{"units", "--json", "--csv"}, "do not go together"},
        {{"units", "--port", "1"}, "takes no --port"},
        {{"upload", "--port", "1", "A.CFG", "--db", "sqlite:/x"}, "takes no --db"},
        {{"provision", "--ports", "1-8", "--firmware", "3"}, "needs --product-code"},
        {{"provision", "--port", "1", "--ports", "1", "--product-code", "1", "--firmware", "3"},
         "takes no --port"},
    };
    for (const auto &[words, says] : cases) {
        const auto parsed = parseArguments(words);
        ASSERT_FALSE(parsed) << says;
        EXPECT_NE(parsed.error().find(says), std::string::npos) << parsed.error();
    }
}

// ORVANE_PORT and ORVANE_LINK_FOLDER fill in what the command line leaves out,
// only where the command takes it.
TEST(CommandLine, TheEnvironmentGivesDefaults)
{
    const Defaults defaults{"COM4", "/links"};
    const auto identify = parseArguments({"identify"}, defaults);
    ASSERT_TRUE(identify) << identify.error();
    EXPECT_EQ(identify->port, 4);
    EXPECT_TRUE(identify->portFromEnvironment);
    EXPECT_EQ(identify->linkFolder, "/links");

    const auto given = parseArguments({"identify", "--port", "2", "--link-folder", "d"}, defaults);
    ASSERT_TRUE(given);
    EXPECT_EQ(given->port, 2);
    EXPECT_EQ(given->linkFolder, "d");
    // Two files are compared without the instrument, and ports takes no port.
    const auto files = parseArguments({"compare", "A.CFG", "B.CFG"}, defaults);
    ASSERT_TRUE(files) << files.error();
    EXPECT_FALSE(files->port);
    EXPECT_FALSE(parseArguments({"ports"}, defaults)->port);
    EXPECT_NE(parseArguments({"identify"}, {"seven", {}}).error().find("ORVANE_PORT takes"),
              std::string::npos);

    // "help COMMAND" is the command's --help, which needs none of its options.
    const auto help = parseArguments({"help", "upload"});
    ASSERT_TRUE(help);
    EXPECT_TRUE(help->help);
    EXPECT_EQ(help->command->name, "upload");
}

TEST(CommandLine, CategoriesByNameWithinWhatTheCommandAllows)
{
    Selection all;
    all.fill(1);
    const auto two = parseCategories("race-timers,configurations", all);
    ASSERT_TRUE(two);
    Selection expected{};
    expected[size_t(categoryIndex(Category::RaceTimers))] = 1;
    expected[size_t(categoryIndex(Category::DisplayConfigurations))] = 1;
    EXPECT_EQ(*two, expected);
    EXPECT_EQ(categoryList(expected), "configurations, race-timers");

    Selection damping{};
    damping[size_t(categoryIndex(Category::DisplayDamping))] = 1;
    EXPECT_EQ(*parseCategories("all", damping), damping);
    EXPECT_NE(parseCategories("configurations", damping).error().find("cannot be chosen"),
              std::string::npos);
    EXPECT_NE(parseCategories("damping,", all).error().find("\"\" is not a category"),
              std::string::npos);
    EXPECT_NE(parseCategories("Damping", all).error().find("\"Damping\""), std::string::npos);
    for (size_t i = 0; i < kCategoryNames.size(); ++i)
        EXPECT_TRUE(parseCategories(kCategoryNames[i], all)) << kCategoryNames[i];
}

TEST(CommandLine, PortListsNameEachComNumberOnce)
{
    EXPECT_EQ(*parsePortList("1-8"), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(*parsePortList("7,1-3"), (std::vector<int>{1, 2, 3, 7}));
    EXPECT_EQ(*parsePortList("16"), (std::vector<int>{16}));
    const std::pair<const char *, const char *> refused[] = {
        {"", "\"\" is not a COM number"},
        {"0-3", "\"0-3\" is not"},
        {"1-17", "\"1-17\" is not"},
        {"4-2", "the range 4-2 runs backwards"},
        {"1-3,3", "COM3 is named twice"},
        {"1,,2", "\"\" is not"},
        {"COM1", "\"COM1\" is not"},
    };
    for (const auto &[text, says] : refused) {
        const auto parsed = parsePortList(text);
        ASSERT_FALSE(parsed) << text;
        EXPECT_NE(parsed.error().find(says), std::string::npos) << parsed.error();
    }
}

TEST(CommandLine, JsonStringsAreEscaped)
{
    const DifferenceReport report
        = {{"a\"b\\c", {"line\r\nnext\t\x01", "100.0 \xE2\x86\x92 105.7"}}};
    EXPECT_EQ(
        jsonLine(reportJson(report)),
        "{\"groups\":[{\"category\":\"a\\\"b\\\\c\",\"differences\":["
        "\"line\\r\\nnext\\t\\u0001\",\"100.0 \xE2\x86\x92 105.7\"]}],\"identical\":false}\n");
    EXPECT_EQ(jsonLine(reportJson({})), "{\"groups\":[],\"identical\":true}\n");
}

TEST(CommandLine, ProgressBarFitsTheTerminal)
{
    EXPECT_EQ(progressBar(50, "writing", 80), "[###############...............]  50%  writing");
    EXPECT_EQ(progressBar(150, "", 80).substr(0, 32), "[##############################]");
    EXPECT_EQ(progressBar(-5, "x", 80).substr(0, 2), "[.");
    EXPECT_EQ(progressBar(10, std::string(200, 'w'), 60).size(), 59u);
}

// The manual page is made from --help: each text must keep its layout, and
// every option a command takes must be described in its text.
TEST(CommandLine, HelpDescribesEveryCommandAndOptionInTheManualPageLayout)
{
    const auto checkLayout = [](const std::string &text, const std::string &usage) {
        EXPECT_EQ(text.rfind("Usage: " + usage, 0), 0u) << text;
        std::istringstream lines(text);
        std::string line;
        while (std::getline(lines, line))
            EXPECT_LE(line.size(), 80u) << line;
        EXPECT_NE(text.find("\nExit status:\n"), std::string::npos);
    };
    const std::string program = programHelp("9.9.9");
    checkLayout(program, "orvane COMMAND");
    for (const CommandSpec &command : commandSpecs()) {
        EXPECT_NE(program.find("\n  " + std::string(command.name) + " "), std::string::npos)
            << command.name;
        if (command.name == "help")
            continue;
        const std::string text = commandHelp(command);
        checkLayout(text, "orvane " + std::string(command.name));
        const std::pair<unsigned, const char *> options[] = {
            {kPort, "--port N"},
            {kOutput, "-o, --output"},
            {kOnly, "--only"},
            {kJson, "--json"},
            {kYes, "--yes"},
            {kFactory, "--factory"},
            {kFull, "--full"},
            {kBase, "--base"},
            {kCsv, "--csv"},
            {kDb, "--db URL"},
            {kSince, "--since DATE"},
            {kSerial, "--serial S"},
        };
        for (const auto &[option, name] : options)
            EXPECT_EQ(text.find(std::string("\n  ") + name) != std::string::npos,
                      (command.options & option) != 0)
                << command.name << " " << name;
    }

    // The manual page's text names everything there is to know.
    const std::string reference = referenceHelp("9.9.9");
    checkLayout(reference, "orvane COMMAND");
    for (const char *heading : {"Commands:",
                                "Options:",
                                "Categories (for --only):",
                                "Memories (for dump):",
                                "Environment:",
                                "Files:",
                                "Examples:",
                                "See also:"})
        EXPECT_NE(reference.find(std::string("\n") + heading + "\n"), std::string::npos) << heading;
    for (const CommandSpec &command : commandSpecs())
        EXPECT_NE(reference.find("\n  orvane " + std::string(command.name) + " "),
                  std::string::npos)
            << command.name;
    for (const OptionSpec &option : optionSpecs())
        EXPECT_NE(reference.find("--" + std::string(option.name) + " "), std::string::npos)
            << option.name;
    for (const std::string_view name : kCategoryNames)
        EXPECT_NE(reference.find("\n  " + std::string(name) + " "), std::string::npos) << name;
    for (const char *memory : {"iram", "xram", "nvm", "eeprom", "flash"})
        EXPECT_NE(reference.find(std::string("\n  ") + memory + " "), std::string::npos);
}

} // namespace
} // namespace orvane::cli
