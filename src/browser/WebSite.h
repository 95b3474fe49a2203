#pragma once

#include <QString>

class QUrl;

// Which addresses belong to one site: the same scheme and the same registrable
// domain ("bbs.example.com.cn" and "www.example.com.cn" are one site;
// "a.github.io" and "b.github.io" are two), as the public suffix list tells.
// The list is the system's (the publicsuffix package, read through libpsl).
// A host the list gives no registrable domain (an IP address, "localhost", a
// suffix itself) is a site of its own.
namespace WebSite {

// "https://example.com.cn", "http://127.0.0.1"; empty for an address without a
// host (about:blank, data:, a file).
QString of(const QUrl& address);
// Both have a site, and it is the same one.
bool same(const QUrl& a, const QUrl& b);
// The registrable domain of `host` (lower case, ACE), or the host itself.
QString registrableDomain(const QString& host);

}  // namespace WebSite
