#include "NewMessageFile.h"

#include "platform/FileSystem.h"
#include "platform/RuntimeError.h"

namespace vm::mailbox {

namespace {
constexpr int kSecondsTried = 3600;
}

QString createMessageFile(const QString& folder, const std::function<QString(const QDateTime&)>& nameAt,
                          const QDateTime& moment, const platform::FileContent& content)
{
    for (int second = 0; second < kSecondsTried; ++second) {
        QString path = folder + nameAt(moment.addSecs(second));
        try {
            platform::createNewFile(path, content);
            return path;
        } catch (const platform::RuntimeError& e) {
            if (e.number() != platform::err::FileAlreadyExists)
                throw;
        }
    }
    platform::raiseError(platform::err::FileAlreadyExists);
}

}  // namespace vm::mailbox
