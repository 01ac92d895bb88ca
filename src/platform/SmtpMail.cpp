#include "SmtpMail.h"

#include <curl/curl.h>

#include <algorithm>
#include <memory>

namespace vm::platform {

namespace {

struct Upload {
    QByteArray bytes;
    qsizetype at = 0;
};

size_t readUpload(char* buffer, size_t size, size_t count, void* userData)
{
    auto* upload = static_cast<Upload*>(userData);
    const qsizetype n = std::min<qsizetype>(qsizetype(size * count), upload->bytes.size() - upload->at);
    std::copy_n(upload->bytes.constData() + upload->at, n, buffer);
    upload->at += n;
    return size_t(n);
}

// Keeps the server's last refusal (a reply 4xx or 5xx): curl's own reason
// names the step ("RCPT failed: 550") but not what the server said about it.
int keepRefusal(CURL* /*handle*/, curl_infotype type, char* data, size_t size, void* userData)
{
    if (type == CURLINFO_HEADER_IN && size > 0 && (data[0] == '4' || data[0] == '5'))
        *static_cast<QString*>(userData) = QString::fromUtf8(data, qsizetype(size)).trimmed();
    return 0;
}

QByteArray urlOf(const QString& host)
{
    const QString h = host.trimmed();
    if (h.startsWith(QLatin1String("smtp://"), Qt::CaseInsensitive) ||
        h.startsWith(QLatin1String("smtps://"), Qt::CaseInsensitive))
        return h.toUtf8();
    return "smtp://" + h.toUtf8();
}

// SMTP takes lines ending CR LF; the composer writes LF.
QByteArray withCrLf(const QByteArray& text)
{
    QByteArray out = text;
    out.replace("\r\n", "\n");
    out.replace("\n", "\r\n");
    return out;
}

QByteArray angled(const QString& address)
{
    const QString a = address.trimmed();
    return a.startsWith(u'<') ? a.toUtf8() : "<" + a.toUtf8() + ">";
}

struct CurlDeleter {
    void operator()(CURL* c) const { curl_easy_cleanup(c); }
};
struct ListDeleter {
    void operator()(curl_slist* l) const { curl_slist_free_all(l); }
};

}  // namespace

QString sendSmtp(const SmtpServer& server, const QString& from, const QStringList& recipients,
                 const QByteArray& message)
{
    if (server.host.trimmed().isEmpty())
        return QStringLiteral("no SMTP server is set");
    const std::unique_ptr<CURL, CurlDeleter> curl(curl_easy_init());
    if (!curl)
        return QStringLiteral("the mail library could not start");
    std::unique_ptr<curl_slist, ListDeleter> rcpt;
    for (const QString& r : recipients)
        rcpt.reset(curl_slist_append(rcpt.release(), angled(r).constData()));

    Upload upload{withCrLf(message), 0};
    QString refusal;
    char error[CURL_ERROR_SIZE] = {};
    const QByteArray url = urlOf(server.host);
    const QByteArray mailFrom = angled(from);
    const QByteArray login = server.login.toUtf8();
    const QByteArray password = server.password.toUtf8();
    CURL* c = curl.get();
    curl_easy_setopt(c, CURLOPT_URL, url.constData());
    curl_easy_setopt(c, CURLOPT_MAIL_FROM, mailFrom.constData());
    curl_easy_setopt(c, CURLOPT_MAIL_RCPT, rcpt.get());
    curl_easy_setopt(c, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(c, CURLOPT_READFUNCTION, readUpload);
    curl_easy_setopt(c, CURLOPT_READDATA, &upload);
    curl_easy_setopt(c, CURLOPT_INFILESIZE_LARGE, curl_off_t(upload.bytes.size()));
    curl_easy_setopt(c, CURLOPT_USE_SSL, long(CURLUSESSL_TRY));
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, error);
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_TIMEOUT_MS, long(server.timeoutMs));
    curl_easy_setopt(c, CURLOPT_DEBUGFUNCTION, keepRefusal);
    curl_easy_setopt(c, CURLOPT_DEBUGDATA, &refusal);
    curl_easy_setopt(c, CURLOPT_VERBOSE, 1L);  // what feeds keepRefusal; nothing is printed
    if (!login.isEmpty()) {
        curl_easy_setopt(c, CURLOPT_USERNAME, login.constData());
        curl_easy_setopt(c, CURLOPT_PASSWORD, password.constData());
    }
    const CURLcode result = curl_easy_perform(c);
    if (result == CURLE_OK)
        return {};
    QString why = QString::fromUtf8(error).trimmed();
    if (why.isEmpty())
        why = QString::fromUtf8(curl_easy_strerror(result));
    if (!refusal.isEmpty())
        why += QStringLiteral("; the server said: ") + refusal;
    return why;
}

}  // namespace vm::platform
