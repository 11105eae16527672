#pragma once

#include "core/Result.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QUrl>
#include <curl/curl.h>
#include <memory>

namespace halcyra {

// How the connection is made: where to, how it is protected and who signs on.
struct SmtpConnection
{
    QUrl url;
    bool encrypted = true;
    QString caFile; // empty: the system's certificates
    QString user;   // empty: no login
    QString password;
};

// One submission of one message to a mail server: the connection, the envelope, the headers
// and the MIME parts are set in turn, then `perform` sends it. Closing the transfer (or
// destroying it) signs off.
class SmtpTransfer
{
public:
    SmtpTransfer();
    SmtpTransfer(const SmtpTransfer&) = delete;
    SmtpTransfer& operator=(const SmtpTransfer&) = delete;

    // False when no transfer could be set up at all.
    bool isOpen() const { return m_curl != nullptr; }

    void connectTo(const SmtpConnection& connection);
    // `from` and `to` in angle brackets, as the server gets them.
    void setEnvelope(const QByteArray& from, const QByteArray& to);
    void setHeaders(const QList<QByteArray>& lines);
    void addText(const QByteArray& crlfBody);
    // A file part; fails when the file cannot be taken.
    Status addFile(const QString& path, const QByteArray& plainName,
                   const QByteArray& dispositionLine, const QByteArray& contentType);

    CURLcode perform();
    // What the server or the library said about the last failure; may be empty.
    QString detail() const;
    void close() { m_curl.reset(); }

private:
    struct Deleter
    {
        void operator()(CURL* curl) const { curl_easy_cleanup(curl); }
        void operator()(curl_slist* list) const { curl_slist_free_all(list); }
        void operator()(curl_mime* mime) const { curl_mime_free(mime); }
    };
    using List = std::unique_ptr<curl_slist, Deleter>;

    static void append(List& list, const QByteArray& line);
    curl_mime* mime();

    // What the transfer uses must outlive the handle, whose clean-up still signs off: the
    // handle is declared last, so it goes first.
    char m_detail[CURL_ERROR_SIZE] = {};
    List m_recipients;
    List m_headers;
    std::unique_ptr<curl_mime, Deleter> m_mime;
    std::unique_ptr<CURL, Deleter> m_curl;
};

} // namespace halcyra
