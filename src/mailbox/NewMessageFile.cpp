#include "NewMessageFile.h"

#include "platform/FileSystem.h"
#include "platform/RuntimeError.h"

namespace vm {

namespace {
constexpr int kSecondsTried = 3600;
}

QString createMessageFile(const QString& folder, const std::function<QString(const QDateTime&)>& nameAt,
                          const QDateTime& moment, const QByteArray& bytes)
{
    for (int second = 0; second < kSecondsTried; ++second) {
        QString path = folder + nameAt(moment.addSecs(second));
        try {
            fs::createNewFile(path, bytes);
            return path;
        } catch (const RuntimeError& e) {
            if (e.number() != err::FileAlreadyExists)
                throw;
        }
    }
    raiseError(err::FileAlreadyExists);
}

}  // namespace vm
