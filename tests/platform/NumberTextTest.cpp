#include "platform/NumberText.h"
#include "support/ErrorNumberOf.h"

#include <gtest/gtest.h>

#include <variant>

using namespace vm;

namespace {

constexpr int kMismatch = platform::err::TypeMismatch;
constexpr int kOverflow = platform::err::Overflow;

struct Case {
    const char* text;
    std::variant<double, int> expected;  // value, or error number
};

// Checks each text's value, or the run-time error its conversion raises.
template <class Convert>
void check(Convert convert, std::initializer_list<Case> cases)
{
    for (const auto& c : cases) {
        double value = 0;
        const int error = test::errorNumberOf(
            [&] { value = static_cast<double>(convert(QString::fromLatin1(c.text))); });
        const std::variant<double, int> outcome = error ? std::variant<double, int>(error) : value;
        EXPECT_EQ(outcome, c.expected) << '"' << c.text << '"';
    }
}

TEST(NumberText, StrictConversionToInt16)
{
    check(platform::textToInt16, {
                                     {"2", 2.0},           {"  300  ", 300.0},     {"\t-7", -7.0},
                                     {"+15", 15.0},        {"007", 7.0},           {"2.5", 2.0},
                                     {"3.5", 4.0},         {"-2.5", -2.0},         {".5", 0.0},
                                     {"1.", 1.0},          {"1e2", 100.0},         {"1.5E+1", 15.0},
                                     {"25e-1", 2.0},       {"1D3", 1000.0},        {"&H10", 16.0},
                                     {"&hFFFF", -1.0},     {"&O17", 15.0},         {"32767", 32767.0},
                                     {"-32768", -32768.0}, {"32767.4", 32767.0},   {"-32768.5", -32768.0},
                                     {"32768", kOverflow}, {"-32769", kOverflow},  {"32767.5", kOverflow},
                                     {"1e10", kOverflow},  {"&H10000", kOverflow}, {"1e400", kOverflow},
                                     {"", kMismatch},      {"   ", kMismatch},     {"abc", kMismatch},
                                     {"12abc", kMismatch}, {"1 2", kMismatch},     {"--1", kMismatch},
                                     {"- 1", kMismatch},   {".", kMismatch},       {"1e", kMismatch},
                                     {"e5", kMismatch},    {"&H", kMismatch},      {"&HG", kMismatch},
                                     {"&O8", kMismatch},   {"1,000", kMismatch},   {"0x10", kMismatch},
                                 });
}

TEST(NumberText, StrictConversionToDouble)
{
    check(platform::textToDouble, {
                                      {"1.25", 1.25},
                                      {" -0.5e1 ", -5.0},
                                      {"1e-400", 0.0},
                                      {"123456789012", 123456789012.0},
                                      {"&HFFFFFFFF", -1.0},
                                      {"&H10000", 65536.0},
                                      {"&H100000000", kOverflow},
                                      {"x", kMismatch},
                                  });
}

TEST(NumberText, LeadingNumber)
{
    const std::initializer_list<Case> cases = {
        {"", 0.0},        {"abc", 0.0},   {"1", 1.0},       {"-1", -1.0}, {" 1 2 3", 123.0}, {"12abc", 12.0},
        {"1.5.6", 1.5},   {"1e", 1.0},    {"1e3x", 1000.0}, {"2.5", 2.5}, {"\t\n7", 7.0},    {"&H1F", 31.0},
        {"&HFFFF", -1.0}, {"&Hxyz", 0.0}, {"+", 0.0},       {"0", 0.0},   {"-0", 0.0},       {"1e999", kOverflow},
    };
    check(platform::leadingNumber, cases);
}

}  // namespace
