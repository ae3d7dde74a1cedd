#include "project/ProjectItemLines.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <regex>
#include <sstream>
#include <string_view>
#include <vector>

#include "platform/TextFile.h"

namespace tamrivo {
namespace {

using namespace std::string_literals;

struct ReadCase {
    const char* name;
    std::string bytes;
    LineList expected;
};

TEST(ReadProjectLines, TakesEveryLineThatHasALineEnd) {
    const std::vector<ReadCase> cases = {
        {"empty file", "", {}},
        {"one line without line end", "</Project>", {}},
        {"last line without line end", "a\r\n</Project>", {"a"}},
        {"CR LF ends", "a\r\nb\r\n", {"a", "b"}},
        {"LF ends", "a\nb\n", {"a", "b"}},
        {"empty last line", "a\r\n\r\n", {"a", ""}},
        {"byte-order mark", "\xEF\xBB\xBF<?xml?>\r\nb\r\n", {"\xEF\xBB\xBF<?xml?>", "b"}},
        {"CR inside a line", "a\rb\r\nc\r\r\n\rd\n", {"a\rb", "c\r", "\rd"}},
        {"bytes as they are", "\0\xff\x80\r\n"s, {"\0\xff\x80"s}},
        {"a line end across the pieces read",
         std::string(TextBufferBytes - 1, 'x') + "\r\ny\r\n" + std::string(TextBufferBytes, 'z'),
         {std::string(TextBufferBytes - 1, 'x'), "y"}},
    };
    for (const ReadCase& c : cases) {
        std::istringstream input(c.bytes);
        LineList lines;
        ReadProjectLines(input, lines);
        EXPECT_EQ(lines, c.expected) << c.name;
    }
}

TEST(ReadProjectLines, AppendsAndReadsNothingFromAFailedStream) {
    std::istringstream input("b\r\n");
    LineList lines = {"a"};
    ReadProjectLines(input, lines);
    EXPECT_EQ(lines, LineList({"a", "b"}));

    std::istringstream failed("c\r\n");
    failed.setstate(std::ios::failbit);
    ReadProjectLines(failed, lines);
    EXPECT_EQ(lines, LineList({"a", "b"}));
}

struct MatchCase {
    const char* name;
    std::string line;
    bool matches;
    std::string value;
};

TEST(MatchItemLine, RecognisesOneLineItemsOnly) {
    const std::vector<MatchCase> cases = {
        {"blank indentation", "    <ClCompile Include=\"main.cpp\" />", true, "main.cpp"},
        {"tab indentation", "\t<ClCompile Include=\"main.cpp\" />", true, "main.cpp"},
        {"header item", "    <ClInclude Include=\"a.h\" />", true, "a.h"},
        {"other item", "    <None Include=\"b.bat\" />", true, "b.bat"},
        {"path kept as it is", "    <ClCompile Include=\"..\\src\\a b.cpp\" />", true,
         "..\\src\\a b.cpp"},
        {"empty value", "    <None Include=\"\" />", true, ""},
        {"any punctuation", "    <None Include:\"a.s\" />", true, "a.s"},
        {"no escaping", "    <None Include=\"a&amp;b\" />", true, "a&amp;b"},
        {"attribute after Include", "    <ClCompile Include=\"a.cpp\" Foo=\"b\" />", true,
         "a.cpp\" Foo=\"b"},
        {"quote in value", "    <None Include=\"a\"b\" />", true, "a\"b"},
        {"no indentation", "<ClCompile Include=\"a.cpp\" />", false, ""},
        {"no blank before end", "    <ClCompile Include=\"a.cpp\"/>", false, ""},
        {"trailing blank", "    <ClCompile Include=\"a.cpp\" /> ", false, ""},
        {"text after end", "    <ClCompile Include=\"a.cpp\" /><!-- -->", false, ""},
        {"item with child elements", "    <ClCompile Include=\"a.cpp\">", false, ""},
        {"child element", "      <Filter>Lib</Filter>", false, ""},
        {"closing tag", "    </ClCompile>", false, ""},
        {"other element", "    <ResourceCompile Include=\"a.rc\" />", false, ""},
        {"element in other case", "    <clcompile Include=\"a.cpp\" />", false, ""},
        {"attribute before Include", "    <None Condition=\"x\" Include=\"a\" />", false, ""},
        {"blanks around punctuation", "    <None Include = \"a\" />", false, ""},
        {"single quotes", "    <None Include='a' />", false, ""},
        {"line end in value", "    <None Include=\"a\rb\" />", false, ""},
    };
    for (const MatchCase& c : cases) {
        std::string value = "unchanged";
        EXPECT_EQ(MatchItemLine(c.line, value), c.matches) << c.name;
        EXPECT_EQ(value, c.matches ? c.value : "unchanged") << c.name;
    }
}

// The white space and punctuation of the classic "C" locale, as the generated lines use them.
constexpr std::string_view kSpaces = " \t\n\v\f\r";
constexpr std::string_view kPunctuation = "!\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~";

const std::regex& ItemLineRegex() {
    static const std::regex expression{std::string(ItemLinePattern)};
    return expression;
}

// Whether the matcher answers as a full std::regex_match does, value included; regexMatched
// receives the regular expression's answer.
::testing::AssertionResult SameAsRegex(const std::string& line, bool& regexMatched) {
    std::smatch groups;
    regexMatched = std::regex_match(line, groups, ItemLineRegex());
    std::string value = "unchanged";
    const bool matched = MatchItemLine(line, value);
    const std::string expectedValue = regexMatched ? groups[3].str() : "unchanged";
    if (matched == regexMatched && value == expectedValue) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "line " << ::testing::PrintToString(line) << ": matcher " << matched << " "
           << ::testing::PrintToString(value) << ", regex " << regexMatched << " "
           << ::testing::PrintToString(expectedValue);
}

// One position of the pattern that takes a single character, and the bytes it accepts.
struct Slot {
    const char* name;
    std::string before;
    std::string after;
    std::function<bool(char)> accepts;
};

bool IsOneOf(std::string_view set, char c) {
    return set.find(c) != std::string_view::npos;
}

TEST(MatchItemLine, CharacterClassesAgreeWithTheRegexForEveryByte) {
    const std::vector<Slot> slots = {
        {"indentation", "", "<None Include=\"v\" />", [](char c) { return IsOneOf(kSpaces, c); }},
        {"after the name", " <None", "Include=\"v\" />",
         [](char c) { return IsOneOf(kSpaces, c); }},
        {"punctuation", " <None Include", "\"v\" />",
         [](char c) { return IsOneOf(kPunctuation, c); }},
        {"value", " <None Include=\"", "\" />", [](char c) { return c != '\n' && c != '\r'; }},
        {"before the end", " <None Include=\"v\"", "/>",
         [](char c) { return IsOneOf(kSpaces, c); }},
    };
    for (const Slot& slot : slots) {
        for (int byte = 0; byte < 256; ++byte) {
            const char c = static_cast<char>(byte);
            bool regexMatched = false;
            EXPECT_TRUE(SameAsRegex(slot.before + c + slot.after, regexMatched));
            EXPECT_EQ(regexMatched, slot.accepts(c)) << slot.name << ", byte " << byte;
        }
    }
}

// Short lines built from the eleven pieces of the pattern, each piece right or broken.
class LineGenerator {
  public:
    static constexpr std::size_t kPieceCount = 11;

