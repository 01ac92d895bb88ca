#include "ErrorCategory.h"

#include "FailSafeState.h"

#include <limits>

namespace vm::failsafe {

namespace {

struct Row {
    std::int32_t first;
    std::int32_t last;
    int code;
};

constexpr std::int32_t kMinNumber = std::numeric_limits<std::int32_t>::min();

// Ordered rows; the first match wins. The custom-control rows of code 14 are
// split around the grid (45) and common dialog (47) rows that lie inside
// 31999..32767, so those two take precedence.
constexpr Row kRows[] = {
    {kMinNumber, -1, 62}, {3, 46, 2},         {50, 51, 2},        {454, 455, 2},      {47, 49, 3},
    {52, 69, 3},          {71, 76, 3},        {452, 453, 3},      {708, 708, 3},      {712, 713, 3},
    {716, 716, 3},        {719, 719, 3},      {722, 722, 3},      {725, 725, 3},      {730, 731, 3},
    {91, 95, 4},          {280, 298, 5},      {260, 260, 6},      {320, 394, 6},      {400, 404, 7},
    {426, 426, 7},        {420, 425, 8},      {460, 461, 9},      {520, 521, 9},      {480, 481, 10},
    {485, 485, 10},       {482, 484, 11},     {709, 711, 12},     {714, 715, 12},     {717, 718, 12},
    {720, 721, 12},       {723, 724, 12},     {726, 729, 12},     {732, 785, 12},     {429, 430, 13},
    {432, 432, 13},       {438, 438, 13},     {440, 440, 13},     {442, 443, 13},     {445, 451, 13},
    {458, 458, 13},       {30000, 30019, 45}, {32001, 32015, 45}, {20476, 20478, 47}, {24574, 24574, 47},
    {28660, 28671, 47},   {32751, 32766, 47}, {31999, 32000, 14}, {32016, 32750, 14}, {32767, 32767, 14},
    {457, 457, 46},       {600, 646, 46},     {2420, 2448, 54},   {3000, 3005, 54},   {3007, 3007, 54},
    {3010, 3044, 54},     {3047, 3049, 54},   {3053, 3185, 54},   {3190, 3195, 54},   {3198, 3210, 54},
    {3213, 3217, 54},     {3219, 3224, 54},   {3226, 3259, 54},   {3262, 3451, 54},   {3454, 3454, 54},
    {3462, 3462, 54},     {3608, 3622, 54},   {31003, 31004, 57}, {31006, 31009, 57}, {31017, 31019, 57},
    {31021, 31024, 57},   {31026, 31029, 57}, {31031, 31039, 57}, {3006, 3006, 59},   {3008, 3009, 59},
    {3045, 3046, 59},     {3050, 3052, 59},   {3186, 3189, 59},   {3196, 3197, 59},   {3211, 3212, 59},
    {3218, 3218, 59},     {3225, 3225, 59},   {3260, 3261, 59},   {70, 70, 60},       {3452, 3453, 63},
    {3455, 3461, 63},     {3463, 3463, 63},   {3465, 3465, 63},   {3472, 3472, 63},   {3485, 3492, 63},
    {3499, 3499, 63},     {3510, 3510, 63},   {3515, 3515, 63},   {3520, 3520, 63},   {3532, 3533, 63},
    {3545, 3546, 63},     {3548, 3550, 63},   {3552, 3553, 63},   {3559, 3561, 63},   {3566, 3566, 63},
    {3569, 3569, 63},     {3572, 3572, 63},   {3574, 3577, 63},   {3584, 3584, 63},   {3592, 3595, 63},
    {3605, 3605, 63},     {3607, 3607, 63},   {3626, 3626, 63},   {35600, 35618, 64}, {40000, 40059, 65},
    {40500, 40516, 66},
};

constexpr int kUserDefined = 15;

}  // namespace

int errorCategory(std::int32_t number)
{
    for (const Row& row : kRows) {
        if (number >= row.first && number <= row.last)
            return row.code;
    }
    return kUserDefined;
}

QString categoryName(int code)
{
    switch (code) {
        case 2: return QStringLiteral("General run-time");
        case 3: return QStringLiteral("File System (disk, directory or file) access");
        case 4: return QStringLiteral("Non-initialzed object or variant");
        case 5: return QStringLiteral("Dynamic Data Exchange protocol");
        case 6: return QStringLiteral("Form, control, property or object value");
        case 7: return QStringLiteral("Form or MDI child form");
        case 8: return QStringLiteral("Object reference");
        case 9: return QStringLiteral("Clipboard access or format");
        case 10: return QStringLiteral("Picturebox or image control");
        case 11: return QStringLiteral("Printer access");
        case 12: return QStringLiteral("Design-time");
        case 13: return QStringLiteral("Object Linking and Embedding");
        case 14: return QStringLiteral("Custom Control or user defined");
        case 15: return QStringLiteral("User defined ");
        case 45: return QStringLiteral("Grid control");
        case 46: return QStringLiteral("ODBC");
        case 47: return QStringLiteral("Common Dialog");
        case 54: return QStringLiteral("Data Access");
        case 56: return QStringLiteral("Object");
        case 57: return QStringLiteral("OLE Container Control");
        case 59: return QStringLiteral("ODBC Network");
        case 60: return QStringLiteral("Network ");
        case 62: return QStringLiteral("Remote OLE Automation");
        case 63: return QStringLiteral("Replication");
        case 64: return QStringLiteral("Windows 95 Custom Control");
        case 65: return QStringLiteral("Remote Data Object (RDO)");
        case 66: return QStringLiteral("Remote Data Control (RDC)");
        default: return QStringLiteral("Unknown Error Class");
    }
}

QString categoryText(std::int32_t number) { return categoryName(errorCategory(number)) + message(16); }

}  // namespace vm::failsafe
