#include "command_line.h"

#include <gtest/gtest.h>

namespace brenik::settings {
namespace {

ParsedCommandLine Parse(std::vector<std::string> words) { return ParseCommandLine(words); }

// The command of a line that must parse; a line that does not fails the test and gives the
// default command (help), never a null dereference.
CommandLine Parsed(std::vector<std::string> words) {
    const ParsedCommandLine parsed = ParseCommandLine(words);
    EXPECT_TRUE(parsed.command) << parsed.error;
    return parsed.command.value_or(CommandLine{});
}

TEST(CommandLine, ReadsEveryCommandWithItsArguments) {
    EXPECT_EQ(Parsed({"list"}).verb, Verb::kList);

    const auto show = Parse({"show", "5"});
    ASSERT_TRUE(show.command);
    EXPECT_EQ(show.command->verb, Verb::kShow);
    EXPECT_EQ(show.command->profile, 5);

    const auto set = Parse({"set", "2", "key-red", "12"});
    ASSERT_TRUE(set.command);
    EXPECT_EQ(set.command->profile, 2);
    EXPECT_EQ(set.command->field, "key-red");
    EXPECT_EQ(set.command->value, "12");

    // A macro's actions may start with "-": only exact option words are options.
    const auto key = Parse({"key", "1", "42", "macro", "Fire", "-A, +A 5"});
    ASSERT_TRUE(key.command) << key.error;
    EXPECT_EQ(key.command->key, 42);
    EXPECT_EQ(key.command->assignment, (std::vector<std::string>{"macro", "Fire", "-A, +A 5"}));

    EXPECT_EQ(Parsed({"switch", "3"}).profile, 3);
    const auto exported = Parse({"export", "4", "C:\\p.cmp"});
    ASSERT_TRUE(exported.command);
    EXPECT_EQ(exported.command->verb, Verb::kExport);
    EXPECT_EQ(exported.command->file, "C:\\p.cmp");
    EXPECT_EQ(Parsed({"import", "1", "x.cmp"}).verb, Verb::kImport);
}

TEST(CommandLine, OptionsStandAnywhereAndHelpWins) {
    const auto parsed = Parse({"show", "--json", "1", "--timeout", "7"});
    ASSERT_TRUE(parsed.command) << parsed.error;
    EXPECT_TRUE(parsed.command->json);
    EXPECT_EQ(parsed.command->timeoutSeconds, 7);
    EXPECT_EQ(Parsed({"--timeout=9", "list"}).timeoutSeconds, 9);
    EXPECT_EQ(Parsed({"list"}).timeoutSeconds, kDefaultTimeoutSeconds);
    EXPECT_FALSE(Parsed({"list"}).json);

    for (const char* help : {"/?", "-h", "--help"}) {
        const auto parsed = Parse({"set", "9", help});  // a bad command line still gets the help
        ASSERT_TRUE(parsed.command) << help;
        EXPECT_EQ(parsed.command->verb, Verb::kHelp) << help;
    }
    EXPECT_EQ(Parsed({"help"}).verb, Verb::kHelp);
}

TEST(CommandLine, ForceIsAnOptionLikeTheOthers) {
    EXPECT_FALSE(Parsed({"export", "1", "p.cmp"}).force);
    const CommandLine forced = Parsed({"export", "--force", "1", "p.cmp"});
    EXPECT_TRUE(forced.force);
    EXPECT_EQ(forced.file, "p.cmp");
    EXPECT_FALSE(Parse({"export", "1", "p.cmp", "--forced"}).command);
}

TEST(CommandLine, RefusesWrongAritiesNumbersAndOptions) {
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"frobnicate"},
        {"list", "1"},
        {"show"},
        {"show", "1", "2"},
        {"show", "0"},
        {"show", "6"},
        {"show", "0x1"},
        {"show", "one"},
        {"set", "1", "key-red"},
        {"set", "1", "key-red", "1", "2"},
        {"key", "1", "5"},
        {"key", "1", "0", "standard"},
        {"key", "1", "43", "standard"},
        {"switch"},
        {"export", "1"},
        {"import", "1", "a", "b"},
        {"list", "--timeout"},
        {"list", "--timeout", "0"},
        {"list", "--timeout", "3601"},
        {"list", "--timeout=abc"},
        {"list", "--jason"},
    };
    for (const auto& words : bad) {
        const auto parsed = Parse(words);
        std::string line;
        for (const auto& w : words) line += w + " ";
        EXPECT_FALSE(parsed.command) << line;
        EXPECT_FALSE(parsed.error.empty()) << line;
    }
    EXPECT_NE(Parse({"show", "7"}).error.find("1..5"), std::string::npos);
    EXPECT_NE(Parse({"set", "1"}).error.find("set P FIELD VALUE"), std::string::npos);
}

TEST(CommandLine, HelpNamesEveryEditableFieldAndTheExitStatuses) {
    const std::string help = HelpText();
    for (const char* name : {"key-red", "lock-caps-lock", "repeat-speed", "media-player", "key-assignments", "name"}) {
        EXPECT_NE(help.find(name), std::string::npos) << name;
    }
    EXPECT_EQ(help.find("fn-status"), std::string::npos) << "not editable, so not offered";
    EXPECT_NE(help.find("on|off                  every key, when turned on"), std::string::npos) << help;
    for (const char* status : {"0 done", "2 usage", "3 refused", "4 monitor", "5 no answer", "6 written, not\nannounced",
                               "7 lost"}) {
        EXPECT_NE(help.find(status), std::string::npos) << status;
    }
}

}  // namespace
}  // namespace brenik::settings