    std::size_t Below(std::size_t n) {
        return std::uniform_int_distribution<std::size_t>(0, n - 1)(random_);
    }
    char Byte() { return static_cast<char>(Below(256)); }
    std::string Pick(const std::vector<std::string>& choices) {
        return choices[Below(choices.size())];
    }
    std::string Run(std::string_view chars, std::size_t least, std::size_t most) {
        std::string run;
        for (std::size_t n = least + Below(most - least + 1); n > 0; --n) {
            run += chars[Below(chars.size())];
        }
        return run;
    }

    // A value without line terminators, rich in quotes, blanks and "/>".
    std::string Value() {
        std::string value;
        for (std::size_t n = Below(6); n > 0; --n) {
            const char byte = Byte();
            value += Pick({"a", "..\\", " ", "\t", "\"", "\" />", "/>", "\0"s, "\x80", "\xff", "=",
                           "'", byte == '\n' || byte == '\r' ? "b" : std::string(1, byte)});
        }
        return value;
    }

    std::string Piece(std::size_t piece, bool broken) {
        const std::string spaces = Run(kSpaces, 1, 3);
        const std::string notSpace = Pick({"", "x", "\xa0", "\0"s, spaces + "x"});
        const std::string quote = Pick({"", "'", "''", "`", std::string(1, Byte())});
        switch (piece) {
            case 0:
            case 3:
            case 9:
                return broken ? notSpace : spaces;
            case 1:
                return broken ? Pick({"", ">", "<<", "&lt;", std::string(1, Byte())}) : "<";
            case 2:
                return broken
                           ? Pick({"", "clinclude", "CLCOMPILE", "none", "ClInclud", "ClCompiler",
                                   "Non", "NoneX", "ResourceCompile", "Cl Include", "ClInclude\0"s})
                           : Pick({"ClInclude", "ClCompile", "None"});
            case 4:
                return broken ? Pick({"", "include", "Includ", "IncludeX", "INCLUDE", "Exclude",
                                      "Include Include"})
                              : "Include";
            case 5:
                return broken ? Pick({"", "==", Run(kPunctuation, 2, 2), "a", "7", " ", "\xa0",
                                      "\0"s, std::string(1, Byte())})
                              : Run(kPunctuation, 1, 1);
            case 6:
            case 8:
                return broken ? quote : "\"";
            case 7:
                return broken ? WithLineTerminator(Value()) : Value();
            default:
                return broken ? Pick({"", "/", ">", "//>", "/ >", "\\>", "/>x", "/> ", "/>\r",
                                      "/>\n", "/>/>", "/>>"})
                              : "/>";
        }
    }

