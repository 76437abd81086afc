// The man page and --help name every command, option and set key that lcx3 takes.
#include <gtest/gtest.h>

#include <regex>

#include "calibrator/Parameters.h"
#include "cli/CommandTable.h"
#include "tests/cli/Lcx3Process.h"

namespace vadero::cli {
namespace {

// The page as it reads: without font changes, with plain hyphens.
std::string ManPage() {
    std::string page = test::Slurp(LCX3_MAN_PAGE);
    page = std::regex_replace(page, std::regex(R"(\\f[BIRP])"), "");
    return std::regex_replace(page, std::regex(R"(\\-)"), "-");
}

// "mem-020mA-3" is documented as "mem-020mA-N".
std::string Family(const std::string& key) {
    return key.rfind("mem-", 0) == 0 ? key.substr(0, key.size() - 1) + "N" : key;
}

TEST(Documentation, NamesEveryCommandOptionAndKey) {
    const std::string page = ManPage();
    test::Lcx3Process lcx3;
    const std::string help = lcx3.Exec("--help").out;
    const std::string setHelp = lcx3.Exec("set --help").out;
    for (const Command& c : Commands()) {
        EXPECT_TRUE(page.find(".B " + c.name + "\n") != std::string::npos ||
                    page.find(".BI " + c.name + " ") != std::string::npos)
            << c.name;
        EXPECT_NE(page.find(c.example.substr(0, c.example.find("  "))), std::string::npos)
            << c.example;
        EXPECT_NE(help.find(c.example), std::string::npos) << c.example;
    }
    for (const Parameter& row : Parameters()) {
        EXPECT_NE(page.find(Family(row.key)), std::string::npos) << row.key;
        EXPECT_NE(setHelp.find("  " + Family(row.key) + " "), std::string::npos) << row.key;
    }
    std::string every = help;
    for (const Command& c : Commands()) every += lcx3.Exec(c.name + " --help").out;
    const std::regex option("--[a-z-]+");
    for (auto it = std::sregex_iterator(every.begin(), every.end(), option);
         it != std::sregex_iterator(); ++it)
        EXPECT_NE(page.find(it->str()), std::string::npos) << it->str();
}

}  // namespace
}  // namespace vadero::cli
