#pragma once
// Box numbers are compared ignoring letter case, in every lookup and sort.
// Both use the same folded form, so a lookup index and a plain scan can
// never disagree: each UTF-16 code unit is replaced by its simple case
// folding. Folding unit by unit keeps the length, so positions found in the
// folded text are positions in the original.

#include <QString>

#include <algorithm>

namespace vm::mailbox {

// One code unit case-folded.
inline char16_t foldCaseUnit(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x80)
        return (u >= u'A' && u <= u'Z') ? static_cast<char16_t>(u + (u'a' - u'A')) : u;
    return c.toCaseFolded().unicode();
}

// The text with every code unit case-folded. Text that folding leaves
// unchanged is returned shared, without a copy.
QString foldCase(const QString& text);

// The order of folded Ids in a sort: code unit by code unit, a text before
// every longer one it begins (the empty Id first).
inline bool foldedKeyGreater(const QString& x, const QString& y)
{
    const qsizetype n = std::min(x.size(), y.size());
    const QChar* a = x.constData();
    const QChar* b = y.constData();
    for (qsizetype k = 0; k < n; ++k)
        if (a[k] != b[k])
            return a[k].unicode() > b[k].unicode();
    return x.size() > y.size();
}

}  // namespace vm::mailbox