    // A line whose pieces are all right except the one numbered broken (none for kPieceCount).
    std::string Line(std::size_t broken) {
        std::string line;
        for (std::size_t piece = 0; piece < kPieceCount; ++piece) {
            line += Piece(piece, piece == broken);
        }
        return line;
    }

  private:
    std::string WithLineTerminator(std::string value) {
        value.insert(Below(value.size() + 1), 1, Below(2) == 0 ? '\n' : '\r');
        return value;
    }

    std::mt19937 random_{20240611};
};

TEST(MatchItemLine, AgreesWithTheRegexOnRightLinesAndOnEachPieceBroken) {
    LineGenerator generator;
    for (std::size_t broken = 0; broken <= LineGenerator::kPieceCount; ++broken) {
        std::size_t matches = 0;
        constexpr std::size_t kLines = 20000;
        for (std::size_t n = 0; n < kLines && !HasFailure(); ++n) {
            bool regexMatched = false;
            EXPECT_TRUE(SameAsRegex(generator.Line(broken), regexMatched));
            matches += regexMatched ? 1 : 0;
        }
        if (broken == LineGenerator::kPieceCount) {
            EXPECT_EQ(matches, kLines) << "every right line is an item line";
        } else {
            EXPECT_LT(matches, kLines / 2) << "piece " << broken << " broken";
        }
    }
}

TEST(MatchItemLine, TakesLinesOfSeveralMegabytes) {
    constexpr std::size_t kSize = 8 << 20;
    const std::string big(kSize, 'a');
    const std::string blanks(kSize, ' ');
    const std::string quoted = [] {
        std::string text;
        for (std::size_t n = 0; n < kSize / 4; ++n) {
            text += "\" />";
        }
        return text;
    }();
    const std::vector<MatchCase> cases = {
        {"long value", "    <ClCompile Include=\"" + big + "\" />", true, big},
        {"long value of quotes and ends", "    <None Include=\"" + quoted + "\" />", true, quoted},
        {"long indentation", blanks + "<None Include=\"a\" />", true, "a"},
        {"long closing white space", "    <None Include=\"a\"" + blanks + "/>", true, "a"},
        {"line end at the end of a long value", "  <None Include=\"" + big + "\r\" />", false, ""},
        {"long run of blanks", blanks, false, ""},
        {"long text after the end", "  <None Include=\"a\" />" + big, false, ""},
    };
    for (const MatchCase& c : cases) {
        std::string value = "unchanged";
        EXPECT_EQ(MatchItemLine(c.line, value), c.matches) << c.name;
        EXPECT_TRUE(value == (c.matches ? c.value : "unchanged")) << c.name;
    }
}

}  // namespace
}  // namespace tamrivo
