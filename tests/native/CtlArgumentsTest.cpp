#include "kvmctl/CtlArguments.h"

#include <gtest/gtest.h>

#include "kvmctl/CtlProgram.h"

using ctl::parseArguments;

namespace {

struct Refused {
    std::vector<std::string> argv;
    const char* because; // a piece of the message
};

} // namespace

TEST(CtlArguments, CommandsTakeTheirOperandsOptionsAndSwitches) {
    auto parsed = parseArguments({"start", "1", "167772163", "--wait", "--timeout", "5", "--interval=2", "--text"});
    ASSERT_TRUE(parsed.arguments) << parsed.error;
    const ctl::Arguments& a = *parsed.arguments;
    EXPECT_EQ(a.command, "start");
    EXPECT_EQ(a.operands, (std::vector<std::string>{"1", "167772163"}));
    EXPECT_TRUE(a.has("--wait"));
    ASSERT_TRUE(a.option("--timeout"));
    EXPECT_EQ(*a.option("--timeout"), "5");
    EXPECT_EQ(*a.option("--interval"), "2");
    EXPECT_TRUE(a.text);

    parsed = parseArguments({"--text", "group", "add", "G", "1", "2", "--json"});
    ASSERT_TRUE(parsed.arguments) << parsed.error;
    EXPECT_EQ(parsed.arguments->command, "group");
    EXPECT_EQ(parsed.arguments->operands.size(), 4u);
    EXPECT_FALSE(parsed.arguments->text) << "the last of --text and --json counts";

    parsed = parseArguments({"rename", "1", "--", "--odd name"});
    ASSERT_TRUE(parsed.arguments) << parsed.error;
    EXPECT_EQ(parsed.arguments->operands[1], "--odd name") << "after -- every word is an operand";
}

TEST(CtlArguments, WrongCommandLinesAreRefusedWithAReason) {
    const Refused cases[] = {
        {{}, "no command"},
        {{"frobnicate"}, "unknown command"},
        {{"list", "--bogus"}, "has no option --bogus"},
        {{"list", "--line"}, "--line needs a value"},
        {{"list", "extra"}, "takes 0 operands"},
        {{"rename", "1"}, "takes 2 operands"},
        {{"clone"}, "takes 1 operand"},
        {{"start"}, "at least 1"},
        {{"group", "move", "G"}, "unknown group verb"},
        {{"group", "rename", "G"}, "group rename takes 2"},
        {{"start", "1", "--timeout", "5"}, "--timeout goes with --wait"},
        {{"remove", "1", "--yes=no"}, "has no option --yes"},
    };
    for (const Refused& c : cases) {
        const auto parsed = parseArguments(c.argv);
        EXPECT_FALSE(parsed.arguments) << c.because;
        EXPECT_NE(parsed.error.find(c.because), std::string::npos) << parsed.error;
    }
}

TEST(CtlArguments, WholeNumbersAreDigitsOnly) {
    EXPECT_EQ(ctl::parseWholeNumber("167772163"), 167772163);
    EXPECT_EQ(ctl::parseWholeNumber("-4"), -4);
    for (const char* bad : {"", "12a", " 1", "1.5", "0x10", "99999999999999999999"})
        EXPECT_FALSE(ctl::parseWholeNumber(bad)) << bad;
}

TEST(CtlReply, ErrorsHaveOneShapeAndTheirExitCode) {
    const std::pair<ctl::Exit, const char*> codes[] = {{ctl::Exit::Usage, "usage"},
                                                       {ctl::Exit::NotFound, "not_found"},
                                                       {ctl::Exit::Busy, "busy"},
                                                       {ctl::Exit::Failed, "failed"},
                                                       {ctl::Exit::Partly, "partly_done"}};
    for (const auto& [exit, code] : codes) {
        const ctl::Reply reply = ctl::Reply::error(exit, "why \"quoted\"");
        const ctl::Printed printed = ctl::printReply(reply, false);
        EXPECT_EQ(printed.exitCode, static_cast<int>(exit));
        rapidjson::Document doc;
        doc.Parse(printed.out.c_str());
        ASSERT_TRUE(doc.IsObject()) << printed.out;
        EXPECT_STREQ(doc["error"]["code"].GetString(), code);
        EXPECT_STREQ(doc["error"]["message"].GetString(), "why \"quoted\"");
    }
}

TEST(CtlReply, TextFormIsATableForListsAndUsageForBadCommandLines) {
    ctl::Reply reply;
    rapidjson::Value rows(rapidjson::kArrayType);
    for (int i : {1, 22}) {
        rapidjson::Value row(rapidjson::kObjectType);
        row.AddMember("id", i, reply.alloc());
        row.AddMember("name", ctl::jsonString(std::string_view(i == 1 ? "long name" : "b"), reply.alloc()),
                      reply.alloc());
        rows.PushBack(row, reply.alloc());
    }
    reply.add("instances", std::move(rows));
    EXPECT_EQ(reply.text(), "id  name\n1   long name\n22  b\n");

    const auto answer = ctl::answerWithoutRunning(parseArguments({"nope", "--text"}), true);
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->exitCode, 1);
    EXPECT_NE(answer->out.find("error.code: usage"), std::string::npos);
    EXPECT_NE(answer->out.find("kvmctl COMMAND"), std::string::npos);
    EXPECT_FALSE(ctl::answerWithoutRunning(parseArguments({"list"}), false)) << "a good command runs";
}

TEST(CtlProgress, LinesPerPercentStepOrOneBarRedrawnInPlace) {
    std::string lines;
    ctl::ProgressPrinter plain([&](std::string_view t) { lines += t; }, false);
    for (int p : {0, 0, 50, 50, 100}) plain.report("create", 7, p);
    EXPECT_EQ(lines, "create 7 0%\ncreate 7 50%\ncreate 7 100%\n");

    std::string bar;
    ctl::ProgressPrinter console([&](std::string_view t) { bar += t; }, true);
    console.report("clone", 1, 10);
    console.report("clone", 1, 100);
    console.report("clone", 2, 40);
    console.report("clone", 3, 0);
    EXPECT_EQ(bar.rfind("clone 1 [###   ", 0), 0u) << "the first bar starts in place";
    EXPECT_NE(bar.find("\rclone 1 [##############################] 100%\n"), std::string::npos);
    EXPECT_NE(bar.find("100%\nclone 2 ["), std::string::npos) << "a finished bar ends its line";
    EXPECT_NE(bar.find("40%\nclone 3 ["), std::string::npos) << "an unfinished one is ended by the next";
}
