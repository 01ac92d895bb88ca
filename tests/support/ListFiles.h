#pragma once
// The plainest listing of a folder, the reference the message folder's
// one-pass reader is checked against: one directory entry after another,
// links followed, folders and hidden names left out, names matched with the
// file layer's pattern and ordered ignoring letter case.

#include "platform/FileSystem.h"
#include "platform/NativeName.h"

#include <QStringList>

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>

namespace vm::test {

inline QStringList listFiles(const QString& folder, const QString& pattern)
{
    QStringList names;
    DIR* dir = ::opendir(platform::nativeName(folder).constData());
    if (!dir)
        return names;
    const QByteArray base = platform::nativeName(folder) + '/';
    while (const dirent* entry = ::readdir(dir)) {
        struct stat st {};
        if (entry->d_name[0] != '.' && ::stat((base + entry->d_name).constData(), &st) == 0 && S_ISREG(st.st_mode) &&
            platform::matchesPattern(platform::nameText(entry->d_name), pattern))
            names.append(platform::nameText(entry->d_name));
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end(),
              [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    return names;
}

}  // namespace vm::test
