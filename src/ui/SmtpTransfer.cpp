#include "ui/SmtpTransfer.h"

#include <QFile>
#include <mutex>
#include <new>

namespace halcyra {
namespace {

void initCurlOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

CURL* newHandle()
{
    initCurlOnce();
    return curl_easy_init();
}

} // namespace

SmtpTransfer::SmtpTransfer() : m_curl(newHandle())
{
    if (m_curl)
        curl_easy_setopt(m_curl.get(), CURLOPT_ERRORBUFFER, m_detail);
}

void SmtpTransfer::append(List& list, const QByteArray& line)
{
    curl_slist* grown = curl_slist_append(list.get(), line.constData());
    if (!grown)
        throw std::bad_alloc();
    (void)list.release();
    list.reset(grown);
}

void SmtpTransfer::connectTo(const SmtpConnection& connection)
{
    CURL* h = m_curl.get();
    // libcurl keeps its own copies of the texts it is given.
    curl_easy_setopt(h, CURLOPT_URL,
                     connection.url.toString(QUrl::FullyEncoded).toUtf8().constData());
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT, 20L);
    // A server that stops answering ends the transfer instead of hanging the program.
    curl_easy_setopt(h, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(h, CURLOPT_LOW_SPEED_TIME, 60L);
    curl_easy_setopt(h, CURLOPT_USE_SSL,
                     connection.encrypted ? static_cast<long>(CURLUSESSL_ALL)
                                          : static_cast<long>(CURLUSESSL_NONE));
    if (!connection.caFile.isEmpty())
        curl_easy_setopt(h, CURLOPT_CAINFO, QFile::encodeName(connection.caFile).constData());
    if (!connection.user.isEmpty()) {
        curl_easy_setopt(h, CURLOPT_USERNAME, connection.user.toUtf8().constData());
        curl_easy_setopt(h, CURLOPT_PASSWORD, connection.password.toUtf8().constData());
    }
}

void SmtpTransfer::setEnvelope(const QByteArray& from, const QByteArray& to)
{
    curl_easy_setopt(m_curl.get(), CURLOPT_MAIL_FROM, from.constData());
    append(m_recipients, to);
    curl_easy_setopt(m_curl.get(), CURLOPT_MAIL_RCPT, m_recipients.get());
}

void SmtpTransfer::setHeaders(const QList<QByteArray>& lines)
{
    for (const QByteArray& line : lines)
        append(m_headers, line);
    curl_easy_setopt(m_curl.get(), CURLOPT_HTTPHEADER, m_headers.get());
}

curl_mime* SmtpTransfer::mime()
{
    if (!m_mime)
        m_mime.reset(curl_mime_init(m_curl.get()));
    return m_mime.get();
}

void SmtpTransfer::addText(const QByteArray& crlfBody)
{
    curl_mimepart* text = curl_mime_addpart(mime());
    curl_mime_data(text, crlfBody.constData(), static_cast<size_t>(crlfBody.size()));
    curl_mime_type(text, "text/plain; charset=UTF-8");
    curl_mime_encoder(text, "quoted-printable");
}

Status SmtpTransfer::addFile(const QString& path, const QByteArray& plainName,
                             const QByteArray& dispositionLine, const QByteArray& contentType)
{
    curl_mimepart* part = curl_mime_addpart(mime());
    if (curl_mime_filedata(part, QFile::encodeName(path).constData()) != CURLE_OK)
        return fail(QStringLiteral("The file cannot be attached."));
    if (!plainName.isEmpty()) {
        curl_mime_filename(part, plainName.constData());
    } else {
        curl_slist* disposition = curl_slist_append(nullptr, dispositionLine.constData());
        if (!disposition)
            throw std::bad_alloc();
        curl_mime_headers(part, disposition, 1);
    }
    curl_mime_type(part, contentType.constData());
    curl_mime_encoder(part, "base64");
    return {};
}

CURLcode SmtpTransfer::perform()
{
    curl_easy_setopt(m_curl.get(), CURLOPT_MIMEPOST, mime());
    return curl_easy_perform(m_curl.get());
}

QString SmtpTransfer::detail() const
{
    return QString::fromUtf8(m_detail).trimmed();
}

} // namespace halcyra
